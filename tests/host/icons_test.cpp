// Icons and bitmaps: loading from files, image lists masked by a colour, drawing through the
// mask and the embossed disabled look.
#include "pixels.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace win32;
using test::Canvas;

constexpr QRgb kMagenta = 0xFFFF00FFu;
constexpr QRgb kBlue = 0xFF0000FFu;

// A picture of `width` x 16: magenta, with a blue 8 x 8 square at (4, 4) in every 16 columns.
QImage squares(int width)
{
    QImage image(width, 16, QImage::Format_RGB32);
    image.fill(kMagenta);
    QPainter painter(&image);
    for (int x = 0; x < width; x += 16) {
        painter.fillRect(x + 4, 4, 8, 8, QColor(kBlue));
    }
    return image;
}

// An icon of 16 x 16: transparent, with an opaque red square from (4, 4) to (11, 11).
HICON squareIcon()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(4, 4, 8, 8, Qt::red);
    painter.end();
    return createIconFromImage(image);
}

TEST(ImageList, EveryPixelOfTheMaskColourBecomesTransparent)
{
    const HBITMAP bitmap = createBitmapFromImage(squares(16));
    const HIMAGELIST list = RTImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 4, 4);
    const int index = RTImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
    EXPECT_EQ(index, 0);
    const HICON icon = RTImageList_GetIcon(list, index, ILD_TRANSPARENT);
    ASSERT_NE(icon, 0u);
    const QImage image = iconImage(icon);
    ASSERT_EQ(image.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inSquare = x >= 4 && x < 12 && y >= 4 && y < 12;
            EXPECT_EQ(qAlpha(image.pixel(x, y)), inSquare ? 255 : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(image.pixel(5, 5), kBlue);
    // The icon is a new handle, the list and the bitmap stay the caller's.
    EXPECT_NE(RTImageList_GetIcon(list, index, ILD_NORMAL), icon);
    EXPECT_EQ(RTImageList_GetIcon(list, 1, ILD_NORMAL), 0u);
    EXPECT_NE(DeleteObject(bitmap), 0);
    EXPECT_NE(RTImageList_Destroy(list), 0);
    EXPECT_NE(DestroyIcon(icon), 0);
    EXPECT_EQ(DestroyIcon(icon), 0); // twice is refused
}

TEST(ImageList, AWideBitmapAddsOneImagePerWidth)
{
    const HBITMAP wide = createBitmapFromImage(squares(48));
    const HBITMAP single = createBitmapFromImage(squares(16));
    const HIMAGELIST list = RTImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 4, 4);
    EXPECT_EQ(RTImageList_AddMasked(list, single, CLR_DEFAULT), 0);
    EXPECT_EQ(RTImageList_AddMasked(list, wide, RGB(255, 0, 255)), 1);
    EXPECT_EQ(RTImageList_GetIcon(list, 4, ILD_TRANSPARENT), 0u) << "four images, no fifth";
    const HICON last = RTImageList_GetIcon(list, 3, ILD_TRANSPARENT);
    EXPECT_EQ(iconImage(last).pixel(4, 4), kBlue);
    EXPECT_EQ(qAlpha(iconImage(last).pixel(0, 0)), 0);
    DestroyIcon(last);
    DeleteObject(wide);
    DeleteObject(single);
    RTImageList_Destroy(list);
}

TEST(LoadImageA, LoadsBitmapAndIconFilesAtTheAskedSize)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString bmp = folder.filePath(QStringLiteral("open.bmp"));
    ASSERT_TRUE(squares(32).save(bmp, "BMP"));
    const HANDLE bitmap =
        LoadImageA(0, bmp.toUtf8().constData(), IMAGE_BITMAP, 16, 16, LR_LOADFROMFILE);
    ASSERT_NE(bitmap, 0u);
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
    EXPECT_EQ(bitmapImage(bitmap).pixel(0, 0), kMagenta);
    DeleteObject(bitmap);

    const QString ico = folder.filePath(QStringLiteral("exit.ico"));
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(8, 8, kBlue);
    ASSERT_TRUE(picture.save(ico, "ICO"));
    const HANDLE icon =
        LoadImageA(0, ico.toUtf8().constData(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(iconImage(icon).size(),
              QSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    EXPECT_EQ(qAlpha(iconImage(icon).pixel(0, 0)), 0);
    DestroyIcon(icon);

    EXPECT_EQ(LoadImageA(0, folder.filePath(QStringLiteral("missing.ico")).toUtf8().constData(),
                         IMAGE_ICON, 0, 0, LR_LOADFROMFILE),
              0u);
    // Without LR_LOADFROMFILE a name is a resource of a module, and module 0 has none.
    EXPECT_EQ(LoadImageA(0, bmp.toUtf8().constData(), IMAGE_BITMAP, 0, 0, 0), 0u);
}

TEST(DrawIconEx, DrawsThroughTheMaskAtTheAskedSize)
{
    Canvas canvas(40, 40);
    const HICON icon = squareIcon();
    EXPECT_NE(DrawIconEx(canvas.handle(), 3, 3, icon, 16, 16, 0, 0, DI_NORMAL), 0);
    EXPECT_EQ(canvas.at(7, 7), RGB(255, 0, 0));
    EXPECT_EQ(canvas.at(14, 14), RGB(255, 0, 0));
    EXPECT_EQ(canvas.at(3, 3), test::kWhite); // transparent part of the icon
    EXPECT_EQ(canvas.inkIn(0, 0, 40, 40), 64);
    // At twice the size the square doubles.
    Canvas large(40, 40);
    DrawIconEx(large.handle(), 0, 0, icon, 32, 32, 0, 0, DI_NORMAL);
    EXPECT_EQ(large.inkIn(0, 0, 40, 40), 256);
    DestroyIcon(icon);
}

TEST(DrawStateA, DisabledIsEmbossedAndOnlyWhereTheIconIsOpaque)
{
    const COLORREF ground = RGB(50, 100, 150);
    auto paint = [&](UINT flags) {
        Canvas canvas(30, 30);
        canvas.image.fill(QColor(50, 100, 150));
        const HICON icon = squareIcon();
        DrawStateA(canvas.handle(), 0, nullptr, static_cast<LPARAM>(icon), 0, 3, 3, 16, 16, flags);
        DestroyIcon(icon);
        return canvas.image;
    };
    const QImage normal = paint(DST_ICON);
    const QImage disabled = paint(DST_ICON | DSS_DISABLED);
    EXPECT_NE(normal, disabled);
    EXPECT_EQ(test::pixelAt(normal, 8, 8), RGB(255, 0, 0));
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const auto opaqueAt = [](int px, int py) {
                return px >= 7 && px < 15 && py >= 7 && py < 15;
            };
            COLORREF expected = ground;
            if (opaqueAt(x, y)) {
                expected = dark;
            } else if (opaqueAt(x - 1, y - 1)) {
                expected = light;
            }
            EXPECT_EQ(test::pixelAt(disabled, x, y), expected) << x << "," << y;
        }
    }
}

} // namespace
