#include "host/win32/icons.h"

#include "host/win32/dc_internal.h"
#include "host/win32/gdi_internal.h"
#include "host/win32/modules_internal.h"
#include "host/win32/stock_pictures.h"
#include "host/win32/system.h"

#include <QFile>
#include <QImageReader>
#include <cstdlib>

namespace win32 {

using namespace detail;

namespace {

struct IconObject {
    QImage image; // ARGB32, transparent where the mask is
};

HandleTable<IconObject>& iconTable()
{
    static HandleTable<IconObject> table(HandleKind::Icon);
    return table;
}

constexpr int kOpaqueAlpha = 128;

QSize requestedSize(UINT type, int cx, int cy, UINT flags, QSize natural)
{
    const bool icon = type != IMAGE_BITMAP;
    if (cx == 0) {
        cx = icon && (flags & LR_DEFAULTSIZE) != 0 ? GetSystemMetrics(SM_CXICON) : natural.width();
    }
    if (cy == 0) {
        cy = icon && (flags & LR_DEFAULTSIZE) != 0 ? GetSystemMetrics(SM_CYICON) : natural.height();
    }
    return {cx, cy};
}

// The picture `reader` reads; of an icon file holding several sizes, the one nearest `wanted`
// (or the first when no size is asked for).
QImage readPicture(QImageReader& reader, std::optional<QSize> wanted)
{
    QImage best;
    int bestDistance = 0;
    do {
        QImage image = reader.read();
        if (image.isNull()) {
            continue;
        }
        if (!wanted) {
            return image;
        }
        const int distance =
            std::abs(image.width() - wanted->width()) + std::abs(image.height() - wanted->height());
        if (best.isNull() || distance < bestDistance) {
            best = image;
            bestDistance = distance;
        }
    } while (reader.jumpToNextImage());
    return best;
}

// A picture file the caller names, in whatever format its contents are.
QImage readFile(const QString& path, std::optional<QSize> wanted)
{
    QString name = path;
    if (!QFile::exists(name) && name.contains(QLatin1Char('\\'))) {
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    QImageReader reader(name);
    return readPicture(reader, wanted);
}

std::optional<StockPictureKind> stockKind(UINT type)
{
    switch (type) {
    case IMAGE_BITMAP:
        return StockPictureKind::Bitmap;
    case IMAGE_ICON:
        return StockPictureKind::Icon;
    case IMAGE_CURSOR:
        return StockPictureKind::Cursor;
    default:
        return std::nullopt;
    }
}

std::optional<QSize> wantedSize(UINT type, int cx, int cy, UINT flags)
{
    if (cx > 0 && cy > 0) {
        return QSize(cx, cy);
    }
    if (type != IMAGE_BITMAP && (flags & LR_DEFAULTSIZE) != 0) {
        return QSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    }
    return std::nullopt;
}

// Where the picture is opaque: alpha for icons, anything but white for bitmaps (Win32 turns a
// picture into its shape by taking the white background away).
QImage shapeOf(const QImage& picture, bool fromAlpha, const QColor& color)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage shape(source.size(), QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    const QRgb paint = color.rgb();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const bool opaque =
                fromAlpha ? qAlpha(in[x]) >= kOpaqueAlpha : (in[x] & 0x00FFFFFFu) != 0x00FFFFFFu;
            if (opaque) {
                out[x] = paint;
            }
        }
    }
    return shape;
}

bool drawPicture(HDC dc, const QRect& target, const QImage& picture)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr || picture.isNull()) {
        return false;
    }
    paintOn(*context, [&](QPainter& painter) { painter.drawImage(target, picture); });
    return true;
}

} // namespace

HICON createIconFromImage(const QImage& image)
{
    if (image.isNull()) {
        return 0;
    }
    auto icon = std::make_unique<IconObject>();
    icon->image = image.convertToFormat(QImage::Format_ARGB32);
    return iconTable().add(std::move(icon));
}

QImage iconImage(HICON icon)
{
    const IconObject* object = iconTable().find(icon);
    return object == nullptr ? QImage() : object->image;
}

HBITMAP createBitmapFromImage(const QImage& image)
{
    if (image.isNull()) {
        return 0;
    }
    auto bitmap = std::make_unique<BitmapObject>();
    // Transparent pixels become black, as a bitmap without a mask shows them.
    bitmap->image =
        image.convertToFormat(QImage::Format_ARGB32_Premultiplied).convertToFormat(kBitmapFormat);
    return bitmapTable().add(std::move(bitmap));
}

QImage bitmapImage(HBITMAP bitmap)
{
    const BitmapObject* object = findBitmap(bitmap);
    return object == nullptr ? QImage() : object->image;
}

