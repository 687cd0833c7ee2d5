#include "host/toolkit/sheet.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/sheet_internal.h"
#include "host/toolkit/window_functions.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace host {

void SheetWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (Sheet* owner = sheet()) {
        owner->resized();
    }
}

void SheetWidget::closeEvent(QCloseEvent* event)
{
    if (Sheet* owner = sheet()) {
        owner->closeRequested();
    }
    event->accept();
}

Sheet::Sheet() : Window(std::make_unique<SheetWidget>()) {}

Sheet::~Sheet()
{
    unlinkWidget(*this);
}

void Sheet::decorationChanged()
{
    const QWidget& widget = widgetOf(*this);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widget.parentWidget())) {
        sub->setWindowTitle(widget.windowTitle());
        sub->setWindowIcon(widget.windowIcon());
    }
}

void Sheet::setDesignSize(int width, int height)
{
    designWidth_ = width;
    designHeight_ = height;
}

void Sheet::raiseOpen(Frame& frame, int menuPosition)
{
    frame_ = &frame;
    menuPosition_ = menuPosition;
    raiseEvent([this] { onOpen(); });
    applyTabOrder(widgetOf(*this));
}

void Sheet::resized()
{
    raiseEvent([this] { onResize(0, workspacewidth(), workspaceheight()); });
}

void Sheet::closeRequested()
{
    if (!closing_) {
        closing_ = true;
        raiseEvent([this] { onClose(); });
    }
}

} // namespace host
