// A response window: a modal dialog over a parent window. The program's response windows
// derive from it and override its events; whoever opens one owns it.
#pragma once

#include "host/toolkit/window.h"

#include <string>

namespace host {

class ResponseWidget;

class ResponseWindow : public Window {
public:
    // Over a window of the program's (nullptr: none).
    explicit ResponseWindow(Window* parent);
    // Over a bare widget, for the host and its tests.
    explicit ResponseWindow(QWidget* parent);
    ~ResponseWindow() override;

    // Size of the workspace in layout units.
    void setDesignSize(int width, int height);
    // A window that is not resizable keeps its design size; the user cannot drag its border.
    void setResizable(bool resizable);
    void setBackColor(long color);

    // Raises the open event, then keeps the user in this window until it closes.
    void openModal();

private:
    friend class ResponseWidget;
    [[nodiscard]] ResponseWidget& dialog() const;
    // From the window's widget.
    void resized();
    void closing();

    bool closed_ = false;
    bool resizable_ = true;
};

} // namespace host
