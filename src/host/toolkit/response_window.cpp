#include "host/toolkit/response_window.h"

#include "host/toolkit/colors_internal.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/layout_units.h"
#include "host/toolkit/response_window_internal.h"
#include "host/toolkit/window_functions.h"
#include "host/toolkit/window_internal.h"

#include <QPalette>

namespace host {

void ResponseWidget::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (ResponseWindow* owner = window()) {
        owner->resized();
    }
}

void ResponseWidget::done(int result)
{
    // Every way out of the dialog (close box, Escape, close()) passes here once.
    if (ResponseWindow* owner = window()) {
        owner->closing();
    }
    QDialog::done(result);
}

ResponseWindow::ResponseWindow(QWidget* parent) : Window(std::make_unique<ResponseWidget>(parent))
{
    dialog().setModal(true);
}

ResponseWindow::ResponseWindow(Window* parent)
    : ResponseWindow(parent != nullptr ? &widgetOf(*parent) : nullptr)
{
}

ResponseWindow::~ResponseWindow()
{
    unlinkWidget(*this);
}

ResponseWidget& ResponseWindow::dialog() const
{
    return static_cast<ResponseWidget&>(widgetOf(*this));
}

void ResponseWindow::setDesignSize(int width, int height)
{
    const QSize size(unitsToPixelsX(width), unitsToPixelsY(height));
    if (resizable_) {
        dialog().resize(size);
    } else {
        dialog().setFixedSize(size);
    }
}

void ResponseWindow::setResizable(bool resizable)
{
    resizable_ = resizable;
    ResponseWidget& widget = dialog();
    if (resizable) {
        widget.setMinimumSize(0, 0);
        widget.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        widget.setFixedSize(widget.size());
    }
}

void ResponseWindow::setBackColor(long color)
{
    ResponseWidget& widget = dialog();
    QPalette background = widget.palette();
    background.setColor(QPalette::Window, toQColor(color));
    widget.setPalette(background);
    widget.setAutoFillBackground(true);
}

void ResponseWindow::openModal()
{
    closed_ = false;
    raiseEvent([this] { onOpen(); });
    applyTabOrder(dialog());
    dialog().exec();
}

void ResponseWindow::resized()
{
    raiseEvent([this] { onResize(0, workspacewidth(), workspaceheight()); });
}

void ResponseWindow::closing()
{
    if (!closed_) {
        closed_ = true;
        raiseEvent([this] { onClose(); });
    }
}

} // namespace host
