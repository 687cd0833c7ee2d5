#include "host/toolkit/group_box.h"

#include "host/toolkit/radio_button.h"
#include "host/toolkit/window_internal.h"

#include <QAbstractButton>
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
    // Tab enters a group of buttons at its checked one. Qt's buttons settle that only when one
    // of them takes the focus (each gives up Tab to the focused one), so until then Tab would
    // stop at the first; the checked one takes it over as soon as it is checked.
    QObject::connect(buttons_, &QButtonGroup::buttonToggled, box_,
                     [group = buttons_](QAbstractButton* toggled, bool checked) {
                         if (!checked) {
                             return;
                         }
                         for (QAbstractButton* button : group->buttons()) {
                             const Qt::FocusPolicy policy = button->focusPolicy();
                             if (policy == Qt::NoFocus) {
                                 continue;
                             }
                             button->setFocusPolicy(button == toggled
                                                        ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                        : Qt::FocusPolicy(policy & ~Qt::TabFocus));
                         }
                     });
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
