// Gradient fills: a rectangle painted as a fixed number of solid bands stepping from one colour
// towards another, across (horizontal) or down (vertical, header, edge) the rectangle.
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/gdi_scopes.h"
#include "host/win32/shapes.h"
#include "menu/item_painting.h"
#include "menu/nvo_supermenu_class.h"

#include <cstdlib>

namespace {

// Both operands as floating point, the quotient truncated toward zero.
int divide(int numerator, int denominator)
{
    return static_cast<int>(static_cast<double>(numerator) / static_cast<double>(denominator));
}

// The step per band of one colour part: the distance over the bands, toward the end colour.
int stepOf(int from, int to, int steps)
{
    const int step = divide(std::abs(from - to), steps);
    return to < from ? -step : step;
}

// The band colours: from one colour a fixed step per part for each band.
class Bands {
public:
    Bands(std::int32_t colorfrom, std::int32_t colorto, int steps) : steps_(steps)
    {
        nvo_supermenu_class::of_color2rgb(colorfrom, r1_, g1_, b1_);
        std::int16_t r2 = 0;
        std::int16_t g2 = 0;
        std::int16_t b2 = 0;
        nvo_supermenu_class::of_color2rgb(colorto, r2, g2, b2);
        vr_ = stepOf(r1_, r2, steps);
        vg_ = stepOf(g1_, g2, steps);
        vb_ = stepOf(b1_, b2, steps);
    }

    [[nodiscard]] int steps() const { return steps_; }

    // The colour of band li (1 to steps()); parts may leave 0 to 255, as the sum shows.
    [[nodiscard]] win32::COLORREF at(int li) const
    {
        const int red = r1_ + li * vr_;
        const int green = g1_ + li * vg_;
        const int blue = b1_ + li * vb_;
        return static_cast<win32::COLORREF>(red + 256 * green + 65536 * blue);
    }
    [[nodiscard]] win32::COLORREF last() const { return at(steps_); }

private:
    int steps_;
    std::int16_t r1_ = 0;
    std::int16_t g1_ = 0;
    std::int16_t b1_ = 0;
    int vr_ = 0;
    int vg_ = 0;
    int vb_ = 0;
};

// One side of a rectangle: a run of bands goes from `left` to `right` or from `top` to `bottom`.
using Side = win32::LONG menu::tagrect::*;

// Bands `size` pixels deep from the `from` side towards the `to` side; what the truncated size
// leaves before the `to` side takes the last colour.
void bandsAlong(win32::HDC hdc, menu::tagrect rect, const Bands& bands, int size, Side from,
                Side to)
{
    const int start = rect.*from;
    const int end = rect.*to;
    for (int li = 1; li <= bands.steps(); ++li) {
        rect.*from = (li - 1) * size + start;
        rect.*to = rect.*from + size;
        menu::fillWith(hdc, rect, bands.at(li));
    }
    rect.*from = bands.steps() * size + start;
    rect.*to = end;
    menu::fillWith(hdc, rect, bands.last());
}

// Bands from the top and mirrored from the bottom edge. Each band also fills the whole middle
// between its top edge and its mirrored bottom edge, so the finished picture is symmetric:
// band k from the top and band k from the bottom show the k-th colour, the middle the last.
void edgeBands(win32::HDC hdc, menu::tagrect rect, const Bands& bands)
{
    const int t = rect.top;
    const int b = rect.bottom;
    const int height = divide(static_cast<int>((b - t) * 0.5), bands.steps());
    for (int li = 1; li <= bands.steps(); ++li) {
        rect.top = (li - 1) * height + t;
        rect.bottom = rect.top + height;
        const menu::tagrect middle{rect.left, rect.top, rect.right, b - (li - 1) * height};
        const win32::GdiObject brush(win32::CreateSolidBrush(bands.at(li)));
        win32::FillRect(hdc, &rect, brush.get());
        win32::FillRect(hdc, &middle, brush.get());
    }
}

} // namespace

void nvo_supermenu_class::of_fillwithgradient(win32::HDC hdc, tagrect rect, std::int32_t colorfrom,
                                              std::int32_t colorto)
{
    const auto look = static_cast<menu::Look>(menustyle);
    win32::SetBkMode(hdc, transparent);
    switch (look) {
    case menu::Look::VGradient: {
        const Bands bands(colorfrom, colorto, 19);
        bandsAlong(hdc, rect, bands, divide(rect.bottom - rect.top, bands.steps()), &tagrect::top,
                   &tagrect::bottom);
        return;
    }
    case menu::Look::VHeaderGradient: {
        // The bands cover the upper half; the lower half takes the last colour.
        const Bands bands(colorfrom, colorto, 10);
        const int half = static_cast<int>((rect.bottom - rect.top) * 0.5);
        bandsAlong(hdc, rect, bands, divide(half, bands.steps()), &tagrect::top, &tagrect::bottom);
        return;
    }
    case menu::Look::VEdgeGradient:
        edgeBands(hdc, rect, Bands(colorfrom, colorto, 10));
        return;
    default: {
        const Bands bands(colorfrom, colorto, 29);
        bandsAlong(hdc, rect, bands, divide(rect.right - rect.left, bands.steps()), &tagrect::left,
                   &tagrect::right);
        return;
    }
    }
}
