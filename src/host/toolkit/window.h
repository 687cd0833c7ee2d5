// What every window of the program has (frame, sheet, response window): a title, an icon, a
// handle, redraw switching and the size of its workspace, over the window's own widget.
#pragma once

#include "host/win32/handles.h"

#include <memory>
#include <string>

class QWidget;

namespace host {

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    [[nodiscard]] std::string title() const;
    void setTitle(const std::string& title);
    void setIcon(const std::string& pictureName);
    [[nodiscard]] win32::HWND handle() const;
    void setredraw(bool redraw);
    [[nodiscard]] int workspacewidth() const;
    [[nodiscard]] int workspaceheight() const;

protected:
    // The window's events, raised by the host. A sheet's resize is also raised when it first
    // opens.
    virtual void onOpen() {}
    virtual void onClose() {}
    virtual void onResize(int /*sizetype*/, int /*newwidth*/, int /*newheight*/) {}

    // Takes the window's widget, made by the host, for the life of this object: it is deleted
    // with it, unless Qt has deleted it first (with a parent window that went first). The widget
    // gets a window handle and, when it leads back to its window (WindowLink), the link to this.
    explicit Window(std::unique_ptr<QWidget> widget);

    // The part of the window the program lays its contents out in; the whole window by default.
    [[nodiscard]] virtual const QWidget& workspace() const;
    // Called after the title or the icon changed, for windows shown inside a frame of another.
    virtual void decorationChanged() {}

private:
    friend QWidget& widgetOf(const Window& window);
    friend void unlinkWidget(const Window& window);
    struct OwnedWidget;
    std::unique_ptr<OwnedWidget> widget_;
};

} // namespace host
