// Host-internal: the Qt widget behind a window of the program's, for the host's own windows and
// controls that must parent to it, and the way back from such a widget to its window.
#pragma once

#include "host/toolkit/window.h"

namespace host {

QWidget& widgetOf(const Window& window);

// The part of a window's widget that leads back to the window. The widget classes of the frame,
// the sheet and the response window derive from it; the window cuts the link as it goes, so no
// event of its widget reaches a window half destroyed.
class WindowLink {
public:
    WindowLink() = default;
    WindowLink(const WindowLink&) = delete;
    WindowLink& operator=(const WindowLink&) = delete;
    virtual ~WindowLink() = default;

    [[nodiscard]] Window* linkedWindow() const { return window_; }
    void link(Window* window) { window_ = window; }

private:
    Window* window_ = nullptr;
};

// The window whose widget `widget` is, nullptr for any other widget.
Window* windowOf(const QWidget* widget);

// Cuts the link from the window's widget back to it, if the widget is still there; the frame,
// the sheet and the response window call it first thing as they go.
void unlinkWidget(const Window& window);

} // namespace host
