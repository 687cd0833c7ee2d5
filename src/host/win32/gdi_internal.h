// Host-internal: the objects behind pen, brush, font and bitmap handles, shared by the files
// that create, select and draw with them. Not part of the program's interface.
#pragma once

#include "host/win32/types.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <optional>

namespace win32::detail {

struct PenObject {
    int style = 0;
    int width = 1; // 0 is stored as 1: both draw one pixel
    COLORREF color = 0;
};

struct BrushObject {
    enum class Kind { Solid, Null, System };
    Kind kind = Kind::Solid;
    COLORREF color = 0;
    int systemColor = -1; // for Kind::System: the colour index it paints

    // The colour to paint with, nullopt for the null brush.
    [[nodiscard]] std::optional<QColor> paint() const;
};

struct FontObject {
    LOGFONTA logfont;
    QFont font;
};

struct BitmapObject {
    QImage image;
    HDC selectedInto = 0; // the memory DC drawing into it, 0 when none
};

HandleTable<PenObject>& penTable();
HandleTable<BrushObject>& brushTable();
HandleTable<FontObject>& fontTable();
HandleTable<BitmapObject>& bitmapTable();

PenObject* findPen(HPEN pen);
BrushObject* findBrush(HBRUSH brush);
FontObject* findFont(HFONT font);
BitmapObject* findBitmap(HBITMAP bitmap);

// A font handle for a Qt font (its LOGFONTA describes it), counted and deleted like any font.
HFONT createFontFromQFont(const QFont& font);

// The 1 x 1 bitmap a new memory DC draws into, as in Win32.
HBITMAP defaultBitmap();

// The font SYSTEM_FONT and the DCs without a font of their own use.
HFONT systemFont();

inline QColor toQColor(COLORREF color)
{
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}
inline COLORREF fromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}
inline COLORREF fromPixel(QRgb pixel)
{
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// The surface format of every bitmap the host makes: 32-bit like the screen.
inline constexpr QImage::Format kBitmapFormat = QImage::Format_RGB32;

} // namespace win32::detail
