// A label that reports a left click, behind static texts and hyperlinks.
#pragma once

#include <QLabel>

namespace host {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The height a static text's label of `pixels` takes: at least the full height of its line of
// text in its font, so that a line drawn from the top, as Windows draws a static text, is never
// cut at the bottom (descenders included). An empty control (0 or less) stays empty.
[[nodiscard]] int wholeLineHeight(const QLabel& label, int pixels);

} // namespace host
