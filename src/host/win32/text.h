// Text output and measurement in a device context's font. Texts are UTF-8; counts and lengths
// are bytes, and a count of -1 means a zero-terminated text.
#pragma once

#include "host/win32/types.h"

namespace win32 {

inline constexpr UINT DT_TOP = 0x0;
inline constexpr UINT DT_LEFT = 0x0;
inline constexpr UINT DT_CENTER = 0x1;
inline constexpr UINT DT_RIGHT = 0x2;
inline constexpr UINT DT_VCENTER = 0x4;
inline constexpr UINT DT_BOTTOM = 0x8;
inline constexpr UINT DT_WORDBREAK = 0x10;
inline constexpr UINT DT_SINGLELINE = 0x20;
inline constexpr UINT DT_EXPANDTABS = 0x40;
inline constexpr UINT DT_NOCLIP = 0x100;
inline constexpr UINT DT_CALCRECT = 0x400;
inline constexpr UINT DT_NOPREFIX = 0x800;

// Draws text into `rect` in the DC's font and text colour; the background is filled with the
// background colour only in OPAQUE mode. DT_VCENTER and DT_BOTTOM act only with DT_SINGLELINE;
// without it the text starts at the top and breaks at line feeds. "&x" underlines x and "&&"
// is one "&" unless DT_NOPREFIX. Text is clipped to `rect` unless DT_NOCLIP. DT_CALCRECT draws
// nothing and sets rect's right and bottom to the text's extent. Answers the text's height.
int DrawTextA(HDC dc, const char* text, int count, RECT* rect, UINT format);

// Draws text with its top-left corner at (x, y).
BOOL TextOutA(HDC dc, int x, int y, const char* text, int count);

// The width and height of `count` bytes of text in the DC's font.
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);

// Copies the face name of the DC's font (UTF-8, zero-terminated, at most `size` bytes) and
// answers the bytes copied without the terminator; with a null buffer, the size needed.
int GetTextFaceA(HDC dc, int size, char* buffer);

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);

} // namespace win32
