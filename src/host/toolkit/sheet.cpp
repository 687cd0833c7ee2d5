#include "host/toolkit/sheet.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/window_functions.h"
#include "host/win32/windows.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace host {

Sheet::Sheet() : Window(static_cast<QWidget&>(*this))
{
    win32::registerWindow(this);
}

Sheet::~Sheet() = default;

void Sheet::decorationChanged()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->setWindowTitle(windowTitle());
        sub->setWindowIcon(windowIcon());
    }
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
