// Static text control: a line of text with its own font and colours; reports clicks.
#pragma once

#include "host/toolkit/control.h"

#include <functional>
#include <string>

namespace host {

class ClickableLabel;

class StaticText : public Control {
public:
    // On a window of the program's; the bare widget is for the host and its tests.
    explicit StaticText(Window& parent);
    explicit StaticText(QWidget* parent);

    void setText(const std::string& text);
    [[nodiscard]] std::string text() const;
    void onClicked(std::function<void()> handler);

protected:
    [[nodiscard]] int shownHeight(int pixels) const override;

private:
    ClickableLabel* label_;
    std::function<void()> clicked_;
};

} // namespace host
