// Pens, brushes, fonts and bitmaps: creating, describing and deleting the drawing objects that a
// device context can select. Each kind lives in its own handle table with a live count.
#pragma once

#include "host/win32/types.h"

namespace win32 {

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

// GetObjectA / GetCurrentObject object types.
inline constexpr UINT OBJ_PEN = 1;
inline constexpr UINT OBJ_BRUSH = 2;
inline constexpr UINT OBJ_FONT = 6;
inline constexpr UINT OBJ_BITMAP = 7;

// A pen; widths 0 and 1 both draw one pixel. PS_NULL draws nothing.
HPEN CreatePen(int style, int width, COLORREF color);

HBRUSH CreateSolidBrush(COLORREF color);

// A font. Height < 0 is the character height in pixels, > 0 the cell height, 0 the default
// size. lfEscapement 900 turns the text to run upwards. Face names are mapped to installed faces:
// "宋体" (and its English name "SimSun") to Noto Serif CJK SC, "黑体"/"SimHei" to Noto Sans CJK SC,
// "Arial" to Liberation Sans, "Times New Roman" to Liberation Serif, "Courier New" to
// Liberation Mono; an empty face name gives the application font's face.
HFONT CreateFontIndirectA(const LOGFONTA* logfont);

// A bitmap with the pixel format of the screen (32-bit), initially black.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// Deletes a pen, brush, font or bitmap. Stock objects and system colour brushes are not deleted
// (TRUE is answered, as Win32 does); a bitmap still selected into a memory DC is refused.
BOOL DeleteObject(HGDIOBJ object);

// Fills `buffer` with the LOGFONTA of a font or the BITMAP of a bitmap; answers the bytes written,
// or the bytes needed when `buffer` is null, 0 on failure.
int GetObjectA(HGDIOBJ object, int size, void* buffer);

} // namespace win32
