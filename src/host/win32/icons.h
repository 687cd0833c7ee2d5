// Icons and bitmaps loaded from files or from a module's pictures, and drawn into a DC: plainly
// through the icon's mask, or greyed out (embossed) as Win32 shows disabled pictures.
#pragma once

#include "host/win32/types.h"

#include <cstdint>

class QImage;

namespace win32 {

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT IMAGE_CURSOR = 2;
inline constexpr UINT IMAGE_ENHMETAFILE = 3;

inline constexpr UINT LR_DEFAULTCOLOR = 0x0;
inline constexpr UINT LR_MONOCHROME = 0x1;
inline constexpr UINT LR_COLOR = 0x2;
inline constexpr UINT LR_COPYRETURNORG = 0x4;
inline constexpr UINT LR_COPYDELETEORG = 0x8;
inline constexpr UINT LR_LOADFROMFILE = 0x10;
inline constexpr UINT LR_LOADTRANSPARENT = 0x20;
inline constexpr UINT LR_DEFAULTSIZE = 0x40;
inline constexpr UINT LR_VGACOLOR = 0x80;
inline constexpr UINT LR_LOADMAP3DCOLORS = 0x1000;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;
inline constexpr UINT LR_COPYFROMRESOURCE = 0x4000;
inline constexpr UINT LR_SHARED = 0x8000;

inline constexpr UINT DI_MASK = 0x1;
inline constexpr UINT DI_IMAGE = 0x2;
inline constexpr UINT DI_NORMAL = 0x3;
inline constexpr UINT DI_COMPAT = 0x4;
inline constexpr UINT DI_DEFAULTSIZE = 0x8;

inline constexpr UINT DST_COMPLEX = 0x0;
inline constexpr UINT DST_TEXT = 0x1;
inline constexpr UINT DST_PREFIXTEXT = 0x2;
inline constexpr UINT DST_ICON = 0x3;
inline constexpr UINT DST_BITMAP = 0x4;
inline constexpr UINT DSS_NORMAL = 0x0;
inline constexpr UINT DSS_UNION = 0x10;
inline constexpr UINT DSS_DISABLED = 0x20;
inline constexpr UINT DSS_MONO = 0x80;
inline constexpr UINT DSS_RIGHT = 0x8000;

// A resource number passed where a name is expected, as Win32 does: a "pointer" below 0x10000.
inline const char* MAKEINTRESOURCEA(int id)
{
    return reinterpret_cast<const char*>(
        static_cast<std::uintptr_t>(static_cast<WORD>(id))); // NOLINT(performance-no-int-to-ptr)
}
inline bool IS_INTRESOURCE(const char* name)
{
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// Loads a bitmap (IMAGE_BITMAP) or icon (IMAGE_ICON) and answers a new handle, 0 on failure.
// With LR_LOADFROMFILE, `name` is a file path (".bmp" or ".ico"; any format Qt reads); otherwise
// `name` is a resource number (MAKEINTRESOURCEA) of `module`, which must be the runtime's
// module (LoadLibraryA("HostRT90.DLL")). Sizes: cx/cy > 0 scale to that size; 0 with
// LR_DEFAULTSIZE gives SM_CXICON x SM_CYICON for icons; 0 without it keeps the picture's size.
// An icon file holding several sizes gives the one nearest the size asked for.
HANDLE LoadImageA(HINSTANCE module, const char* name, UINT type, int cx, int cy, UINT flags);

// LoadImageA(module, name, IMAGE_BITMAP, 0, 0, 0).
HBITMAP LoadBitmapA(HINSTANCE module, const char* name);

BOOL DestroyIcon(HICON icon);

// Draws the icon at (x, y), scaled to cx x cy (0: its own size; DI_DEFAULTSIZE: SM_CXICON).
// DI_NORMAL draws the image through its mask; DI_IMAGE alone ignores the mask; DI_MASK alone
// draws the mask (black where opaque). `step` and `flickerBrush` are accepted and ignored.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerBrush,
                UINT flags);

using DRAWSTATEPROC = BOOL (*)(HDC, LPARAM, WPARAM, int, int);

// Draws an icon (DST_ICON, `data` = the icon handle) or a bitmap (DST_BITMAP) at (x, y) in
// cx x cy. DSS_DISABLED embosses it as Win32 does: the icon's opaque shape once in
// COLOR_BTNHIGHLIGHT one pixel right and down, then in COLOR_BTNSHADOW in place. Text and
// callback kinds are not supported (FALSE).
BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM data, WPARAM wdata, int x,
                int y, int cx, int cy, UINT flags);

// ---- host-internal ----------------------------------------------------------------------------

// A new icon handle holding a copy of `image` (converted to ARGB32; transparent where alpha is
// 0), 0 for a null image.
HICON createIconFromImage(const QImage& image);
// The picture of an icon (ARGB32, premultiplied alpha off), a null image for no icon.
QImage iconImage(HICON icon);

// A new bitmap handle holding a copy of `image`, 0 for a null image.
HBITMAP createBitmapFromImage(const QImage& image);
// The pixels of a bitmap, a null image for no bitmap.
QImage bitmapImage(HBITMAP bitmap);

} // namespace win32
