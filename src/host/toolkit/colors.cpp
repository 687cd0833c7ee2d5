#include "host/toolkit/colors_internal.h"

#include <QApplication>
#include <QPalette>

namespace host {

QColor toQColor(long color)
{
    const QPalette palette = QApplication::palette();
    switch (color) {
    case kColorWindowText:
        return palette.color(QPalette::WindowText);
    case kColorButtonFace:
        return palette.color(QPalette::Button);
    case kColorLink:
        return palette.color(QPalette::Link);
    default:
        break;
    }
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

} // namespace host
