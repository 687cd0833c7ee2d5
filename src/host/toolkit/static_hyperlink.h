// Static hyperlink control: a text in the link colour whose click opens its web address.
#pragma once

#include "host/toolkit/control.h"

#include <string>

namespace host {

class ClickableLabel;

class StaticHyperlink : public Control {
public:
    // On a window of the program's; the bare widget is for the host and its tests.
    explicit StaticHyperlink(Window& parent);
    explicit StaticHyperlink(QWidget* parent);

    void setText(const std::string& text);
    [[nodiscard]] std::string text() const;
    void setUrl(const std::string& url);
    [[nodiscard]] const std::string& url() const { return url_; }

protected:
    [[nodiscard]] int shownHeight(int pixels) const override;
    // A font the program sets replaces the whole font; a hyperlink stays underlined regardless.
    void fontChanged() override;

private:
    void underline();

    ClickableLabel* label_;
    std::string url_;
};

} // namespace host
