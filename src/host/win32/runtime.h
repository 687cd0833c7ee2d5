// The toolkit runtime's own entries that the program calls directly: the environment query,
// the stock-picture look-ups and the runtime's image lists (Win32 image-list behaviour).
#pragma once

#include "host/win32/types.h"

namespace win32 {

// The runtime's major version number; its library is "HostRT" + this + "0.DLL".
inline constexpr int kRuntimeMajorVersion = 9;

// What the environment query tells about the runtime and the machine.
struct Environment {
    std::int32_t majorrevision = 0;
    std::int32_t minorrevision = 0;
    std::int32_t fixesrevision = 0;
    std::int32_t screenwidth = 0;  // pixels of the primary screen
    std::int32_t screenheight = 0; // pixels of the primary screen
    std::int32_t numberofcolors = 0;
};

// Fills `env` and answers 1; -1 for a null record.
int GetEnvironment(Environment* env);

// The resource number of the stock bitmap / stock icon of that full name (with its "!"), as
// LoadBitmapA / LoadImageA(IMAGE_ICON) of the runtime's module take it; 0 when there is none.
std::int32_t FN_ResGetBitmapID(const char* name);
std::int32_t FN_ResGetIconID(const char* name);

inline constexpr UINT ILC_MASK = 0x1;
inline constexpr UINT ILC_COLOR = 0x0;
inline constexpr UINT ILC_COLOR4 = 0x4;
inline constexpr UINT ILC_COLOR8 = 0x8;
inline constexpr UINT ILC_COLOR16 = 0x10;
inline constexpr UINT ILC_COLOR24 = 0x18;
inline constexpr UINT ILC_COLOR32 = 0x20;

inline constexpr UINT ILD_NORMAL = 0x0;
inline constexpr UINT ILD_TRANSPARENT = 0x1;
inline constexpr UINT ILD_MASK = 0x10;

inline constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// A list of images of one size (cx x cy). `initial` and `grow` are capacity hints.
HIMAGELIST RTImageList_Create(int cx, int cy, UINT flags, int initial, int grow);

// Adds the bitmap's images: a bitmap wider than the list's width gives width / cx images, side by
// side from the left (a narrower or shorter bitmap is one image, padded transparent). With
// ILC_MASK every pixel of `mask` becomes transparent (CLR_DEFAULT: the colour of the bitmap's
// top-left pixel). Answers the index of the first image added, -1 on failure. The bitmap stays
// the caller's.
int RTImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);

// A new icon handle holding the image at `index`, 0 for an index out of range.
HICON RTImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

BOOL RTImageList_Destroy(HIMAGELIST list);

} // namespace win32
