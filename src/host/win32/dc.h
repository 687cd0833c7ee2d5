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
// - surface DCs (host-internal, surface_dc_internal.h): draw into a given QImage or through a
//   given QPainter, with device coordinate (0, 0) at a given origin of that surface.
#pragma once

#include "host/win32/types.h"

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

} // namespace win32
