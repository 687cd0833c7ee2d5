// Host-internal: the object behind a device-context handle, and the one way drawing code gets
// a QPainter for it. Not part of the program's interface.
#pragma once

#include "host/win32/dc.h"
#include "host/win32/gdi_internal.h"

#include <QPainter>
#include <functional>

namespace win32::detail {

// Everything SelectObject, SetBkMode, SetTextColor and MoveToEx change, as one value.
struct DcState {
    HPEN pen = 0;
    HBRUSH brush = 0;
    HFONT font = 0;
    HBITMAP bitmap = 0; // memory DCs only
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT position;
};

enum class DcKind { Memory, Display, Window, Image, Painter };

struct DeviceContext {
    DcKind kind = DcKind::Display;
    DcState state;
    QImage* image = nullptr;     // DcKind::Image: the surface
    QPainter* painter = nullptr; // DcKind::Painter: the caller's painter
    QPoint origin;               // device point (0, 0) on the surface
    HFONT ownedFont = 0;         // deleted with the DC
    HWND window = 0;             // DcKind::Window: the window it was got for
};

DeviceContext* findDC(HDC dc);

// Runs `draw` with a painter in device coordinates, antialiasing off; false (and `draw` not
// run) when the DC has no pixels to draw into.
bool paintOn(DeviceContext& dc, const std::function<void(QPainter&)>& draw);

// The image the DC draws into and the transform from device points to its pixels; null when
// the pixels cannot be reached (display DCs, painters on other devices).
struct SurfaceAccess {
    QImage* image = nullptr;
    QTransform toPixels;
};
SurfaceAccess surfaceOf(DeviceContext& dc);

// The selected objects, falling back to the DC defaults when a selected handle was deleted.
PenObject currentPen(const DeviceContext& dc);
std::optional<QColor> currentBrushColor(const DeviceContext& dc);
const FontObject& currentFont(const DeviceContext& dc);

} // namespace win32::detail