HANDLE LoadImageA(HINSTANCE module, const char* name, UINT type, int cx, int cy, UINT flags)
{
    if (name == nullptr || type == IMAGE_ENHMETAFILE || type > IMAGE_CURSOR) {
        return 0;
    }
    const std::optional<QSize> wanted = wantedSize(type, cx, cy, flags);
    QImage picture;
    if ((flags & LR_LOADFROMFILE) != 0) {
        if (IS_INTRESOURCE(name)) {
            return 0;
        }
        picture = readFile(QString::fromUtf8(name), wanted);
    } else {
        // Resources come only from the runtime's module: its stock pictures, by number.
        if (!isRuntimeModule(module) || !IS_INTRESOURCE(name)) {
            return 0;
        }
        const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
        const StockPicture* stock = stockPictures().find(*stockKind(type), id);
        if (stock == nullptr) {
            return 0;
        }
        // A stock icon file may hold several sizes: take the one nearest the size asked for.
        if (wanted) {
            QImageReader reader;
            StockPictureIndex::prepareReader(reader, *stock);
            picture = readPicture(reader, wanted);
        } else {
            picture = StockPictureIndex::load(*stock);
        }
    }
    if (picture.isNull()) {
        return 0;
    }
    const QSize size = requestedSize(type, cx, cy, flags, picture.size());
    if (size != picture.size() && !size.isEmpty()) {
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (type != IMAGE_BITMAP) {
        return createIconFromImage(picture);
    }
    if ((flags & LR_LOADTRANSPARENT) != 0) {
        // The colour of the top-left pixel turns into the window colour.
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = picture.pixel(0, 0) | 0xFF000000u;
        const QRgb window = toQColor(GetSysColor(COLOR_WINDOW)).rgb();
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                if ((row[x] | 0xFF000000u) == key) {
                    row[x] = window;
                }
            }
        }
    }
    return createBitmapFromImage(picture);
}

HBITMAP LoadBitmapA(HINSTANCE module, const char* name)
{
    return LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
}

BOOL DestroyIcon(HICON icon)
{
    return iconTable().remove(icon) ? 1 : 0;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT /*step*/,
                HBRUSH /*flickerBrush*/, UINT flags)
{
    const IconObject* object = iconTable().find(icon);
    if (object == nullptr || findDC(dc) == nullptr) {
        return 0;
    }
    const QImage& image = object->image;
    if (cx == 0) {
        cx = (flags & DI_DEFAULTSIZE) != 0 ? GetSystemMetrics(SM_CXICON) : image.width();
    }
    if (cy == 0) {
        cy = (flags & DI_DEFAULTSIZE) != 0 ? GetSystemMetrics(SM_CYICON) : image.height();
    }
    const QRect target(x, y, cx, cy);
    switch (flags & DI_NORMAL) {
    case DI_NORMAL:
        return drawPicture(dc, target, image) ? 1 : 0;
    case DI_IMAGE:
        // The image without its mask: what lies under the transparent pixels shows black.
        return drawPicture(dc, target,
                           image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                               .convertToFormat(QImage::Format_RGB32))
                   ? 1
                   : 0;
    case DI_MASK:
        return drawPicture(dc, target, shapeOf(image, true, Qt::black)) ? 1 : 0;
    default:
        return 0;
    }
}

BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC /*callback*/, LPARAM data, WPARAM /*wdata*/,
                int x, int y, int cx, int cy, UINT flags)
{
    QImage picture;
    bool fromAlpha = true;
    switch (flags & 0xF) {
    case DST_ICON:
        picture = iconImage(static_cast<HICON>(data));
        break;
    case DST_BITMAP:
        picture = bitmapImage(static_cast<HBITMAP>(data));
        fromAlpha = false;
        break;
    default:
        return 0; // text and callback pictures are not needed by the program
    }
    if (picture.isNull() || findDC(dc) == nullptr) {
        return 0;
    }
    const QRect target(x, y, cx > 0 ? cx : picture.width(), cy > 0 ? cy : picture.height());
    if ((flags & DSS_DISABLED) != 0) {
        // Embossed: a light copy of the shape one pixel right and down, the dark copy in place.
        const QImage light = shapeOf(picture, fromAlpha, toQColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
        const QImage dark = shapeOf(picture, fromAlpha, toQColor(GetSysColor(COLOR_BTNSHADOW)));
        drawPicture(dc, target.translated(1, 1), light);
        drawPicture(dc, target, dark);
        return 1;
    }
    if ((flags & DSS_MONO) != 0) {
        const BrushObject* object = findBrush(brush);
        const QColor color = object != nullptr ? object->paint().value_or(Qt::black) : Qt::black;
        return drawPicture(dc, target, shapeOf(picture, fromAlpha, color)) ? 1 : 0;
    }
    return drawPicture(dc, target, picture) ? 1 : 0;
}

} // namespace win32
