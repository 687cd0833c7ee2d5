// Device contexts: selection returns what it replaces, surfaces, and objects that outlive paints.
#include "host/win32/gdi_scopes.h"
#include "pixels.h"

#include <QPainter>
#include <QWidget>
#include <array>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace win32;
using test::Canvas;

constexpr COLORREF kGreen = RGB(0, 200, 0);

TEST(SelectObject, ReturnsTheObjectItReplacesPerKind)
{
    Canvas canvas;
    const HDC dc = canvas.handle();
    const HPEN first = CreatePen(PS_SOLID, 1, kGreen);
    const HPEN second = CreatePen(PS_SOLID, 1, kGreen);
    const HBRUSH brush = CreateSolidBrush(kGreen);
    const HGDIOBJ defaultPen = SelectObject(dc, first);
    EXPECT_EQ(defaultPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, second), first);
    // A brush does not disturb the pen slot.
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), second);
    EXPECT_EQ(SelectObject(dc, defaultPen), second);
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), brush);
    // Foreign and stale handles select nothing.
    EXPECT_EQ(SelectObject(dc, 0), 0u);
    DeleteObject(first);
    EXPECT_EQ(SelectObject(dc, first), 0u);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), defaultPen);
    DeleteObject(second);
    DeleteObject(brush);
}

