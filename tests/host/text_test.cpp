// Text: placement rules of DrawTextA, measuring, colours, background modes and fonts.
#include "pixels.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace win32;
using test::Canvas;
using test::kWhite;

constexpr COLORREF kRed = RGB(255, 0, 0);

// A DC with a 14-pixel Liberation Sans font selected for the life of the object.
class TextCanvas : public Canvas {
public:
    TextCanvas() : Canvas(120, 40)
    {
        LOGFONTA logfont;
        logfont.lfHeight = -14;
        std::string("Arial").copy(logfont.lfFaceName, LF_FACESIZE - 1);
        font_ = CreateFontIndirectA(&logfont);
        old_ = SelectObject(handle(), font_);
    }
    TextCanvas(const TextCanvas&) = delete;
    TextCanvas& operator=(const TextCanvas&) = delete;
    ~TextCanvas()
    {
        SelectObject(handle(), old_);
        DeleteObject(font_);
    }

    // The columns and rows that hold ink, as a rectangle (empty when nothing was drawn).
    [[nodiscard]] QRect inkBounds() const
    {
        QRect bounds;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (at(x, y) != kWhite) {
                    bounds |= QRect(x, y, 1, 1);
                }
            }
        }
        return bounds;
    }

private:
    HFONT font_ = 0;
    HGDIOBJ old_ = 0;
};

TEST(DrawTextA, LeftAndRightAlignmentPlaceTheTextAtEitherEdge)
{
    TextCanvas left;
    RECT rect{10, 0, 110, 40};
    DrawTextA(left.handle(), "Exit", -1, &rect, DT_LEFT);
    const QRect leftInk = left.inkBounds();
    ASSERT_FALSE(leftInk.isEmpty());
    EXPECT_GE(leftInk.left(), 10);
    EXPECT_LE(leftInk.left(), 12);
    EXPECT_LT(leftInk.top(), 8); // top-aligned

    TextCanvas right;
    DrawTextA(right.handle(), "Exit", -1, &rect, DT_RIGHT);
    const QRect rightInk = right.inkBounds();
    EXPECT_LE(rightInk.right(), 109);
    EXPECT_GE(rightInk.right(), 106);
    EXPECT_EQ(rect.right, 110); // drawing leaves the rectangle alone
}

TEST(DrawTextA, VerticalCentringOnlyWithSingleLine)
{
    RECT rect{0, 0, 120, 40};
    TextCanvas plain;
    DrawTextA(plain.handle(), "Save", -1, &rect, DT_VCENTER);
    TextCanvas single;
    DrawTextA(single.handle(), "Save", -1, &rect, DT_VCENTER | DT_SINGLELINE);
    const QRect top = plain.inkBounds();
    const QRect centred = single.inkBounds();
    ASSERT_FALSE(top.isEmpty());
    EXPECT_LT(top.top(), 8);
    // Centred: the ink sits about as far from the top as from the bottom.
    EXPECT_GT(centred.top(), top.top() + 5);
    EXPECT_LE(std::abs(centred.top() - (39 - centred.bottom())), 6);
}

TEST(DrawTextA, CalcRectMeasuresWithoutDrawing)
{
    TextCanvas canvas;
    RECT rect{5, 7, 6, 8};
    const int height = DrawTextA(canvas.handle(), "Open file", -1, &rect, DT_CALCRECT);
    SIZE size;
    GetTextExtentPoint32A(canvas.handle(), "Open file", 9, &size);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
    EXPECT_EQ(height, size.cy);
    EXPECT_TRUE(canvas.inkBounds().isEmpty());
    // The count is in bytes: only "Open" is measured.
    RECT part{0, 0, 0, 0};
    DrawTextA(canvas.handle(), "Open file", 4, &part, DT_CALCRECT);
    GetTextExtentPoint32A(canvas.handle(), "Open", 4, &size);
    EXPECT_EQ(part.right, size.cx);
    // "&" marks a mnemonic and takes no room; "&&" is one ampersand.
    RECT prefixed{0, 0, 0, 0};
    DrawTextA(canvas.handle(), "&Open", -1, &prefixed, DT_CALCRECT);
    EXPECT_EQ(prefixed.right, size.cx);
}

