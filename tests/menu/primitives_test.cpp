#include "engine_test_support.h"
#include "host/win32/dc.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "menu/nvo_supermenu_class.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>

namespace {

using enginetest::Canvas;
using enginetest::kWhite;
using namespace win32;

TEST(MenuPrimitives, ColoursSplitIntoPartsTruncatingTowardZero)
{
    std::int16_t r = 0;
    std::int16_t g = 0;
    std::int16_t b = 0;
    nvo_supermenu_class::of_color2rgb(static_cast<std::int32_t>(RGB(64, 128, 255)), r, g, b);
    EXPECT_EQ(r, 64);
    EXPECT_EQ(g, 128);
    EXPECT_EQ(b, 255);
    nvo_supermenu_class::of_color2rgb(0, r, g, b);
    EXPECT_EQ(r + g + b, 0);
    nvo_supermenu_class::of_color2rgb(-1, r, g, b);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    nvo_supermenu_class::of_color2rgb(1 << 24, r, g, b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 256);
}

TEST(MenuPrimitives, TheCheckMarkIsARoundedFrameAroundAHighlightBox)
{
    nvo_supermenu_class engine;
    const COLORREF frame = GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF box = GetSysColor(COLOR_HIGHLIGHT);
    // The mark depends only on the item's left and top edges, not on its size.
    for (const int bottom : {22, 200}) {
        Canvas canvas(60, 220);
        engine.of_drawchecked(canvas.dc(), {0, 0, 60, bottom});
        EXPECT_EQ(canvas.at(10, 7), frame) << "top edge";
        EXPECT_EQ(canvas.at(10, 15), frame) << "bottom edge";
        EXPECT_EQ(canvas.at(6, 11), frame) << "left edge";
        EXPECT_EQ(canvas.at(15, 11), frame) << "right edge";
        EXPECT_TRUE(canvas.all(8, 9, 14, 14, box));
        EXPECT_EQ(canvas.at(14, 14), kWhite) << "inside the frame: the DC's white brush";
        EXPECT_EQ(canvas.at(7, 8), kWhite);
        EXPECT_TRUE(canvas.all(0, 16, 60, 220, kWhite));
        EXPECT_TRUE(canvas.all(16, 0, 60, 220, kWhite));
    }
}

TEST(MenuPrimitives, TextGoesLeftAndTheShortcutRightTwelvePixelsIn)
{
    nvo_supermenu_class engine;
    const nvo_supermenu_class::tagrect rect{24, 4, 200, 22};

    Canvas withoutShortcut(200, 22);
    engine.of_drawtext(withoutShortcut.dc(), "Open", "", rect, true);
    EXPECT_TRUE(withoutShortcut.any(24, 4, 80, 22, kWhite)) << "the item text was drawn";
    EXPECT_TRUE(withoutShortcut.all(100, 0, 200, 22, kWhite)) << "nothing on the right";
    EXPECT_TRUE(withoutShortcut.all(0, 0, 24, 22, kWhite));
    EXPECT_TRUE(withoutShortcut.all(0, 0, 200, 4, kWhite));

    Canvas withShortcut(200, 22);
    engine.of_drawtext(withShortcut.dc(), "Open", "Ctrl+O", rect, true);
    EXPECT_TRUE(withShortcut.any(140, 4, 188, 22, kWhite));
    EXPECT_TRUE(withShortcut.all(188, 0, 200, 22, kWhite)) << "ends 12 pixels inside";
}

// Where a text drawn alone in black covers a pixel fully, and where it leaves the background.
struct Glyphs {
    QImage image;
    [[nodiscard]] bool full(int x, int y) const
    {
        return image.valid(x, y) && qRgb(0, 0, 0) == (image.pixel(x, y) | 0xFF000000);
    }
    [[nodiscard]] bool blank(int x, int y) const
    {
        return !image.valid(x, y) || qRgb(255, 255, 255) == (image.pixel(x, y) | 0xFF000000);
    }
};

Glyphs textAlone(const std::string& text, const std::string& shortcut)
{
    Canvas canvas(200, 22);
    const win32::HDC dc = canvas.dc();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect{24, 4, 200, 22};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_VCENTER);
    rect.right -= 12;
    DrawTextA(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &rect, DT_RIGHT);
    return {canvas.image()};
}

TEST(MenuPrimitives, DisabledTextIsEmbossedTheLightCopyBelowAndRightOfTheShadowOnTop)
{
    nvo_supermenu_class engine;
    Canvas canvas(200, 22, QColor(10, 20, 30));
    // Upright letters, so that many pixels are covered whole.
    engine.of_drawtext(canvas.dc(), "HILL", "Ctrl+H", {24, 4, 200, 22}, false);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(light, shadow);

    // The dark copy lies where an enabled text would, drawn last; the light one shows where the
    // dark one leaves the background: the item text's one pixel right of and below it, the
    // shortcut's one pixel below it.
    const Glyphs text = textAlone("HILL", "");
    const Glyphs key = textAlone("", "Ctrl+H");
    int darkPixels = 0;
    int lightPixels = 0;
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 200; ++x) {
            const Glyphs& glyphs = x < 100 ? text : key;
            const int dx = x < 100 ? 1 : 0;
            if (glyphs.full(x, y)) {
                EXPECT_EQ(canvas.at(x, y), shadow) << x << "," << y;
                ++darkPixels;
            } else if (glyphs.blank(x, y) && glyphs.full(x - dx, y - 1)) {
                EXPECT_EQ(canvas.at(x, y), light) << x << "," << y;
                ++lightPixels;
            }
        }
    }
    EXPECT_GT(darkPixels, 5);
    EXPECT_GT(lightPixels, 5);
}

