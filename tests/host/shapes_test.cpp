// Win32 pixel rules of rectangles, lines and edges, read back from the pixels.
#include "pixels.h"

#include <gtest/gtest.h>

namespace {

using namespace win32;
using test::Canvas;
using test::kWhite;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(FillRect, FillsUpToButNotIncludingRightAndBottom)
{
    Canvas canvas;
    const HBRUSH brush = CreateSolidBrush(kRed);
    const RECT rect{2, 3, 6, 8};
    EXPECT_NE(FillRect(canvas.handle(), &rect, brush), 0);
    EXPECT_EQ(canvas.at(2, 3), kRed);
    EXPECT_EQ(canvas.at(5, 7), kRed);
    EXPECT_EQ(canvas.at(6, 7), kWhite);
    EXPECT_EQ(canvas.at(5, 8), kWhite);
    EXPECT_EQ(canvas.at(1, 3), kWhite);
    EXPECT_EQ(canvas.inkIn(0, 0, 64, 48), 4 * 5);
    DeleteObject(brush);
}

TEST(FillRect, InvertedOrEmptyRectanglesFillNothing)
{
    Canvas canvas;
    const HBRUSH brush = CreateSolidBrush(kRed);
    const RECT inverted{10, 10, 2, 2};
    const RECT upsideDown{2, 10, 10, 2};
    const RECT empty{4, 4, 4, 9};
    FillRect(canvas.handle(), &inverted, brush);
    FillRect(canvas.handle(), &upsideDown, brush);
    FillRect(canvas.handle(), &empty, brush);
    EXPECT_EQ(canvas.inkIn(0, 0, 64, 48), 0);
    DeleteObject(brush);
}

TEST(Rectangle, OutlineInsideTheBoxAndTheInsideFilledWithTheBrush)
{
    Canvas canvas;
    const HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    const HBRUSH brush = CreateSolidBrush(kRed);
    const HGDIOBJ oldPen = SelectObject(canvas.handle(), pen);
    const HGDIOBJ oldBrush = SelectObject(canvas.handle(), brush);
    Rectangle(canvas.handle(), 2, 2, 10, 8);
    EXPECT_EQ(canvas.at(2, 2), kBlue);
    EXPECT_EQ(canvas.at(9, 2), kBlue);
    EXPECT_EQ(canvas.at(9, 7), kBlue);
    EXPECT_EQ(canvas.at(2, 7), kBlue);
    EXPECT_EQ(canvas.at(3, 3), kRed);
    EXPECT_EQ(canvas.at(8, 6), kRed);
    EXPECT_EQ(canvas.at(10, 5), kWhite);
    EXPECT_EQ(canvas.at(5, 8), kWhite);
    EXPECT_EQ(canvas.inkIn(0, 0, 64, 48), 8 * 6);
    SelectObject(canvas.handle(), oldPen);
    SelectObject(canvas.handle(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(Rectangle, NullPenAndNullBrushAreRespected)
{
    Canvas canvas;
    const HBRUSH brush = CreateSolidBrush(kRed);
    const HGDIOBJ oldPen = SelectObject(canvas.handle(), GetStockObject(NULL_PEN));
    const HGDIOBJ oldBrush = SelectObject(canvas.handle(), brush);
    Rectangle(canvas.handle(), 2, 2, 10, 8);
    // No outline: the fill is one pixel smaller to the right and at the bottom, as in Win32.
    EXPECT_EQ(canvas.at(2, 2), kRed);
    EXPECT_EQ(canvas.at(8, 6), kRed);
    EXPECT_EQ(canvas.at(9, 6), kWhite);
    EXPECT_EQ(canvas.at(8, 7), kWhite);

    Canvas hollow;
    SelectObject(hollow.handle(), GetStockObject(BLACK_PEN));
    SelectObject(hollow.handle(), GetStockObject(NULL_BRUSH));
    Rectangle(hollow.handle(), 2, 2, 10, 8);
    EXPECT_EQ(hollow.at(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(hollow.at(5, 5), kWhite);
    EXPECT_EQ(hollow.inkIn(0, 0, 64, 48), 2 * 8 + 2 * 4);
    SelectObject(canvas.handle(), oldPen);
    SelectObject(canvas.handle(), oldBrush);
    DeleteObject(brush);
}

TEST(RoundRect, FramesInsideTheBoxWithCutCornersAndFillsTheInside)
{
    // The check box of a menu item: frame corners (6, 7) and (16, 16), 4 by 4 corners.
    Canvas canvas;
    const HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    const HBRUSH brush = CreateSolidBrush(kRed);
    const HGDIOBJ oldPen = SelectObject(canvas.handle(), pen);
    const HGDIOBJ oldBrush = SelectObject(canvas.handle(), brush);
    RoundRect(canvas.handle(), 6, 7, 16, 16, 4, 4);
    EXPECT_EQ(canvas.at(10, 7), kBlue);  // top side
    EXPECT_EQ(canvas.at(10, 15), kBlue); // bottom side
    EXPECT_EQ(canvas.at(6, 11), kBlue);  // left side
    EXPECT_EQ(canvas.at(15, 11), kBlue); // right side
    EXPECT_EQ(canvas.at(6, 7), kWhite);  // rounded corners leave the corner pixel
    EXPECT_EQ(canvas.at(15, 15), kWhite);
    EXPECT_EQ(canvas.at(10, 11), kRed);
    EXPECT_EQ(canvas.inkIn(16, 0, 64, 48) + canvas.inkIn(0, 16, 16, 48), 0);
    SelectObject(canvas.handle(), oldPen);
    SelectObject(canvas.handle(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(LineTo, StopsOnePixelShortAndMovesTheCurrentPosition)
{
    Canvas canvas;
    const HPEN pen = CreatePen(PS_SOLID, 0, kRed);
    const HGDIOBJ old = SelectObject(canvas.handle(), pen);
    MoveToEx(canvas.handle(), 2, 5, nullptr);
    LineTo(canvas.handle(), 12, 5);
    EXPECT_EQ(canvas.at(2, 5), kRed);
    EXPECT_EQ(canvas.at(11, 5), kRed);
    EXPECT_EQ(canvas.at(12, 5), kWhite);
    LineTo(canvas.handle(), 12, 1); // upwards from where the last line ended
    EXPECT_EQ(canvas.at(12, 5), kRed);
    EXPECT_EQ(canvas.at(12, 2), kRed);
    EXPECT_EQ(canvas.at(12, 1), kWhite);
    POINT previous;
    MoveToEx(canvas.handle(), 0, 0, &previous);
    EXPECT_EQ(previous.x, 12);
    EXPECT_EQ(previous.y, 1);
    EXPECT_EQ(canvas.inkIn(0, 0, 64, 48), 10 + 4);
    SelectObject(canvas.handle(), old);
    DeleteObject(pen);
}

TEST(LineTo, NullPenDrawsNothing)
{
    Canvas canvas;
    SelectObject(canvas.handle(), GetStockObject(NULL_PEN));
    MoveToEx(canvas.handle(), 0, 0, nullptr);
    LineTo(canvas.handle(), 30, 20);
    EXPECT_EQ(canvas.inkIn(0, 0, 64, 48), 0);
}

TEST(DrawEdge, RaisedInnerUsesHighlightTopLeftAndShadowBottomRight)
{
    Canvas canvas;
    RECT rect{2, 2, 12, 10};
    DrawEdge(canvas.handle(), &rect, BDR_RAISEDINNER, BF_RECT);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(light, dark);
    EXPECT_EQ(canvas.at(5, 2), light);  // top
    EXPECT_EQ(canvas.at(2, 5), light);  // left
    EXPECT_EQ(canvas.at(5, 9), dark);   // bottom
    EXPECT_EQ(canvas.at(11, 5), dark);  // right
    EXPECT_EQ(canvas.at(5, 5), kWhite); // no BF_MIDDLE: inside untouched
    EXPECT_EQ(canvas.at(12, 5), kWhite);
    EXPECT_EQ(rect.left, 2); // no BF_ADJUST: the rectangle stays
}

TEST(DrawEdge, SunkenOuterWithMiddleFillsTheFaceAndAdjusts)
{
    Canvas canvas;
    RECT rect{0, 0, 10, 10};
    DrawEdge(canvas.handle(), &rect, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE | BF_ADJUST);
    EXPECT_EQ(canvas.at(4, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.at(9, 4), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.at(4, 4), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 9);
}

TEST(DrawEdge, OnlyTheFlaggedSidesAreDrawn)
{
    Canvas canvas;
    RECT rect{2, 2, 12, 10};
    DrawEdge(canvas.handle(), &rect, BDR_RAISEDINNER, BF_LEFT | BF_BOTTOM);
    EXPECT_EQ(canvas.at(2, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.at(5, 9), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.at(5, 2), kWhite);
    EXPECT_EQ(canvas.at(11, 5), kWhite);
}

} // namespace
