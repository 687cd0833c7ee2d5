#include "host/toolkit/radio_button.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/window_internal.h"

#include <QRadioButton>

namespace host {

RadioButton::RadioButton(Window& parent) : RadioButton(&widgetOf(parent)) {}

RadioButton::RadioButton(QWidget* parent)
    : Control(new QRadioButton(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      button_(static_cast<QRadioButton*>(widget()))
{
    QObject::connect(button_, &QRadioButton::clicked, context(), [this] {
        if (clicked_) {
            raiseEvent(clicked_);
        }
    });
}

void RadioButton::setText(const std::string& text)
{
    button_->setText(QString::fromStdString(text));
}

std::string RadioButton::text() const
{
    return button_->text().toStdString();
}

void RadioButton::setChecked(bool checked)
{
    button_->setChecked(checked);
}

bool RadioButton::checked() const
{
    return button_->isChecked();
}

void RadioButton::onClicked(std::function<void()> handler)
{
    clicked_ = std::move(handler);
}

} // namespace host
