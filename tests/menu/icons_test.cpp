#include "engine_test_support.h"
#include "host/win32/icons.h"
#include "host/win32/stock_pictures.h"
#include "menu/nvo_supermenu_class.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

using namespace win32;

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr QRgb kBlue = 0xFF0000FF;

// A temporary folder with an icon file, a bitmap file (magenta top-left with a blue square)
// and a stock picture index of the test's own.
class IconFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QImage bitmap(16, 16, QImage::Format_RGB32);
        bitmap.fill(kMagenta);
        for (int y = 4; y < 12; ++y) {
            for (int x = 4; x < 12; ++x) {
                bitmap.setPixel(x, y, kBlue);
            }
        }
        ASSERT_TRUE(bitmap.save(path("square.bmp"), "BMP"));
        ASSERT_TRUE(bitmap.save(path("also.bmp!"), "BMP"));
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(0xFF00FF00);
        ASSERT_TRUE(icon.save(path("GREEN.ICO"), "ICO"));
        ASSERT_TRUE(icon.save(path("green.ico.bak"), "ICO"));

        QFile index(path("index.txt"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        QTextStream out(&index);
        out << "Custom050! bitmap 101 square.bmp\n"
            << "Custom050! icon 201 GREEN.ICO\n"
            << "Asterisk! icon 202 GREEN.ICO\n";
        index.close();
        useStockPictureIndex(path("index.txt"));
    }

    void TearDown() override { useStockPictureIndex(std::nullopt); }

    [[nodiscard]] QString path(const char* name) const { return dir.filePath(name); }
    [[nodiscard]] std::string file(const char* name) const { return path(name).toStdString(); }

    QTemporaryDir dir;
};

// The icon's picture drawn onto white at (0, 0).
QImage drawn(HICON icon)
{
    enginetest::Canvas canvas(16, 16);
    DrawIconEx(canvas.dc(), 0, 0, icon, 16, 16, 0, 0, DI_NORMAL);
    return canvas.image().copy();
}

TEST_F(IconFiles, IconKindsAreDecidedFromTheNameIgnoringCase)
{
    nvo_supermenu_class engine;
    const auto icons = liveHandles(HandleKind::Icon);
    const auto upper = static_cast<HICON>(engine.of_geticonhandle(file("GREEN.ICO")));
    ASSERT_NE(upper, 0u) << "an upper-case ICO is an icon file";
    EXPECT_EQ(drawn(upper).pixel(8, 8), 0xFF00FF00u);
    const auto inside = static_cast<HICON>(engine.of_geticonhandle(file("green.ico.bak")));
    EXPECT_NE(inside, 0u) << "\".ico\" anywhere in the name makes an icon file";
    const auto bitmapWithBang = static_cast<HICON>(engine.of_geticonhandle(file("also.bmp!")));
    EXPECT_NE(bitmapWithBang, 0u) << "\".bmp\" wins over \"!\"";
    EXPECT_EQ(engine.of_geticonhandle("plain.png"), 0);
    EXPECT_EQ(engine.of_geticonhandle(file("missing.ico")), 0);
    EXPECT_EQ(liveHandles(HandleKind::Icon), icons + 3);
    for (const HICON icon : {upper, inside, bitmapWithBang}) {
        DestroyIcon(icon);
    }
    EXPECT_EQ(liveHandles(HandleKind::Icon), icons);
}

TEST_F(IconFiles, ABitmapsTopLeftColourBecomesTransparentEverywhere)
{
    nvo_supermenu_class engine;
    const auto bitmaps = liveHandles(HandleKind::Bitmap);
    const auto icon = static_cast<HICON>(engine.of_geticonhandle(file("square.bmp")));
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(liveHandles(HandleKind::Bitmap), bitmaps) << "the loaded bitmap was deleted";
    const QImage picture = drawn(icon);
    EXPECT_EQ(picture.pixel(0, 0), 0xFFFFFFFFu) << "magenta is see-through";
    EXPECT_EQ(picture.pixel(15, 15), 0xFFFFFFFFu);
    EXPECT_EQ(picture.pixel(8, 8), kBlue);
    DestroyIcon(icon);

    const HBITMAP bitmap =
        LoadImageA(0, file("square.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    EXPECT_EQ(static_cast<COLORREF>(engine.of_getmaskcolor(bitmap)), RGB(255, 0, 255));
    DeleteObject(bitmap);
}

TEST_F(IconFiles, StockBitmapsComeBeforeStockIconsAndUnknownNamesGiveNothing)
{
    nvo_supermenu_class engine;
    std::int16_t type = 7;
    EXPECT_EQ(engine.of_getstockicon("Custom050!", type), 101);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(engine.of_getstockicon("Asterisk!", type), 202);
    EXPECT_EQ(type, 1);
    type = 7;
    EXPECT_EQ(engine.of_getstockicon("", type), -1);
    EXPECT_EQ(type, 7) << "an empty name leaves the type alone";

    const auto modules = liveHandles(HandleKind::Module);
    const auto icons = liveHandles(HandleKind::Icon);
    EXPECT_EQ(engine.of_geticonhandle("Unknown!"), 0);
    EXPECT_EQ(liveHandles(HandleKind::Module), modules) << "the library was freed";
    const auto stockBitmap = static_cast<HICON>(engine.of_geticonhandle("Custom050!"));
    ASSERT_NE(stockBitmap, 0u);
    EXPECT_EQ(drawn(stockBitmap).pixel(8, 8), kBlue) << "the bitmap, not the icon of that name";
    const auto stockIcon = static_cast<HICON>(engine.of_geticonhandle("Asterisk!"));
    EXPECT_NE(stockIcon, 0u);
    EXPECT_EQ(liveHandles(HandleKind::Module), modules);
    DestroyIcon(stockBitmap);
    DestroyIcon(stockIcon);
    EXPECT_EQ(liveHandles(HandleKind::Icon), icons);
}

TEST_F(IconFiles, AnItemKeepsItsFirstIconAndTheEngineReleasesEveryIconOnce)
{
    const auto icons = liveHandles(HandleKind::Icon);
    {
        nvo_supermenu_class engine;
        auto open = host::MenuItem::create();
        open->settoolbaritemname("Custom050!");
        auto quit = std::make_unique<host::MenuItem>("m_quit");
        auto plain = host::MenuItem::create();
        const auto openRow = engine.of_add(1, "Open\tO", open.get(), 1);
        const auto quitRow = engine.of_add(2, "Quit", quit.get(), 1);
        engine.of_add(3, "Plain", plain.get(), 1);
        EXPECT_NE(engine.menuinfo(openRow)->hicon, 0u) << "of_add loads the toolbar picture";
        EXPECT_EQ(engine.menuinfo(quitRow)->hicon, 0u);

        engine.of_setmenuicon("byid", "m_quit", file("GREEN.ICO"));
        const auto first = engine.menuinfo(quitRow)->hicon;
        EXPECT_NE(first, 0u);
        engine.of_setmenuicon("ID", "m_quit", file("square.bmp"));
        EXPECT_EQ(engine.menuinfo(quitRow)->hicon, first) << "the first icon stays";
        engine.of_setmenuicon("name", "Plain", "Asterisk!");
        engine.of_setmenuicon("name", "Nothing", "Asterisk!");
        EXPECT_EQ(liveHandles(HandleKind::Icon), icons + 3);
    }
    EXPECT_EQ(liveHandles(HandleKind::Icon), icons);
    {
        const nvo_supermenu_class empty;
    }
    EXPECT_EQ(liveHandles(HandleKind::Icon), icons);
}

} // namespace
