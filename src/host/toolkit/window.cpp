#include "host/toolkit/window.h"

#include "host/toolkit/window_functions.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/windows.h"

#include <QIcon>
#include <QWidget>

namespace host {

QWidget& widgetOf(const Window& window)
{
    return *window.widget_;
}

std::string Window::title() const
{
    return widget_->windowTitle().toStdString();
}

void Window::setTitle(const std::string& title)
{
    widget_->setWindowTitle(QString::fromStdString(title));
    decorationChanged();
}

void Window::setIcon(const std::string& pictureName)
{
    widget_->setWindowIcon(windowIcon(pictureName));
    decorationChanged();
}

win32::HWND Window::handle() const
{
    return win32::handleFromWindow(widget_);
}

void Window::setredraw(bool redraw)
{
    setRedraw(*widget_, redraw);
}

int Window::workspacewidth() const
{
    return workspaceWidth(workspace());
}

int Window::workspaceheight() const
{
    return workspaceHeight(workspace());
}

} // namespace host
