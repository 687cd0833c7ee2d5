// Radio button control; buttons framed by one group box exclude each other (GroupBox).
#pragma once

#include "host/toolkit/control.h"

#include <functional>
#include <string>

class QRadioButton;

namespace host {

class RadioButton : public Control {
public:
    // On a window of the program's; the bare widget is for the host and its tests.
    explicit RadioButton(Window& parent);
    explicit RadioButton(QWidget* parent);

    void setText(const std::string& text);
    [[nodiscard]] std::string text() const;
    void setChecked(bool checked);
    [[nodiscard]] bool checked() const;
    void onClicked(std::function<void()> handler);

    [[nodiscard]] QRadioButton* button() const { return button_; }

private:
    QRadioButton* button_;
    std::function<void()> clicked_;
};

} // namespace host
