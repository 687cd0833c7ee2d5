// Host-internal: device contexts over a surface of Qt's, for the host's own painting (menus drawn
// by the engine) and for tests that read the pixels. Device point (0, 0) lies at a given origin
// of the surface.
#pragma once

#include "host/win32/types.h"

#include <QFont>
#include <QPoint>
#include <optional>

class QImage;
class QPainter;

namespace win32 {

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
