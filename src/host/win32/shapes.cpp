#include "host/win32/shapes.h"

#include "host/win32/dc_internal.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/system.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace win32 {

using namespace detail;

namespace {

// A rectangle with corners cut by quarter ellipses, rasterised row by row: a pixel belongs to
// the shape when its centre lies inside. Radii of 0 give the plain rectangle.
struct RoundedBox {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;
    double rx = 0;
    double ry = 0;

    [[nodiscard]] bool empty() const { return right <= left || bottom <= top; }

    // The columns [first, last] of row y inside the shape; first > last when there are none.
    [[nodiscard]] std::pair<int, int> span(int y) const
    {
        if (empty() || y < top || y >= bottom) {
            return {1, 0};
        }
        const double rowCentre = y + 0.5;
        double inset = 0;
        if (rx > 0 && ry > 0) {
            double dy = 0;
            if (rowCentre < top + ry) {
                dy = top + ry - rowCentre;
            } else if (rowCentre > bottom - ry) {
                dy = rowCentre - (bottom - ry);
            }
            if (dy > 0) {
                const double t = std::min(1.0, dy / ry);
                inset = rx - rx * std::sqrt(1.0 - t * t);
            }
        }
        const int first = static_cast<int>(std::ceil(left + inset - 0.5));
        const int last = static_cast<int>(std::floor(right - inset - 0.5));
        return {first, last};
    }

    [[nodiscard]] RoundedBox shrunk(int by) const
    {
        return {left + by,
                top + by,
                right - by,
                bottom - by,
                std::max(0.0, rx - by),
                std::max(0.0, ry - by)};
    }
};

void fillRow(QPainter& painter, int y, int first, int last, const QColor& color)
{
    if (first <= last) {
        painter.fillRect(QRect(first, y, last - first + 1, 1), color);
    }
}

// The shared rule of Rectangle and RoundRect: pen outline inside the box, brush inside it.
BOOL drawBox(HDC dc, int left, int top, int right, int bottom, int width, int height)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    const PenObject pen = currentPen(*context);
    const std::optional<QColor> brush = currentBrushColor(*context);
    const bool outlined = pen.style != PS_NULL;
    // Without an outline Win32 fills one pixel less to the right and at the bottom.
    RoundedBox outer{left,
                     top,
                     right - (outlined ? 0 : 1),
                     bottom - (outlined ? 0 : 1),
                     std::abs(width) / 2.0,
                     std::abs(height) / 2.0};
    const RoundedBox inner = outlined ? outer.shrunk(pen.width) : outer;
    const QColor penColor = toQColor(pen.color);
    paintOn(*context, [&](QPainter& painter) {
        for (int y = outer.top; y < outer.bottom; ++y) {
            const auto [first, last] = outer.span(y);
            const auto [innerFirst, innerLast] = inner.span(y);
            if (brush && innerFirst <= innerLast) {
                fillRow(painter, y, innerFirst, innerLast, *brush);
            }
            if (!outlined) {
                continue;
            }
            if (innerFirst > innerLast) {
                fillRow(painter, y, first, last, penColor);
            } else {
                fillRow(painter, y, first, innerFirst - 1, penColor);
                fillRow(painter, y, innerLast + 1, last, penColor);
            }
        }
    });
    return 1;
}

