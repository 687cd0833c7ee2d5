// Group box control: a framed caption; the radio buttons it frames exclude each other.
#pragma once

#include "host/toolkit/control.h"

#include <string>

class QButtonGroup;
class QGroupBox;

namespace host {

class RadioButton;

class GroupBox : public Control {
public:
    // On a window of the program's; the bare widget is for the host and its tests.
    explicit GroupBox(Window& parent);
    explicit GroupBox(QWidget* parent);

    void setText(const std::string& text);
    [[nodiscard]] std::string text() const;
    // Makes the button one of those this box frames: checking it unchecks the others.
    void addButton(RadioButton& button);

private:
    QGroupBox* box_;
    QButtonGroup* buttons_;
};

} // namespace host