TEST(SelectObject, ModesAndColoursAnswerTheirPreviousValues)
{
    Canvas canvas;
    EXPECT_EQ(SetBkMode(canvas.handle(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(canvas.handle(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetBkMode(canvas.handle(), 7), 0); // not a mode
    EXPECT_EQ(SetTextColor(canvas.handle(), kGreen), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(canvas.handle(), kGreen), kGreen);
    EXPECT_EQ(SetTextColor(0, kGreen), CLR_INVALID);
}

TEST(MemoryDC, DrawsIntoTheSelectedBitmapAndReadsItsPixels)
{
    const HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(screen, 0u);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    EXPECT_NE(previous, 0u); // the stock 1 x 1 bitmap
    const HBRUSH brush = CreateSolidBrush(kGreen);
    const RECT rect{0, 0, 4, 4};
    FillRect(memory, &rect, brush);
    EXPECT_EQ(GetPixel(memory, 3, 3), kGreen);
    EXPECT_EQ(GetPixel(memory, 4, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(memory, 8, 0), CLR_INVALID);
    // A bitmap in use is refused by DeleteObject; selected out, it goes.
    EXPECT_EQ(DeleteObject(bitmap), 0);
    EXPECT_EQ(SelectObject(memory, previous), bitmap);
    EXPECT_EQ(bitmapImage(bitmap).pixel(2, 2), QColor(0, 200, 0).rgb());
    EXPECT_NE(DeleteObject(bitmap), 0);
    DeleteObject(brush);
    EXPECT_NE(DeleteDC(memory), 0);
    EXPECT_NE(DeleteDC(screen), 0);
    EXPECT_EQ(CreateDCA("PRINTER", nullptr, nullptr, nullptr), 0u);
}

TEST(MemoryDC, ABitmapIsTheSurfaceOfOneDCAtATime)
{
    const HDC a = CreateCompatibleDC(0);
    const HDC b = CreateCompatibleDC(0);
    const HBITMAP bitmap = CreateCompatibleBitmap(0, 4, 4);
    const HGDIOBJ old = SelectObject(a, bitmap);
    EXPECT_EQ(SelectObject(b, bitmap), 0u);
    DeleteDC(a); // deleting the DC frees the bitmap from it
    EXPECT_NE(SelectObject(b, bitmap), 0u);
    SelectObject(b, old);
    DeleteObject(bitmap);
    DeleteDC(b);
}

TEST(StockObjects, SurviveDeleteObjectAndStayUsable)
{
    const std::array<int, 11> numbers{WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH,      DKGRAY_BRUSH,
                                      BLACK_BRUSH, NULL_BRUSH,   WHITE_PEN,       BLACK_PEN,
                                      NULL_PEN,    SYSTEM_FONT,  DEFAULT_GUI_FONT};
    for (const int number : numbers) {
        const HGDIOBJ object = GetStockObject(number);
        ASSERT_NE(object, 0u) << number;
        EXPECT_EQ(GetStockObject(number), object) << number;
        DeleteObject(object);
        EXPECT_EQ(GetStockObject(number), object) << number;
    }
    EXPECT_EQ(GetStockObject(9), 0u);
    const HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
    DeleteObject(highlight);
    Canvas canvas;
    const RECT rect{0, 0, 2, 2};
    FillRect(canvas.handle(), &rect, highlight);
    EXPECT_EQ(canvas.at(1, 1), GetSysColor(COLOR_HIGHLIGHT));
    FillRect(canvas.handle(), &rect, GetStockObject(LTGRAY_BRUSH));
    EXPECT_EQ(canvas.at(0, 0), RGB(192, 192, 192));
}

TEST(WindowDC, HasTheWindowsFontAndIsReleasedWithIt)
{
    const auto fonts = liveHandles(HandleKind::Font);
    const auto dcs = liveHandles(HandleKind::DeviceContext);
    auto widget = std::make_unique<QWidget>();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(23);
    widget->setFont(font);
    const HWND window = registerWindow(widget.get());
    const HDC dc = GetDC(window);
    ASSERT_NE(dc, 0u);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    std::array<char, 64> face{};
    GetTextFaceA(dc, static_cast<int>(face.size()), face.data());
    EXPECT_STREQ(face.data(), "Liberation Sans");
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 23);
    EXPECT_EQ(ReleaseDC(window + 1, dc), 0); // another window's DC is not released
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(liveHandles(HandleKind::Font), fonts);
    EXPECT_EQ(liveHandles(HandleKind::DeviceContext), dcs);
    EXPECT_EQ(GetDC(0xDEAD), 0u);
}

TEST(SurfaceDC, PainterDCDrawsAtItsOriginAndKeepsThePaintersState)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(0, 0, 15, 20);
    {
        ScopedSurfaceDC dc(painter, QPoint(5, 6));
        const HBRUSH brush = CreateSolidBrush(kGreen);
        const RECT rect{0, 0, 20, 2};
        FillRect(dc.handle(), &rect, brush);
        EXPECT_EQ(GetPixel(dc.handle(), 0, 0), kGreen);
        DeleteObject(brush);
    }
    EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 15, 20));
    EXPECT_EQ(painter.transform(), QTransform());
    painter.end();
    EXPECT_EQ(test::pixelAt(image, 5, 6), kGreen);
    EXPECT_EQ(test::pixelAt(image, 14, 7), kGreen);
    EXPECT_EQ(test::pixelAt(image, 15, 7), test::kWhite); // the painter's clip held
    EXPECT_EQ(test::pixelAt(image, 5, 8), test::kWhite);
    EXPECT_EQ(test::pixelAt(image, 4, 6), test::kWhite);
}

// What every menu paint does many times over: create, select, draw, select back, delete.
TEST(HandleCounts, ManyPaintsLeaveNothingBehind)
{
    const std::array kinds{HandleKind::Pen,       HandleKind::Brush,         HandleKind::Font,
                           HandleKind::Bitmap,    HandleKind::DeviceContext, HandleKind::Icon,
                           HandleKind::ImageList, HandleKind::Module};
    std::array<std::size_t, kinds.size()> before{};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        before.at(i) = liveHandles(kinds.at(i));
    }
    QImage image(40, 24, QImage::Format_RGB32);
    for (int round = 0; round < 500; ++round) {
        ScopedSurfaceDC dc(image);
        const HPEN pen = CreatePen(PS_SOLID, 1, RGB(round % 256, 0, 0));
        const HBRUSH brush = CreateSolidBrush(RGB(0, round % 256, 0));
        LOGFONTA logfont;
        logfont.lfHeight = -12;
        const HFONT font = CreateFontIndirectA(&logfont);
        const HGDIOBJ oldPen = SelectObject(dc.handle(), pen);
        const HGDIOBJ oldBrush = SelectObject(dc.handle(), brush);
        const HGDIOBJ oldFont = SelectObject(dc.handle(), font);
        Rectangle(dc.handle(), 0, 0, 20, 10);
        RECT rect{0, 0, 40, 24};
        DrawTextA(dc.handle(), "Open", -1, &rect, DT_SINGLELINE | DT_VCENTER);
        FillRect(dc.handle(), &rect, GetSysColorBrush(COLOR_MENU));
        const HDC memory = CreateCompatibleDC(dc.handle());
        const HBITMAP bitmap = CreateCompatibleBitmap(dc.handle(), 4, 4);
        const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
        DeleteObject(bitmap);
        // A bitmap turned into an icon through an image list, drawn, then destroyed.
        const HMODULE runtime = LoadLibraryA("HostRT90.DLL");
        const HIMAGELIST list = RTImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 4, 4);
        const HBITMAP picture = CreateCompatibleBitmap(dc.handle(), 32, 16);
        const HICON icon = RTImageList_GetIcon(list, RTImageList_AddMasked(list, picture, 0), 1);
        RTImageList_Destroy(list);
        DeleteObject(picture);
        DrawIconEx(dc.handle(), 0, 0, icon, 16, 16, 0, 0, DI_NORMAL);
        DrawStateA(dc.handle(), 0, nullptr, static_cast<LPARAM>(icon), 0, 0, 0, 16, 16,
                   DST_ICON | DSS_DISABLED);
        DestroyIcon(icon);
        FreeLibrary(runtime);
        SelectObject(dc.handle(), oldPen);
        SelectObject(dc.handle(), oldBrush);
        SelectObject(dc.handle(), oldFont);
        DeleteObject(pen);
        DeleteObject(brush);
        DeleteObject(font);
    }
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(liveHandles(kinds.at(i)), before.at(i)) << static_cast<int>(kinds.at(i));
    }
}

