#include "host/toolkit/control.h"

#include "host/toolkit/colors_internal.h"
#include "host/toolkit/layout_units.h"
#include "host/win32/windows.h"

#include <QPalette>
#include <QVariant>
#include <algorithm>

namespace host {

namespace {
constexpr const char* kTabOrderProperty = "varnelookTabOrder";
}

Control::Control(QWidget* widget) : widget_(widget)
{
    win32::registerWindow(widget);
    widget->setProperty(kTabOrderProperty, 0);
    widget->setFocusPolicy(Qt::ClickFocus);
}

Control::~Control() = default;

void Control::setX(int x)
{
    x_ = x;
    applyGeometry();
}

void Control::setWidth(int width)
{
    width_ = width;
    applyGeometry();
}

void Control::setHeight(int height)
{
    height_ = height;
    applyGeometry();
}

void Control::move(int x, int y)
{
    x_ = x;
    y_ = y;
    applyGeometry();
}

void Control::resize(int width, int height)
{
    width_ = width;
    height_ = height;
    applyGeometry();
}

void Control::applyGeometry()
{
    if (widget_ == nullptr) {
        return;
    }
    // Sizes below zero mean nothing to the window system: such a control is simply empty.
    widget_->setGeometry(unitsToPixelsX(x_), unitsToPixelsY(y_),
                         std::max(0, unitsToPixelsX(width_)),
                         std::max(0, shownHeight(unitsToPixelsY(height_))));
}

void Control::setVisible(bool visible)
{
    visible_ = visible;
    if (widget_ != nullptr) {
        widget_->setVisible(visible);
    }
}

void Control::setFont(const std::string& face, int points, FontWeight weight)
{
    widget_->setFont(font(face, points, weight));
    fontChanged();
    applyGeometry();
}

void Control::setTextColor(long color)
{
    QPalette palette = widget_->palette();
    const QColor qcolor = toQColor(color);
    palette.setColor(QPalette::WindowText, qcolor);
    palette.setColor(QPalette::Text, qcolor);
    palette.setColor(QPalette::ButtonText, qcolor);
    widget_->setPalette(palette);
}

void Control::setBackColor(long color)
{
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, toQColor(color));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
}

void Control::setTabOrder(int order)
{
    widget_->setProperty(kTabOrderProperty, order);
    // Controls that never take the focus (frames, pictures) keep it that way.
    if (widget_->focusPolicy() != Qt::NoFocus) {
        widget_->setFocusPolicy(order > 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

int Control::tabOrder() const
{
    return widget_->property(kTabOrderProperty).toInt();
}

void Control::setFocus()
{
    widget_->setFocus(Qt::OtherFocusReason);
}

win32::HWND Control::handle() const
{
    return win32::handleFromWindow(widget_.data());
}

} // namespace host
