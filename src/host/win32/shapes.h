// Filled rectangles, outlined shapes, lines and 3-D edges with the Win32 pixel rules: a
// rectangle (left, top, right, bottom) covers columns left..right-1 and rows top..bottom-1.
#pragma once

#include "host/win32/types.h"

namespace win32 {

inline constexpr UINT BDR_RAISEDOUTER = 0x1;
inline constexpr UINT BDR_SUNKENOUTER = 0x2;
inline constexpr UINT BDR_RAISEDINNER = 0x4;
inline constexpr UINT BDR_SUNKENINNER = 0x8;
inline constexpr UINT BDR_OUTER = 0x3;
inline constexpr UINT BDR_INNER = 0xC;
inline constexpr UINT BDR_RAISED = 0x5;
inline constexpr UINT BDR_SUNKEN = 0xA;
inline constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

inline constexpr UINT BF_LEFT = 0x1;
inline constexpr UINT BF_TOP = 0x2;
inline constexpr UINT BF_RIGHT = 0x4;
inline constexpr UINT BF_BOTTOM = 0x8;
inline constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr UINT BF_MIDDLE = 0x800;
inline constexpr UINT BF_SOFT = 0x1000;
inline constexpr UINT BF_ADJUST = 0x2000;
inline constexpr UINT BF_FLAT = 0x4000;
inline constexpr UINT BF_MONO = 0x8000;

// Fills left..right-1 x top..bottom-1 with the brush; an empty or inverted rectangle fills
// nothing. The brush need not be selected.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// The outline in the selected pen inside the box (left..right-1 x top..bottom-1), the inside
// filled with the selected brush. NULL_PEN draws no outline (the fill then covers the box),
// NULL_BRUSH no fill.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);

// As Rectangle, with corners rounded by ellipses of width x height.
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);

// Moves the current position; the previous one goes to `previous` when it is not null.
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);

// A line in the selected pen from the current position to (x, y), without the end point, which
// becomes the current position.
BOOL LineTo(HDC dc, int x, int y);

// A 3-D edge of one-pixel lines inside `rect`, in the system colours: raised outer
// COLOR_3DLIGHT / COLOR_3DDKSHADOW, raised inner COLOR_BTNHIGHLIGHT / COLOR_BTNSHADOW, sunken
// the other way round (top-left / bottom-right). BF_MIDDLE fills the inside with COLOR_BTNFACE;
// BF_ADJUST shrinks `rect` to the inside.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);

} // namespace win32
