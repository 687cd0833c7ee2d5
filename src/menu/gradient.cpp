// Gradient fills: a rectangle painted as a fixed number of solid bands stepping from one colour
// towards another, across (horizontal) or down (vertical, header, edge) the rectangle.
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/shapes.h"
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

void fillWith(std::uint32_t hdc, const menu::tagrect& rect, std::int32_t colour)
{
    const win32::HBRUSH hbrush = win32::CreateSolidBrush(static_cast<win32::COLORREF>(colour));
    win32::FillRect(hdc, &rect, hbrush);
    win32::DeleteObject(hbrush);
}

enum class Layout { Horizontal, Vertical, Header, Edge };

} // namespace

void nvo_supermenu_class::of_fillwithgradient(std::uint32_t hdc, tagrect rect,
                                              std::int32_t colorfrom, std::int32_t colorto)
{
    const int l = rect.left;
    const int t = rect.top;
    const int r = rect.right;
    const int b = rect.bottom;
    Layout layout = Layout::Horizontal;
    int li_steps = 29;
    if (menustyle == style_vgradient) {
        layout = Layout::Vertical;
        li_steps = 19;
    } else if (menustyle == style_vheadergradient) {
        layout = Layout::Header;
        li_steps = 10;
    } else if (menustyle == style_vedgegradient) {
        layout = Layout::Edge;
        li_steps = 10;
    }

    tagrect rect2 = rect;
    int li_width = 0;
    int li_halfwidth = 0;
    switch (layout) {
    case Layout::Horizontal:
        li_width = divide(r - l, li_steps);
        break;
    case Layout::Vertical:
        li_width = divide(b - t, li_steps);
        break;
    case Layout::Header:
        li_halfwidth = static_cast<int>((b - t) * 0.5);
        rect.bottom = t + li_halfwidth;
        li_width = divide(rect.bottom - rect.top, li_steps);
        break;
    case Layout::Edge:
        li_halfwidth = static_cast<int>((b - t) * 0.5);
        rect.bottom = t + li_halfwidth;
        rect2.top = b - li_halfwidth;
        li_width = divide(li_halfwidth, li_steps);
        break;
    }

    std::int16_t r1 = 0;
    std::int16_t g1 = 0;
    std::int16_t b1 = 0;
    std::int16_t r2 = 0;
    std::int16_t g2 = 0;
    std::int16_t b2 = 0;
    of_color2rgb(colorfrom, r1, g1, b1);
    of_color2rgb(colorto, r2, g2, b2);
    const int vr = stepOf(r1, r2, li_steps);
    const int vg = stepOf(g1, g2, li_steps);
    const int vb = stepOf(b1, b2, li_steps);
    win32::SetBkMode(hdc, transparent);

    std::int32_t ll_rgb = colorfrom;
    for (int li = 1; li <= li_steps; ++li) {
        const int red = r1 + li * vr;
        const int green = g1 + li * vg;
        const int blue = b1 + li * vb;
        ll_rgb = red + 256 * green + 65536 * blue;
        switch (layout) {
        case Layout::Horizontal:
            rect.left = (li - 1) * li_width + l;
            rect.right = rect.left + li_width;
            break;
        case Layout::Vertical:
        case Layout::Header:
        case Layout::Edge:
            rect.top = (li - 1) * li_width + t;
            rect.bottom = rect.top + li_width;
            break;
        }
        if (layout != Layout::Edge) {
            fillWith(hdc, rect, ll_rgb);
            continue;
        }
        rect2.top = b - (li - 1) * li_width;
        rect2.bottom = rect.bottom - li_width;
        // rect2 runs from the mirrored bottom edge up to the band's own top edge, upside down.
        // It is filled as the rectangle between those two edges, so each band paints the whole
        // remaining middle and the finished picture is symmetric: band k from the top and band
        // k from the bottom show the k-th colour, the middle the tenth.
        const tagrect lower{rect2.left, rect2.bottom, rect2.right, rect2.top};
        const win32::HBRUSH hbrush = win32::CreateSolidBrush(static_cast<win32::COLORREF>(ll_rgb));
        win32::FillRect(hdc, &rect, hbrush);
        win32::FillRect(hdc, &lower, hbrush);
        win32::DeleteObject(hbrush);
    }

    // The pixels the truncated band size left over take the last band's colour.
    switch (layout) {
    case Layout::Horizontal:
        rect.left = li_steps * li_width + l;
        rect.right = r;
        fillWith(hdc, rect, ll_rgb);
        break;
    case Layout::Vertical:
    case Layout::Header:
        rect.top = li_steps * li_width + t;
        rect.bottom = b;
        fillWith(hdc, rect, ll_rgb);
        break;
    case Layout::Edge:
        break;
    }
}
