#include "host/win32/dc.h"

#include "host/win32/dc_internal.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/surface_dc_internal.h"
#include "host/win32/system.h"
#include "host/win32/windows.h"

#include <QImage>
#include <QWidget>
#include <QtGlobal>

namespace win32 {

namespace detail {

namespace {

HandleTable<DeviceContext>& dcTable()
{
    static HandleTable<DeviceContext> table(HandleKind::DeviceContext);
    return table;
}

DcState defaultState()
{
    DcState state;
    state.pen = GetStockObject(BLACK_PEN);
    state.brush = GetStockObject(WHITE_BRUSH);
    state.font = GetStockObject(SYSTEM_FONT);
    return state;
}

HDC addDC(std::unique_ptr<DeviceContext> dc)
{
    return dcTable().add(std::move(dc));
}

} // namespace

DeviceContext* findDC(HDC dc)
{
    return dcTable().find(dc);
}

SurfaceAccess surfaceOf(DeviceContext& dc)
{
    SurfaceAccess access;
    switch (dc.kind) {
    case DcKind::Memory:
        if (BitmapObject* bitmap = findBitmap(dc.state.bitmap)) {
            access.image = &bitmap->image;
        }
        break;
    case DcKind::Image:
        access.image = dc.image;
        access.toPixels = QTransform::fromTranslate(dc.origin.x(), dc.origin.y());
        break;
    case DcKind::Painter:
        if (dc.painter->isActive() && dc.painter->device() != nullptr &&
            dc.painter->device()->devType() == QInternal::Image) {
            access.image = static_cast<QImage*>(dc.painter->device());
            access.toPixels = QTransform::fromTranslate(dc.origin.x(), dc.origin.y()) *
                              dc.painter->deviceTransform();
        }
        break;
    case DcKind::Display:
    case DcKind::Window:
        break;
    }
    return access;
}

bool paintOn(DeviceContext& dc, const std::function<void(QPainter&)>& draw)
{
    auto prepare = [](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    };
    if (dc.kind == DcKind::Painter) {
        if (!dc.painter->isActive()) {
            return false;
        }
        dc.painter->save();
        dc.painter->translate(dc.origin);
        prepare(*dc.painter);
        draw(*dc.painter);
        dc.painter->restore();
        return true;
    }
    QImage* image = surfaceOf(dc).image;
    if (image == nullptr || image->isNull()) {
        return false;
    }
    QPainter painter(image);
    painter.translate(dc.origin);
    prepare(painter);
    draw(painter);
    return true;
}

PenObject currentPen(const DeviceContext& dc)
{
    if (const PenObject* pen = findPen(dc.state.pen)) {
        return *pen;
    }
    return PenObject{PS_SOLID, 1, RGB(0, 0, 0)};
}

std::optional<QColor> currentBrushColor(const DeviceContext& dc)
{
    if (const BrushObject* brush = findBrush(dc.state.brush)) {
        return brush->paint();
    }
    return QColor(Qt::white);
}

const FontObject& currentFont(const DeviceContext& dc)
{
    if (const FontObject* font = findFont(dc.state.font)) {
        return *font;
    }
    // The system font is a stock object: it is made with the font table and never deleted.
    const FontObject* system = findFont(systemFont());
    Q_ASSERT_X(system != nullptr, "currentFont", "the stock system font is missing");
    return *system;
}

} // namespace detail

using namespace detail;

namespace {

HDC createDC(DcKind kind, const std::optional<QFont>& font)
{
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = kind;
    dc->state = defaultState();
    if (kind == DcKind::Memory) {
        dc->state.bitmap = defaultBitmap();
    }
    if (font) {
        dc->ownedFont = createFontFromQFont(*font);
        dc->state.font = dc->ownedFont;
    }
    return addDC(std::move(dc));
}

void destroyDC(HDC handle)
{
    std::unique_ptr<DeviceContext> dc = dcTable().take(handle);
    if (dc == nullptr) {
        return;
    }
    if (BitmapObject* bitmap = findBitmap(dc->state.bitmap); bitmap != nullptr) {
        bitmap->selectedInto = 0;
    }
    if (dc->ownedFont != 0) {
        DeleteObject(dc->ownedFont);
    }
}

} // namespace

HDC CreateCompatibleDC(HDC /*reference*/)
{
    // Every host surface is 32-bit, so a memory DC does not depend on its reference DC.
    return createDC(DcKind::Memory, std::nullopt);
}

HDC CreateDCA(const char* driver, const char* /*device*/, const char* /*output*/,
              const void* /*initData*/)
{
    if (driver == nullptr ||
        QString::fromUtf8(driver).compare(QStringLiteral("DISPLAY"), Qt::CaseInsensitive) != 0) {
        return 0;
    }
    return createDC(DcKind::Display, std::nullopt);
}

BOOL DeleteDC(HDC dc)
{
    const DeviceContext* context = findDC(dc);
    if (context == nullptr || context->kind == DcKind::Window || context->kind == DcKind::Image ||
        context->kind == DcKind::Painter) {
        return 0;
    }
    destroyDC(dc);
    return 1;
}

HDC GetDC(HWND window)
{
    if (window == 0) {
        return createDC(DcKind::Window, std::nullopt);
    }
    const QWidget* widget = windowFromHandle(window);
    if (widget == nullptr) {
        return 0;
    }
    const HDC handle = createDC(DcKind::Window, widget->font());
    findDC(handle)->window = window;
    return handle;
}

int ReleaseDC(HWND window, HDC dc)
{
    const DeviceContext* context = findDC(dc);
    if (context == nullptr || context->kind != DcKind::Window || context->window != window) {
        return 0;
    }
    destroyDC(dc);
    return 1;
}

HDC createImageDC(QImage& image, QPoint origin, const std::optional<QFont>& font)
{
    const HDC handle = createDC(DcKind::Image, font);
    DeviceContext* dc = findDC(handle);
    dc->image = &image;
    dc->origin = origin;
    return handle;
}

HDC createPainterDC(QPainter& painter, QPoint origin, const std::optional<QFont>& font)
{
    const HDC handle = createDC(DcKind::Painter, font);
    DeviceContext* dc = findDC(handle);
    dc->painter = &painter;
    dc->origin = origin;
    return handle;
}

void releaseSurfaceDC(HDC dc)
{
    const DeviceContext* context = findDC(dc);
    if (context != nullptr &&
        (context->kind == DcKind::Image || context->kind == DcKind::Painter)) {
        destroyDC(dc);
    }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    DcState& state = context->state;
    switch (handleKind(object)) {
    case HandleKind::Pen:
        if (findPen(object) == nullptr) {
            return 0;
        }
        return std::exchange(state.pen, object);
    case HandleKind::Brush:
        if (findBrush(object) == nullptr) {
            return 0;
        }
        return std::exchange(state.brush, object);
    case HandleKind::Font:
        if (findFont(object) == nullptr) {
            return 0;
        }
        return std::exchange(state.font, object);
    case HandleKind::Bitmap: {
        // Only a memory DC draws into a bitmap, and a bitmap is the surface of one DC at a time.
        BitmapObject* bitmap = findBitmap(object);
        if (context->kind != DcKind::Memory || bitmap == nullptr) {
            return 0;
        }
        const bool shared = object == defaultBitmap();
        if (!shared && bitmap->selectedInto != 0 && bitmap->selectedInto != dc) {
            return 0;
        }
        if (BitmapObject* previous = findBitmap(state.bitmap); previous != nullptr) {
            previous->selectedInto = 0;
        }
        if (!shared) {
            bitmap->selectedInto = dc;
        }
        return std::exchange(state.bitmap, object);
    }
    default:
        return 0;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type)
{
    const DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    switch (type) {
    case OBJ_PEN:
        return context->state.pen;
    case OBJ_BRUSH:
        return context->state.brush;
    case OBJ_FONT:
        return context->state.font;
    case OBJ_BITMAP:
        return context->state.bitmap;
    default:
        return 0;
    }
}

int SetBkMode(HDC dc, int mode)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    return std::exchange(context->state.bkMode, mode);
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    return std::exchange(context->state.textColor, color & 0x00FFFFFFu);
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    return std::exchange(context->state.bkColor, color & 0x00FFFFFFu);
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    const SurfaceAccess surface = surfaceOf(*context);
    if (surface.image == nullptr) {
        return CLR_INVALID;
    }
    const QPoint pixel = surface.toPixels.map(QPoint(x, y));
    if (!surface.image->valid(pixel)) {
        return CLR_INVALID;
    }
    return fromPixel(surface.image->pixel(pixel));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    const bool drawn = paintOn(
        *context, [&](QPainter& painter) { painter.fillRect(QRect(x, y, 1, 1), toQColor(color)); });
    return drawn ? GetPixel(dc, x, y) : CLR_INVALID;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop)
{
    DeviceContext* target = findDC(dest);
    DeviceContext* from = findDC(source);
    if (target == nullptr || from == nullptr || rop != SRCCOPY || width <= 0 || height <= 0) {
        return 0;
    }
    const SurfaceAccess surface = surfaceOf(*from);
    if (surface.image == nullptr) {
        return 0;
    }
    const QRect pixels = surface.toPixels.mapRect(QRect(sourceX, sourceY, width, height));
    // Copy first: source and destination may be the same surface.
    const QImage block = surface.image->copy(pixels);
    const bool drawn = paintOn(*target, [&](QPainter& painter) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QRect(x, y, width, height), block);
    });
    return drawn ? 1 : 0;
}

} // namespace win32
