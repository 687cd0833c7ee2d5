// Helpers of the menu engine's tests: a canvas with a device context to paint items into and
// read pixels back, live handle counts, and the frame-like test window's menu.
#pragma once

#include "../support/menu_test_window.h"
#include "host/toolkit/menu_item.h"
#include "host/win32/handles.h"
#include "host/win32/surface_dc_internal.h"
#include "host/win32/types.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <string>

namespace enginetest {

// A white image with a device context on it.
class Canvas {
public:
    Canvas(int width, int height, QColor fill = Qt::white)
        : image_(width, height, QImage::Format_RGB32)
    {
        image_.fill(fill);
        dc_ = win32::createImageDC(image_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() { win32::releaseSurfaceDC(dc_); }

    [[nodiscard]] win32::HDC dc() const { return dc_; }
    [[nodiscard]] const QImage& image() const { return image_; }

    // The colour at a pixel as a COLORREF.
    [[nodiscard]] win32::COLORREF at(int x, int y) const
    {
        const QRgb p = image_.pixel(x, y);
        return win32::RGB(qRed(p), qGreen(p), qBlue(p));
    }

    // True when every pixel of the box (right and bottom excluded) has the colour.
    [[nodiscard]] bool all(int left, int top, int right, int bottom, win32::COLORREF c) const
    {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (at(x, y) != c) {
                    return false;
                }
            }
        }
        return true;
    }

    // True when some pixel of the box differs from the colour.
    [[nodiscard]] bool any(int left, int top, int right, int bottom, win32::COLORREF c) const
    {
        return !all(left, top, right, bottom, c);
    }

private:
    QImage image_;
    win32::HDC dc_ = 0;
};

constexpr win32::COLORREF kWhite = 0xFFFFFF;

// Live objects of the kinds a paint or a measurement may create.
inline std::array<std::size_t, 6> liveDrawingObjects()
{
    using win32::HandleKind;
    return {win32::liveHandles(HandleKind::DeviceContext), win32::liveHandles(HandleKind::Pen),
            win32::liveHandles(HandleKind::Brush),         win32::liveHandles(HandleKind::Font),
            win32::liveHandles(HandleKind::Bitmap),        win32::liveHandles(HandleKind::Icon)};
}

// A 16 x 16 bitmap file: magenta (its transparent colour, top-left) around a blue square that
// covers columns and rows 2 to 13. Answers the file's path.
inline std::string writeSquareBitmap(const QTemporaryDir& dir)
{
    QImage bitmap(16, 16, QImage::Format_RGB32);
    bitmap.fill(QColor(255, 0, 255));
    for (int y = 2; y < 14; ++y) {
        for (int x = 2; x < 14; ++x) {
            bitmap.setPixel(x, y, qRgb(0, 0, 255));
        }
    }
    const QString path = dir.filePath("square.bmp");
    bitmap.save(path, "BMP");
    return path.toStdString();
}

constexpr win32::COLORREF kBlue = 0xFF0000;

inline host::MenuItem& addItem(host::MenuItem& parent, const std::string& className,
                               const std::string& text)
{
    host::MenuItem& item = parent.addItem<host::MenuItem>(className);
    item.setText(text);
    return item;
}

} // namespace enginetest
