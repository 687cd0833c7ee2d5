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
    // Where the picture begins, in layout units from the control's left edge (0 when the
    // control is narrower than its picture).
    [[nodiscard]] int pictureLeft() const;
    void setToolTip(const std::string& text);
    void setUrl(const std::string& url);
    [[nodiscard]] const std::string& url() const { return url_; }

private:
    ClickableLabel* label_;
    std::string url_;
};

} // namespace host