TEST(SelectionScope, PutsThePreviousObjectBackWhenTheScopeEnds)
{
    Canvas canvas;
    const HDC dc = canvas.handle();
    const HPEN pen = CreatePen(PS_SOLID, 1, kGreen);
    {
        const SelectionScope selected(dc, pen);
        EXPECT_EQ(selected.previous(), GetStockObject(BLACK_PEN));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(SelectionScope, AFailedSelectionChangesNothingAtTheEnd)
{
    Canvas canvas;
    const HDC dc = canvas.handle();
    const HPEN pen = CreatePen(PS_SOLID, 1, kGreen);
    SelectObject(dc, pen);
    {
        const SelectionScope stale(dc, 0);
        EXPECT_EQ(stale.previous(), 0u);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiObject, DeletesWhatItOwnsAfterTheSelectionDeclaredAfterIt)
{
    Canvas canvas;
    const HDC dc = canvas.handle();
    const auto brushes = liveHandles(HandleKind::Brush);
    {
        const GdiObject brush(CreateSolidBrush(kGreen));
        EXPECT_EQ(liveHandles(HandleKind::Brush), brushes + 1);
        const SelectionScope selected(dc, brush.get());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(liveHandles(HandleKind::Brush), brushes);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

TEST(GdiObject, AMovedOrReleasedObjectIsDeletedOnceOrNotAtAll)
{
    const auto pens = liveHandles(HandleKind::Pen);
    HPEN kept = 0;
    {
        GdiObject first(CreatePen(PS_SOLID, 1, kGreen));
        GdiObject second(std::move(first));
        EXPECT_EQ(liveHandles(HandleKind::Pen), pens + 1);
        GdiObject third(CreatePen(PS_SOLID, 1, kGreen));
        kept = third.release();
        second = GdiObject(CreatePen(PS_DOT, 1, kGreen));
        EXPECT_EQ(liveHandles(HandleKind::Pen), pens + 2);
    }
    EXPECT_EQ(liveHandles(HandleKind::Pen), pens + 1);
    DeleteObject(kept);
    EXPECT_EQ(liveHandles(HandleKind::Pen), pens);
}

} // namespace
