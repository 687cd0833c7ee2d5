// Legibility checks for pixel tests: the contrast of text against its background as the WCAG
// measures it (relative luminance, 1:1 to 21:1; 4.5:1 is the least for body text), and palettes
// a user may run the viewer in.
#pragma once

#include <QApplication>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace test {

inline double relativeLuminance(QRgb colour)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
           0.0722 * linear(qBlue(colour));
}

inline double contrastRatio(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text drawn in `area`: its most common colour is the background, and the
// text's colour is that of the pixel that stands out most from it (a glyph's core; smoothed
// edges lie in between). 1 when nothing is drawn there, or when the text has the background's
// colour.
inline double textContrast(const QImage& image, const QRect& area)
{
    const QRect inside = area.intersected(image.rect());
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++counts[image.pixel(x, y) | 0xFF000000u];
        }
    }
    if (counts.isEmpty()) {
        return 1.0;
    }
    QRgb background = counts.constBegin().key();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        if (it.value() > counts.value(background)) {
            background = it.key();
        }
    }
    double best = 1.0;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        best = std::max(best, contrastRatio(it.key(), background));
    }
    return best;
}

// A dark palette as dark desktop themes give one: dark window and base colours, light text.
inline QPalette darkPalette()
{
    QPalette palette(QColor(0x40, 0x40, 0x40), QColor(0x35, 0x35, 0x35)); // button, window
    const auto set = [&palette](QPalette::ColorRole role, QColor colour) {
        palette.setColor(role, colour);
    };
    set(QPalette::Window, QColor(0x35, 0x35, 0x35));
    set(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    set(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    set(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    set(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    set(QPalette::Button, QColor(0x40, 0x40, 0x40));
    set(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    set(QPalette::BrightText, Qt::white);
    set(QPalette::Light, QColor(0x5A, 0x5A, 0x5A));
    set(QPalette::Midlight, QColor(0x4A, 0x4A, 0x4A));
    set(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    set(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    set(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    set(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    set(QPalette::HighlightedText, Qt::white);
    set(QPalette::Link, QColor(0x5A, 0xA8, 0xF0));
    set(QPalette::ToolTipBase, QColor(0x20, 0x20, 0x20));
    set(QPalette::ToolTipText, QColor(0xEE, 0xEE, 0xEE));
    set(QPalette::PlaceholderText, QColor(0x9A, 0x9A, 0x9A));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

// The application's palette for the life of the object; the previous one after.
class ScopedPalette {
public:
    explicit ScopedPalette(const QPalette& palette) : saved_(QApplication::palette())
    {
        QApplication::setPalette(palette);
    }
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;
    ~ScopedPalette() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

} // namespace test
