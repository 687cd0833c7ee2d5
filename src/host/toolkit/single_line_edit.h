// Single-line edit control: one line of text the user types; each change the user makes is
// reported with the new text, and Escape clears a text that is not empty.
#pragma once

#include "host/toolkit/control.h"
#include "host/toolkit/shortcut.h"

#include <functional>
#include <string>

class QLineEdit;

namespace host {

class SingleLineEdit : public Control {
public:
    // On a window of the program's; the bare widget is for the host and its tests.
    explicit SingleLineEdit(Window& parent);
    explicit SingleLineEdit(QWidget* parent);

    void setText(const std::string& text);
    [[nodiscard]] std::string text() const;
    // Grey text shown while the field is empty; also the field's accessible name, unless it was
    // given another (setAccessibleName).
    void setPlaceholder(const std::string& text);
    // Each change made by the user (a key, a paste, Escape), not by setText.
    void onModified(std::function<void(const std::string&)> handler);
    // A key that, wherever the focus is in the field's window (in a sheet: in the sheet), puts
    // the focus in the field and selects its text, ready to be typed over (Ctrl+F for a find
    // field).
    void setFocusShortcut(const Shortcut& key);

    [[nodiscard]] QLineEdit* lineEdit() const { return edit_; }

protected:
    [[nodiscard]] int shownHeight(int pixels) const override;

private:
    QLineEdit* edit_;
    std::function<void(const std::string&)> modified_;
};

} // namespace host
