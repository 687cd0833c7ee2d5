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

} // namespace host
