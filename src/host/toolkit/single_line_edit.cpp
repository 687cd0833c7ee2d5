#include "host/toolkit/single_line_edit.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/keys_internal.h"
#include "host/toolkit/window_internal.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <algorithm>
#include <utility>

namespace host {

namespace {

// Escape clears the text as an edit of the user's; an empty field lets the key go on.
class ClearingLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
            event->accept();
            clear();
            emit textEdited(QString());
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};

} // namespace

SingleLineEdit::SingleLineEdit(Window& parent) : SingleLineEdit(&widgetOf(parent)) {}

SingleLineEdit::SingleLineEdit(QWidget* parent)
    : Control(new ClearingLineEdit(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      edit_(static_cast<QLineEdit*>(widget()))
{
    QObject::connect(edit_, &QLineEdit::textEdited, context(), [this](const QString& text) {
        if (modified_) {
            raiseEvent([this, typed = text.toStdString()] { modified_(typed); });
        }
    });
}

void SingleLineEdit::setText(const std::string& text)
{
    edit_->setText(QString::fromStdString(text));
}

std::string SingleLineEdit::text() const
{
    return edit_->text().toStdString();
}

void SingleLineEdit::setPlaceholder(const std::string& text)
{
    // The hint is the text a user sees for the field, so assistive technology names the field
    // by it too, unless the field was named otherwise.
    if (edit_->accessibleName().isEmpty() || edit_->accessibleName() == edit_->placeholderText()) {
        edit_->setAccessibleName(QString::fromStdString(text));
    }
    edit_->setPlaceholderText(QString::fromStdString(text));
}

void SingleLineEdit::onModified(std::function<void(const std::string&)> handler)
{
    modified_ = std::move(handler);
}

void SingleLineEdit::setFocusShortcut(const Shortcut& key)
{
    // Qt takes a field in a sheet to be in the sheet's window: the key works wherever in the
    // sheet the focus is, and goes with the field.
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): Qt parent, the field
    auto* shortcut = new QShortcut(keySequenceOf(key), edit_);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, edit_, [edit = edit_] {
        edit->setFocus(Qt::ShortcutFocusReason);
        edit->selectAll();
    });
}

int SingleLineEdit::shownHeight(int pixels) const
{
    // The typed line is never cut: at least as tall as the field needs for its font.
    return std::max(pixels, edit_->sizeHint().height());
}

} // namespace host
