#include "host/toolkit/control.h"

#include "host/toolkit/colors_internal.h"
#include "host/toolkit/fonts_internal.h"
#include "host/toolkit/layout_units.h"
#include "host/win32/windows.h"

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace host {

namespace {
constexpr const char* kTabOrderProperty = "varnelookTabOrder";
}

struct Control::Links {
    QPointer<QWidget> widget;
    QObject context;
};

Control::Control(QWidget* widget) : links_(std::make_unique<Links>())
{
    links_->widget = widget;
    win32::registerWindow(widget);
    widget->setProperty(kTabOrderProperty, 0);
    widget->setFocusPolicy(Qt::ClickFocus);
}

Control::~Control() = default;

QWidget* Control::widget() const
{
    return links_->widget.data();
}

QObject* Control::context()
{
    return &links_->context;
}

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
    if (widget() == nullptr) {
        return;
    }
    // Sizes below zero mean nothing to the window system: such a control is simply empty.
    widget()->setGeometry(unitsToPixelsX(x_), unitsToPixelsY(y_),
                          std::max(0, unitsToPixelsX(width_)),
                          std::max(0, shownHeight(unitsToPixelsY(height_))));
}

void Control::setVisible(bool visible)
{
    visible_ = visible;
    if (widget() != nullptr) {
        widget()->setVisible(visible);
    }
}

void Control::setFont(const std::string& face, int points, FontWeight weight)
{
    widget()->setFont(font(face, points, weight));
    fontChanged();
    applyGeometry();
}

void Control::setTextColor(long color)
{
    QPalette palette = widget()->palette();
    const QColor qcolor = toQColor(color);
    palette.setColor(QPalette::WindowText, qcolor);
    palette.setColor(QPalette::Text, qcolor);
    palette.setColor(QPalette::ButtonText, qcolor);
    widget()->setPalette(palette);
}

void Control::setBackColor(long color)
{
    QPalette palette = widget()->palette();
    palette.setColor(QPalette::Window, toQColor(color));
    widget()->setPalette(palette);
    widget()->setAutoFillBackground(true);
}

void Control::setAccessibleName(const std::string& name)
{
    widget()->setAccessibleName(QString::fromStdString(name));
}

void Control::setTabOrder(int order)
{
    widget()->setProperty(kTabOrderProperty, order);
    // Controls that never take the focus (frames, pictures) keep it that way.
    if (widget()->focusPolicy() != Qt::NoFocus) {
        widget()->setFocusPolicy(order > 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

int Control::tabOrder() const
{
    return widget()->property(kTabOrderProperty).toInt();
}

void Control::setFocus()
{
    widget()->setFocus(Qt::OtherFocusReason);
}

win32::HWND Control::handle() const
{
    return win32::handleFromWindow(widget());
}

} // namespace host
