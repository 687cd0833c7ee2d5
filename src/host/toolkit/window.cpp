#include "host/toolkit/window.h"

#include "host/toolkit/window_functions.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/windows.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

namespace host {

// The widget as the window holds it: by a pointer Qt clears when it deletes the widget itself.
struct Window::OwnedWidget {
    QPointer<QWidget> widget;
};

Window::Window(std::unique_ptr<QWidget> widget)
    : widget_(std::make_unique<OwnedWidget>(OwnedWidget{widget.release()}))
{
    if (auto* link = dynamic_cast<WindowLink*>(widget_->widget.data())) {
        link->link(this);
    }
    win32::registerWindow(widget_->widget.data());
}

Window::~Window()
{
    unlinkWidget(*this);
    // Deleted here unless Qt got there first; its Qt children (the controls' widgets) go with it.
    delete widget_->widget.data(); // NOLINT(cppcoreguidelines-owning-memory): owned since made
}

QWidget& widgetOf(const Window& window)
{
    return *window.widget_->widget;
}

Window* windowOf(const QWidget* widget)
{
    const auto* link = dynamic_cast<const WindowLink*>(widget);
    return link != nullptr ? link->linkedWindow() : nullptr;
}

void unlinkWidget(const Window& window)
{
    if (auto* link = dynamic_cast<WindowLink*>(window.widget_->widget.data())) {
        link->link(nullptr);
    }
}

const QWidget& Window::workspace() const
{
    return *widget_->widget;
}

std::string Window::title() const
{
    return widget_->widget->windowTitle().toStdString();
}

void Window::setTitle(const std::string& title)
{
    widget_->widget->setWindowTitle(QString::fromStdString(title));
    decorationChanged();
}

void Window::setIcon(const std::string& pictureName)
{
    widget_->widget->setWindowIcon(windowIcon(pictureName));
    decorationChanged();
}

win32::HWND Window::handle() const
{
    return win32::handleFromWindow(widget_->widget.data());
}

void Window::setredraw(bool redraw)
{
    setRedraw(*widget_->widget, redraw);
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