TEST(DrawTextA, UsesTheTextColourAndTheBackgroundMode)
{
    RECT rect{0, 0, 120, 40};
    TextCanvas transparent;
    SetTextColor(transparent.handle(), kRed);
    SetBkMode(transparent.handle(), TRANSPARENT);
    DrawTextA(transparent.handle(), "HHHH", -1, &rect, DT_LEFT);
    // Every drawn pixel is the text colour, or (at the glyphs' antialiased edges) that colour
    // blended with the white below: full red, equal green and blue.
    const QRect ink = transparent.inkBounds();
    ASSERT_FALSE(ink.isEmpty());
    int solid = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        for (int x = ink.left(); x <= ink.right(); ++x) {
            const COLORREF pixel = transparent.at(x, y);
            EXPECT_EQ(GetRValue(pixel), 255) << x << "," << y;
            EXPECT_EQ(GetGValue(pixel), GetBValue(pixel)) << x << "," << y;
            solid += pixel == kRed ? 1 : 0;
        }
    }
    EXPECT_GT(solid, 0);

    TextCanvas opaque;
    SetBkColor(opaque.handle(), RGB(0, 0, 255));
    DrawTextA(opaque.handle(), "HHHH", -1, &rect, DT_LEFT);
    // The background colour fills the text's cell, not the whole rectangle.
    EXPECT_EQ(opaque.at(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(opaque.at(119, 0), kWhite);
    EXPECT_EQ(transparent.at(0, 0), kWhite);
}

TEST(DrawTextA, ClipsToTheRectangleAndBreaksLinesWithoutSingleLine)
{
    TextCanvas clipped;
    RECT narrow{0, 0, 12, 40};
    DrawTextA(clipped.handle(), "Wide text", -1, &narrow, DT_LEFT);
    EXPECT_EQ(clipped.inkIn(12, 0, 120, 40), 0);
    EXPECT_GT(clipped.inkIn(0, 0, 12, 40), 0);

    TextCanvas lines;
    RECT rect{0, 0, 120, 40};
    const int oneLine = DrawTextA(lines.handle(), "A", -1, &rect, DT_CALCRECT);
    rect = {0, 0, 120, 40};
    EXPECT_EQ(DrawTextA(lines.handle(), "A\nB", -1, &rect, DT_CALCRECT), 2 * oneLine);
}

TEST(DrawTextA, NullTextWithCountMinusOneDrawsNothing)
{
    TextCanvas canvas;
    RECT rect{0, 0, 120, 40};
    EXPECT_EQ(DrawTextA(canvas.handle(), nullptr, -1, &rect, DT_LEFT), 0);
    EXPECT_TRUE(canvas.inkBounds().isEmpty());
}

TEST(Fonts, EscapementNineHundredRunsTheTextUpwards)
{
    Canvas canvas(80, 120);
    LOGFONTA logfont;
    logfont.lfHeight = -16;
    logfont.lfWeight = FW_BOLD;
    logfont.lfEscapement = 900;
    logfont.lfOrientation = 900;
    const HFONT font = CreateFontIndirectA(&logfont);
    const HGDIOBJ old = SelectObject(canvas.handle(), font);
    TextOutA(canvas.handle(), 20, 100, "Vertical", -1);
    SelectObject(canvas.handle(), old);
    DeleteObject(font);
    // Turned about (20, 100): the text lies above that point, in a column about a line wide.
    EXPECT_EQ(canvas.inkIn(0, 100, 80, 120), 0);
    EXPECT_GT(canvas.inkIn(20, 30, 40, 100), 40);
    EXPECT_EQ(canvas.inkIn(42, 0, 80, 120), 0);
}

// The picture of a text in a font asked for by face name.
QImage rendered(const char* face, const char* text)
{
    Canvas canvas(120, 40);
    LOGFONTA logfont;
    logfont.lfHeight = -20;
    std::string(face).copy(logfont.lfFaceName, LF_FACESIZE - 1);
    const HFONT font = CreateFontIndirectA(&logfont);
    const HGDIOBJ old = SelectObject(canvas.handle(), font);
    TextOutA(canvas.handle(), 2, 2, text, -1);
    SelectObject(canvas.handle(), old);
    DeleteObject(font);
    return canvas.image;
}

TEST(Fonts, WindowsFaceNamesDrawInTheInstalledFaces)
{
    EXPECT_EQ(rendered("宋体", "宋体字"), rendered("Noto Serif CJK SC", "宋体字"));
    EXPECT_NE(rendered("宋体", "宋体字"), rendered("Noto Sans CJK SC", "宋体字"));
    EXPECT_EQ(rendered("Arial", "Arial"), rendered("Liberation Sans", "Arial"));
    EXPECT_NE(rendered("Arial", "Arial"), rendered("Liberation Serif", "Arial"));
}

TEST(Fonts, TheFaceNameReadsBackAsItWasAskedFor)
{
    Canvas canvas;
    LOGFONTA logfont;
    logfont.lfHeight = -12;
    std::string("宋体").copy(logfont.lfFaceName, LF_FACESIZE - 1);
    const HFONT font = CreateFontIndirectA(&logfont);
    const HGDIOBJ old = SelectObject(canvas.handle(), font);
    std::array<char, 255> buffer{};
    const int copied =
        GetTextFaceA(canvas.handle(), static_cast<int>(buffer.size()), buffer.data());
    EXPECT_STREQ(buffer.data(), "宋体");
    EXPECT_EQ(copied, 6); // bytes of UTF-8, without the terminator
    // A buffer too small for the whole name never cuts a character in two.
    std::array<char, 5> small{};
    GetTextFaceA(canvas.handle(), static_cast<int>(small.size()), small.data());
    EXPECT_STREQ(small.data(), "宋");
    LOGFONTA back;
    EXPECT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_STREQ(back.lfFaceName, "宋体");
    SelectObject(canvas.handle(), old);
    DeleteObject(font);
}

TEST(Fonts, MetricsFollowTheRequestedHeightAndWeight)
{
    Canvas canvas;
    LOGFONTA logfont;
    logfont.lfHeight = -20;
    logfont.lfWeight = FW_BOLD;
    std::string("Arial").copy(logfont.lfFaceName, LF_FACESIZE - 1);
    const HFONT font = CreateFontIndirectA(&logfont);
    const HGDIOBJ old = SelectObject(canvas.handle(), font);
    TEXTMETRICA metrics;
    ASSERT_NE(GetTextMetricsA(canvas.handle(), &metrics), 0);
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
    EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
    EXPECT_GE(metrics.tmHeight, 20);
    EXPECT_LE(metrics.tmHeight, 26);
    SIZE size;
    GetTextExtentPoint32A(canvas.handle(), "M", 1, &size);
    EXPECT_EQ(size.cy, metrics.tmHeight);
    SelectObject(canvas.handle(), old);
    DeleteObject(font);
}

} // namespace
