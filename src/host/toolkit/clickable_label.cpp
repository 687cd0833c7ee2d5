#include "host/toolkit/clickable_label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <algorithm>

namespace host {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

int wholeLineHeight(const QLabel& label, int pixels)
{
    if (pixels <= 0) {
        return pixels;
    }
    // A line is as high as the deepest face it draws with: Chinese characters come from a
    // fallback face whose descent may be deeper than the font's own.
    const QFontMetrics metrics(label.font());
    const QRect line = metrics.boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
                                            Qt::AlignLeft | Qt::AlignTop, label.text());
    return std::max({pixels, metrics.height(), line.height()});
}

} // namespace host
