#include "host/toolkit/sheet.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/window_functions.h"
#include "host/win32/windows.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace host {

Sheet::Sheet()
{
    win32::registerWindow(this);
}

Sheet::~Sheet() = default;

std::string Sheet::title() const
{
    return windowTitle().toStdString();
}

void Sheet::setTitle(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title));
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->setWindowTitle(windowTitle());
    }
}

void Sheet::setIcon(const std::string& pictureName)
{
    setWindowIcon(host::windowIcon(pictureName));
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->setWindowIcon(windowIcon());
    }
}

win32::HWND Sheet::handle() const
{
    return win32::handleFromWindow(this);
}

void Sheet::setredraw(bool redraw)
{
    setRedraw(*this, redraw);
}

int Sheet::workspacewidth() const
{
    return workspaceWidth(*this);
}

int Sheet::workspaceheight() const
{
    return workspaceHeight(*this);
}

void Sheet::setDesignSize(int width, int height)
{
    designWidth_ = width;
    designHeight_ = height;
}

Frame* Sheet::parentFrame() const
{
    for (QWidget* ancestor = parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        if (auto* frame = dynamic_cast<Frame*>(ancestor)) {
            return frame;
        }
    }
    return nullptr;
}

void Sheet::onResize(int /*sizetype*/, int /*newwidth*/, int /*newheight*/) {}

void Sheet::raiseOpen(int menuPosition)
{
    menuPosition_ = menuPosition;
    raiseEvent([this] { onOpen(); });
    applyTabOrder(*this);
}

void Sheet::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    raiseEvent([this] { onResize(0, workspacewidth(), workspaceheight()); });
}

void Sheet::closeEvent(QCloseEvent* event)
{
    if (!closing_) {
        closing_ = true;
        raiseEvent([this] { onClose(); });
    }
    event->accept();
}

} // namespace host