TEST(MenuPrimitives, XpRectanglesAreFramedInThePenAndFilledWithTheBrush)
{
    nvo_supermenu_class engine;
    Canvas canvas(50, 30);
    const auto before = enginetest::liveDrawingObjects();
    engine.of_xprect(canvas.dc(), {5, 5, 45, 25}, static_cast<std::int32_t>(RGB(255, 131, 6)),
                     static_cast<std::int32_t>(RGB(255, 196, 136)));
    EXPECT_EQ(enginetest::liveDrawingObjects(), before);
    EXPECT_EQ(canvas.at(5, 5), RGB(255, 131, 6));
    EXPECT_EQ(canvas.at(44, 24), RGB(255, 131, 6));
    EXPECT_TRUE(canvas.all(6, 6, 44, 24, RGB(255, 196, 136)));
    EXPECT_EQ(canvas.at(45, 15), kWhite);
    EXPECT_EQ(canvas.at(15, 25), kWhite);
}

// Gradients: the band colours and where they fall.
class Gradients : public ::testing::Test {
protected:
    void fill(std::int16_t style, nvo_supermenu_class::tagrect rect, COLORREF from, COLORREF to)
    {
        engine.menustyle = style;
        engine.of_fillwithgradient(canvas.dc(), rect, static_cast<std::int32_t>(from),
                                   static_cast<std::int32_t>(to));
    }
    static COLORREF grey(int level) { return RGB(level, level, level); }

    nvo_supermenu_class engine;
    Canvas canvas{120, 40};
};

TEST_F(Gradients, HorizontalBandsStepAcrossAndTheRestTakesTheLastColour)
{
    fill(nvo_supermenu_class::style_gradient, {0, 0, 100, 20}, 0x000000, 0xFFFFFF);
    EXPECT_TRUE(canvas.all(0, 0, 3, 20, grey(8)));
    EXPECT_TRUE(canvas.all(3, 0, 6, 20, grey(16)));
    EXPECT_TRUE(canvas.all(84, 0, 87, 20, grey(232)));
    EXPECT_TRUE(canvas.all(87, 0, 100, 20, grey(232)));
    EXPECT_TRUE(canvas.all(100, 0, 120, 40, kWhite));
    EXPECT_TRUE(canvas.all(0, 20, 100, 40, kWhite));
}

TEST_F(Gradients, AStartAboveTheEndStepsDownAndEqualColoursAreFlat)
{
    fill(nvo_supermenu_class::style_gradient, {0, 0, 100, 20}, RGB(200, 0, 0), RGB(100, 0, 0));
    EXPECT_EQ(canvas.at(0, 0), RGB(197, 0, 0));
    EXPECT_EQ(canvas.at(84, 0), RGB(113, 0, 0));
    fill(nvo_supermenu_class::style_vgradient, {0, 0, 100, 40}, RGB(1, 2, 3), RGB(1, 2, 3));
    EXPECT_TRUE(canvas.all(0, 0, 100, 40, RGB(1, 2, 3)));
}

TEST_F(Gradients, VerticalBandsThinnerThanAPixelLeaveOnlyTheClosingFill)
{
    fill(nvo_supermenu_class::style_vgradient, {0, 0, 100, 18}, 0x000000, 0xFFFFFF);
    EXPECT_TRUE(canvas.all(0, 0, 100, 18, grey(19 * 13)));
    fill(nvo_supermenu_class::style_vgradient, {0, 0, 100, 38}, 0x000000, 0xFFFFFF);
    EXPECT_TRUE(canvas.all(0, 0, 100, 2, grey(13)));
    EXPECT_TRUE(canvas.all(0, 36, 100, 38, grey(247)));
}

TEST_F(Gradients, TheHeaderLayoutFillsTheUpperHalfInBandsAndTheRestFlat)
{
    fill(nvo_supermenu_class::style_vheadergradient, {0, 0, 100, 21}, 0x000000, 0xFFFFFF);
    for (int row = 0; row < 10; ++row) {
        EXPECT_TRUE(canvas.all(0, row, 100, row + 1, grey(25 * (row + 1)))) << "row " << row;
    }
    EXPECT_TRUE(canvas.all(0, 10, 100, 21, grey(250)));
}

TEST_F(Gradients, TheEdgeLayoutIsSymmetricAboutTheMiddle)
{
    fill(nvo_supermenu_class::style_vedgegradient, {0, 0, 100, 21}, 0x000000, 0xFFFFFF);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(canvas.at(50, row), grey(25 * (row + 1))) << "row " << row;
        EXPECT_EQ(canvas.at(50, 20 - row), canvas.at(50, row)) << "row " << 20 - row;
    }
    EXPECT_EQ(canvas.at(50, 10), grey(250));
    EXPECT_TRUE(canvas.all(0, 21, 100, 40, kWhite));
}

TEST_F(Gradients, EveryBandsBrushIsGoneAfterTheFill)
{
    const auto before = enginetest::liveDrawingObjects();
    for (const std::int16_t style : {4, 5, 6, 7}) {
        fill(style, {0, 0, 100, 21}, 0x102030, 0xF0E0D0);
    }
    EXPECT_EQ(enginetest::liveDrawingObjects(), before);
}

} // namespace
