// Device contexts: a drawing surface (a QImage, or a QPainter someone else owns) plus the Win32
// drawing state (selected pen, brush, font and bitmap, colours, background mode, current
// position), kept as a value. Drawing goes through a QPainter with antialiasing off.
//
// Kinds of device context:
// - memory DCs (CreateCompatibleDC): draw into the bitmap selected into them; until one is
//   selected, into the stock 1 x 1 bitmap, as in Win32;
// - display DCs (CreateDCA("DISPLAY", ...)): reference DCs for CreateCompatibleDC and
//   CreateCompatibleBitmap; drawing into them draws nowhere;
// - window DCs (GetDC): like a display DC, with the window's own font selected;
// - surface DCs (host-internal, below): draw into a given QImage or through a given QPainter,
//   with device coordinate (0, 0) at a given origin of that surface.
#pragma once

#include "host/win32/types.h"

#include <QFont>
#include <QPoint>
#include <optional>

class QImage;
class QPainter;

namespace win32 {

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

HDC CreateCompatibleDC(HDC reference);
// Only the driver "DISPLAY" (any case) is known; other drivers give 0.
HDC CreateDCA(const char* driver, const char* device, const char* output, const void* initData);
BOOL DeleteDC(HDC dc);

// A DC for a registered window (0: the screen), with the window's font selected.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// Selects a pen, brush, font or bitmap (bitmaps into memory DCs only) and answers the object it
// replaces, or 0 on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

int SetBkMode(HDC dc, int mode);               // answers the previous mode, 0 on failure
COLORREF SetTextColor(HDC dc, COLORREF color); // answers the previous colour
COLORREF SetBkColor(HDC dc, COLORREF color);

// The colour at a device point, CLR_INVALID outside the surface or for a DC without pixels.
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

inline constexpr DWORD SRCCOPY = 0x00CC0020u;
// Copies pixels between DCs; only SRCCOPY is supported.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);

// ---- host-internal ----------------------------------------------------------------------------

// A DC that paints into `image` (kept alive and unmoved by the caller until released), device
// point (0, 0) at `origin` of the image. Its font is `font` (or SYSTEM_FONT); the DC owns it.
HDC createImageDC(QImage& image, QPoint origin = {}, const std::optional<QFont>& font = {});

// A DC that paints through `painter` (active, owned by the caller, outliving the DC), device
// point (0, 0) at `origin` in the painter's coordinates. The painter's state is saved around
// every drawing call, so its own clip and transform stay as the caller set them.
HDC createPainterDC(QPainter& painter, QPoint origin = {}, const std::optional<QFont>& font = {});

// Releases a DC made by createImageDC or createPainterDC, and the font it owns. Objects the
// caller selected into it are the caller's to select out and delete.
void releaseSurfaceDC(HDC dc);

// Owns a surface DC for a scope.
class ScopedSurfaceDC {
public:
    explicit ScopedSurfaceDC(QImage& image, QPoint origin = {},
                             const std::optional<QFont>& font = {})
        : dc_(createImageDC(image, origin, font))
    {
    }
    explicit ScopedSurfaceDC(QPainter& painter, QPoint origin = {},
                             const std::optional<QFont>& font = {})
        : dc_(createPainterDC(painter, origin, font))
    {
    }
    ScopedSurfaceDC(const ScopedSurfaceDC&) = delete;
    ScopedSurfaceDC& operator=(const ScopedSurfaceDC&) = delete;
    ~ScopedSurfaceDC() { releaseSurfaceDC(dc_); }

    [[nodiscard]] HDC handle() const { return dc_; }

private:
    HDC dc_;
};

} // namespace win32
