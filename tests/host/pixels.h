// Pixel-test helpers: a white canvas with a DC drawing into it, and pixel reads as COLORREF.
#pragma once

#include "host/win32/modules_internal.h"
#include "host/win32/surface_dc_internal.h"
#include "host/win32/win32.h"

#include <QImage>
#include <QRect>

namespace test {

inline win32::COLORREF pixelAt(const QImage& image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return win32::RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// Number of pixels of `colour` in `area`, its edges included.
inline int pixelsOfColour(const QImage& image, const QRect& area, win32::COLORREF colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += pixelAt(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

constexpr win32::COLORREF kWhite = win32::RGB(255, 255, 255);

// A white image with a DC whose device (0, 0) is the image's top-left pixel.
struct Canvas {
    explicit Canvas(int width = 64, int height = 48)
        : image(width, height, QImage::Format_RGB32), dc(image)
    {
        image.fill(Qt::white);
    }
    [[nodiscard]] win32::COLORREF at(int x, int y) const { return pixelAt(image, x, y); }
    [[nodiscard]] win32::HDC handle() const { return dc.handle(); }

    // Number of pixels in the rectangle [x0, x1) x [y0, y1) that are not white.
    [[nodiscard]] int inkIn(int x0, int y0, int x1, int y1) const
    {
        int ink = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                ink += at(x, y) != kWhite ? 1 : 0;
            }
        }
        return ink;
    }

    QImage image;
    win32::ScopedSurfaceDC dc;
};

} // namespace test
