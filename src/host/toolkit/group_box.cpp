#include "host/toolkit/group_box.h"

#include "host/toolkit/radio_button.h"
#include "host/toolkit/window_internal.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

namespace host {

GroupBox::GroupBox(Window& parent) : GroupBox(&widgetOf(parent)) {}

GroupBox::GroupBox(QWidget* parent)
    : Control(new QGroupBox(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      box_(static_cast<QGroupBox*>(widget())),
      buttons_(new QButtonGroup(box_)) // NOLINT(cppcoreguidelines-owning-memory): Qt parent
{
    buttons_->setExclusive(true);
    box_->setFocusPolicy(Qt::NoFocus);
    // The box only frames: the controls it surrounds are the window's and lie above it.
    box_->lower();
}

void GroupBox::setText(const std::string& text)
{
    box_->setTitle(QString::fromStdString(text));
}

std::string GroupBox::text() const
{
    return box_->title().toStdString();
}

void GroupBox::addButton(RadioButton& button)
{
    buttons_->addButton(button.button());
}

} // namespace host
