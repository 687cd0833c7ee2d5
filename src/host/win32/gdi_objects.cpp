#include "host/win32/gdi_objects.h"

#include "host/win32/fonts.h"
#include "host/win32/gdi_internal.h"
#include "host/win32/system.h"

#include <QGuiApplication>
#include <cstring>

namespace win32 {

namespace detail {

std::optional<QColor> BrushObject::paint() const
{
    switch (kind) {
    case Kind::Null:
        return std::nullopt;
    case Kind::System:
        return toQColor(GetSysColor(systemColor));
    case Kind::Solid:
        break;
    }
    return toQColor(color);
}

HandleTable<PenObject>& penTable()
{
    static HandleTable<PenObject> table(HandleKind::Pen);
    return table;
}

HandleTable<BrushObject>& brushTable()
{
    static HandleTable<BrushObject> table(HandleKind::Brush);
    return table;
}

HandleTable<FontObject>& fontTable()
{
    static HandleTable<FontObject> table(HandleKind::Font);
    return table;
}

HandleTable<BitmapObject>& bitmapTable()
{
    static HandleTable<BitmapObject> table(HandleKind::Bitmap);
    return table;
}

PenObject* findPen(HPEN pen)
{
    return penTable().find(pen);
}
BrushObject* findBrush(HBRUSH brush)
{
    return brushTable().find(brush);
}
FontObject* findFont(HFONT font)
{
    return fontTable().find(font);
}
BitmapObject* findBitmap(HBITMAP bitmap)
{
    return bitmapTable().find(bitmap);
}

HFONT createFontFromQFont(const QFont& font)
{
    auto object = std::make_unique<FontObject>();
    object->logfont = logFontFromFont(font);
    object->font = pixelSized(font);
    return fontTable().add(std::move(object));
}

HBITMAP defaultBitmap()
{
    static const HBITMAP bitmap = [] {
        auto object = std::make_unique<BitmapObject>();
        object->image = QImage(1, 1, kBitmapFormat);
        object->image.fill(Qt::black);
        return bitmapTable().addPermanent(std::move(object));
    }();
    return bitmap;
}

HFONT systemFont()
{
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

} // namespace detail

using namespace detail;

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        return 0;
    }
    auto pen = std::make_unique<PenObject>();
    pen->style = style;
    pen->width = std::max(1, width);
    pen->color = color & 0x00FFFFFFu;
    return penTable().add(std::move(pen));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto brush = std::make_unique<BrushObject>();
    brush->color = color & 0x00FFFFFFu;
    return brushTable().add(std::move(brush));
}

HFONT CreateFontIndirectA(const LOGFONTA* logfont)
{
    if (logfont == nullptr) {
        return 0;
    }
    auto font = std::make_unique<FontObject>();
    font->logfont = *logfont;
    font->logfont.lfFaceName[LF_FACESIZE - 1] = '\0';
    font->font = fontFromLogFont(font->logfont);
    return fontTable().add(std::move(font));
}

HBITMAP CreateCompatibleBitmap(HDC /*dc*/, int width, int height)
{
    // Every surface of the host is 32-bit, so the reference DC does not change the format.
    if (width <= 0 || height <= 0 || width > 0x8000 || height > 0x8000) {
        return 0;
    }
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->image = QImage(width, height, kBitmapFormat);
    if (bitmap->image.isNull()) {
        return 0;
    }
    bitmap->image.fill(Qt::black);
    return bitmapTable().add(std::move(bitmap));
}

BOOL DeleteObject(HGDIOBJ object)
{
    switch (handleKind(object)) {
    case HandleKind::Pen:
        return penTable().isPermanent(object) || penTable().remove(object) ? 1 : 0;
    case HandleKind::Brush:
        return brushTable().isPermanent(object) || brushTable().remove(object) ? 1 : 0;
    case HandleKind::Font:
        return fontTable().isPermanent(object) || fontTable().remove(object) ? 1 : 0;
    case HandleKind::Bitmap: {
        if (bitmapTable().isPermanent(object)) {
            return 1;
        }
        // A bitmap is the surface of the DC it is selected into: refused until selected out.
        const BitmapObject* bitmap = findBitmap(object);
        if (bitmap == nullptr || bitmap->selectedInto != 0) {
            return 0;
        }
        return bitmapTable().remove(object) ? 1 : 0;
    }
    default:
        return 0;
    }
}

int GetObjectA(HGDIOBJ object, int size, void* buffer)
{
    if (const FontObject* font = findFont(object)) {
        constexpr int needed = sizeof(LOGFONTA);
        if (buffer == nullptr) {
            return needed;
        }
        const int copied = std::min(size, needed);
        if (copied <= 0) {
            return 0;
        }
        std::memcpy(buffer, &font->logfont, static_cast<std::size_t>(copied));
        return copied;
    }
    if (const BitmapObject* bitmap = findBitmap(object)) {
        constexpr int needed = sizeof(BITMAP);
        if (buffer == nullptr) {
            return needed;
        }
        BITMAP info;
        info.bmWidth = bitmap->image.width();
        info.bmHeight = bitmap->image.height();
        info.bmWidthBytes = bitmap->image.width() * 4;
        info.bmPlanes = 1;
        info.bmBitsPixel = 32;
        const int copied = std::min(size, needed);
        if (copied <= 0) {
            return 0;
        }
        std::memcpy(buffer, &info, static_cast<std::size_t>(copied));
        return copied;
    }
    return 0;
}

} // namespace win32