// The pixels of a line from (x0, y0) to (x1, y1) without the end point, by Bresenham's rule.
void plotLine(QPainter& painter, int x0, int y0, int x1, int y1, const QColor& color)
{
    if (y0 == y1) {
        const int first = std::min(x0, x1 + (x1 < x0 ? 1 : 0));
        const int last = std::max(x0, x1 - (x1 > x0 ? 1 : 0));
        if (x0 != x1) {
            painter.fillRect(QRect(first, y0, last - first + 1, 1), color);
        }
        return;
    }
    if (x0 == x1) {
        const int first = std::min(y0, y1 + (y1 < y0 ? 1 : 0));
        const int last = std::max(y0, y1 - (y1 > y0 ? 1 : 0));
        painter.fillRect(QRect(x0, first, 1, last - first + 1), color);
        return;
    }
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        painter.fillRect(QRect(x, y, 1, 1), color);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

// Colours of one edge line per BDR_ bit pattern: top-left and bottom-right, as Win32 picks
// them. A single line (inner or outer bit only) takes the outer table at its pattern.
struct EdgeColours {
    int topLeft = -1;
    int bottomRight = -1;
};

EdgeColours outerColours(UINT edge)
{
    switch (edge & BDR_OUTER) {
    case BDR_RAISEDOUTER:
        return {COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    case BDR_SUNKENOUTER:
        return {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    default:
        break;
    }
    // No outer bits: the inner line is drawn as the outermost line.
    switch (edge & BDR_INNER) {
    case BDR_RAISEDINNER:
        return {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    case BDR_SUNKENINNER:
        return {COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    default:
        return {};
    }
}

EdgeColours innerColours(UINT edge)
{
    if ((edge & BDR_OUTER) == 0) {
        return {}; // already drawn as the outer line
    }
    switch (edge & BDR_INNER) {
    case BDR_RAISEDINNER:
        return {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    case BDR_SUNKENINNER:
        return {COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    default:
        return {};
    }
}

// Draws one ring of edge lines inside `box` and moves the flagged sides of `box` inwards.
// With no painter only `box` moves (a DC without pixels still answers BF_ADJUST).
void drawEdgeRing(QPainter* painter, RECT& box, UINT flags, EdgeColours colours)
{
    if (colours.topLeft < 0 && colours.bottomRight < 0) {
        return;
    }
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    if (painter != nullptr) {
        const QColor topLeft = toQColor(GetSysColor(colours.topLeft));
        const QColor bottomRight = toQColor(GetSysColor(colours.bottomRight));
        // Top and left first, then bottom and right over them, so the top-right and
        // bottom-left corner pixels take the bottom-right colour.
        if ((flags & BF_TOP) != 0) {
            painter->fillRect(QRect(box.left, box.top, width, 1), topLeft);
        }
        if ((flags & BF_LEFT) != 0) {
            painter->fillRect(QRect(box.left, box.top, 1, height), topLeft);
        }
        if ((flags & BF_BOTTOM) != 0) {
            painter->fillRect(QRect(box.left, box.bottom - 1, width, 1), bottomRight);
        }
        if ((flags & BF_RIGHT) != 0) {
            painter->fillRect(QRect(box.right - 1, box.top, 1, height), bottomRight);
        }
    }
    box.left += (flags & BF_LEFT) != 0 ? 1 : 0;
    box.top += (flags & BF_TOP) != 0 ? 1 : 0;
    box.right -= (flags & BF_RIGHT) != 0 ? 1 : 0;
    box.bottom -= (flags & BF_BOTTOM) != 0 ? 1 : 0;
}

} // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    DeviceContext* context = findDC(dc);
    const BrushObject* object = findBrush(brush);
    if (context == nullptr || rect == nullptr || object == nullptr) {
        return 0;
    }
    const std::optional<QColor> color = object->paint();
    if (!color || rect->right <= rect->left || rect->bottom <= rect->top) {
        return 1;
    }
    paintOn(*context, [&](QPainter& painter) {
        painter.fillRect(
            QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
            *color);
    });
    return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    return drawBox(dc, left, top, right, bottom, 0, 0);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height)
{
    return drawBox(dc, left, top, right, bottom, width, height);
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    if (previous != nullptr) {
        *previous = context->state.position;
    }
    context->state.position = {x, y};
    return 1;
}

BOOL LineTo(HDC dc, int x, int y)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    const POINT from = context->state.position;
    context->state.position = {x, y};
    const PenObject pen = currentPen(*context);
    if (pen.style == PS_NULL) {
        return 1;
    }
    const QColor color = toQColor(pen.color);
    paintOn(*context, [&](QPainter& painter) {
        if (pen.width <= 1) {
            plotLine(painter, from.x, from.y, x, y, color);
            return;
        }
        // Wide pens are centred on the line with round ends, as Win32 geometric pens default to.
        painter.setPen(QPen(color, pen.width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPoint(from.x, from.y), QPoint(x, y));
    });
    return 1;
}

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr || rect == nullptr) {
        return 0;
    }
    RECT box = *rect;
    EdgeColours outer = outerColours(edge);
    EdgeColours inner = innerColours(edge);
    int middle = COLOR_BTNFACE;
    if ((flags & BF_MONO) != 0) {
        outer = {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
        inner = (edge & BDR_INNER) != 0 && (edge & BDR_OUTER) != 0
                    ? EdgeColours{COLOR_WINDOW, COLOR_WINDOW}
                    : EdgeColours{};
        middle = COLOR_WINDOW;
    } else if ((flags & BF_FLAT) != 0) {
        outer = {COLOR_BTNSHADOW, COLOR_BTNSHADOW};
        inner = (edge & BDR_INNER) != 0 && (edge & BDR_OUTER) != 0
                    ? EdgeColours{COLOR_BTNFACE, COLOR_BTNFACE}
                    : EdgeColours{};
    }
    auto draw = [&](QPainter* painter) {
        drawEdgeRing(painter, box, flags, outer);
        drawEdgeRing(painter, box, flags, inner);
        if (painter != nullptr && (flags & BF_MIDDLE) != 0 && box.right > box.left &&
            box.bottom > box.top) {
            painter->fillRect(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                              toQColor(GetSysColor(middle)));
        }
    };
    if (!paintOn(*context, [&](QPainter& painter) { draw(&painter); })) {
        draw(nullptr);
    }
    if ((flags & BF_ADJUST) != 0) {
        *rect = box;
    }
    return 1;
}

} // namespace win32
