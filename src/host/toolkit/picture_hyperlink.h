// Picture hyperlink control: a picture with a tooltip whose click opens its web address.
#pragma once

#include "host/toolkit/control.h"

#include <string>

namespace host {

class ClickableLabel;

class PictureHyperlink : public Control {
public:
    // On a window of the program's; the bare widget is for the host and its tests.
    explicit PictureHyperlink(Window& parent);
    explicit PictureHyperlink(QWidget* parent);

    // The picture keeps its own size, flush with the control's right edge.
    void setPictureName(const std::string& name);
    void setToolTip(const std::string& text);
    void setUrl(const std::string& url);
    [[nodiscard]] const std::string& url() const { return url_; }

private:
    ClickableLabel* label_;
    std::string url_;
};

} // namespace host
