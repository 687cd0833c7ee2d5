#include "host/toolkit/response_window.h"

#include "host/toolkit/colors_internal.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/layout_units.h"
#include "host/toolkit/window_functions.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/windows.h"

#include <QCloseEvent>
#include <QPalette>

namespace host {

ResponseWindow::ResponseWindow(QWidget* parent)
    : QDialog(parent), Window(static_cast<QWidget&>(*this))
{
    win32::registerWindow(this);
    setModal(true);
}

ResponseWindow::ResponseWindow(Window* parent)
    : ResponseWindow(parent != nullptr ? &widgetOf(*parent) : nullptr)
{
}

ResponseWindow::~ResponseWindow() = default;

void ResponseWindow::setDesignSize(int width, int height)
{
    const QSize size(unitsToPixelsX(width), unitsToPixelsY(height));
    if (resizable_) {
        resize(size);
    } else {
        setFixedSize(size);
    }
}

void ResponseWindow::setResizable(bool resizable)
{
    resizable_ = resizable;
    if (resizable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(size());
    }
}

void ResponseWindow::setBackColor(long color)
{
    QPalette background = palette();
    background.setColor(QPalette::Window, toQColor(color));
    setPalette(background);
    setAutoFillBackground(true);
}

void ResponseWindow::openModal()
{
    closed_ = false;
    raiseEvent([this] { onOpen(); });
    applyTabOrder(*this);
    exec();
}

void ResponseWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    raiseEvent([this] { onResize(0, workspacewidth(), workspaceheight()); });
}

void ResponseWindow::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}

void ResponseWindow::done(int result)
{
    // Every way out of the dialog (close box, Escape, close()) passes here once.
    if (!closed_) {
        closed_ = true;
        raiseEvent([this] { onClose(); });
    }
    QDialog::done(result);
}

} // namespace host
