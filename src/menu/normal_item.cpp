// Normal items: one popup item in its not-highlighted state, painted as its background, its
// icon column, the separator line, the check mark or icon, and its texts.
#include "host/toolkit/menu_item.h"
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/gdi_scopes.h"
#include "host/win32/icons.h"
#include "host/win32/shapes.h"
#include "host/win32/system.h"
#include "menu/item_painting.h"
#include "menu/nvo_supermenu_class.h"

namespace {

using menu::Background;

constexpr win32::COLORREF kWhiteColumn = 0xF0F0F0;     // RGB 240, 240, 240
constexpr win32::COLORREF kWhiteColumnLine = 0xC8C8C8; // RGB 200, 200, 200
constexpr win32::COLORREF kGrayItem = 0xEBE3DD;        // RGB 221, 227, 235
constexpr win32::COLORREF kGrayColumn = 0xBAAB9C;      // RGB 156, 171, 186
constexpr win32::COLORREF kGrayColumnLine = 0x93887F;  // RGB 127, 136, 147
constexpr win32::COLORREF kLightSeparator = 0x99A8AC;  // RGB 172, 168, 153
constexpr win32::COLORREF kDarkSeparator = 0x808080;   // RGB 128, 128, 128

void line(win32::HDC hdc, int x1, int y1, int x2, int y2)
{
    win32::MoveToEx(hdc, x1, y1, nullptr);
    win32::LineTo(hdc, x2, y2);
}

// The icon column's lines of the two gray backgrounds: its left edge, a line on row 0 of the
// device context (the popup's top edge, whatever the item's own top), and its right edge.
void grayColumnLines(win32::HDC hdc, const menu::tagrect& rtmp)
{
    const win32::GdiObject hpen(win32::CreatePen(0, 0, kGrayColumnLine));
    const win32::SelectionScope selected(hdc, hpen.get());
    line(hdc, rtmp.left, rtmp.top, rtmp.left, rtmp.bottom);
    line(hdc, rtmp.left, 0, rtmp.right - 1, 0);
    line(hdc, rtmp.left + 20, rtmp.top, rtmp.left + 20, rtmp.bottom);
}

void penLine(win32::HDC hdc, win32::HPEN hpen, int x1, int y, int x2)
{
    const win32::SelectionScope selected(hdc, hpen);
    line(hdc, x1, y, x2, y);
}

// The item's background and its icon column.
void paintBackground(const menu::ItemContext& c, Background background)
{
    const win32::HDC hdc = c.dc;
    switch (background) {
    case Background::White: {
        win32::FillRect(hdc, &c.rect, win32::GetStockObject(win32::WHITE_BRUSH));
        const menu::tagrect rtmp{c.l, c.t, c.l + 20, c.b};
        menu::fillWith(hdc, rtmp, kWhiteColumn);
        const win32::GdiObject hpen(win32::CreatePen(0, 0, kWhiteColumnLine));
        const win32::SelectionScope selected(hdc, hpen.get());
        line(hdc, rtmp.left, rtmp.top, rtmp.left, rtmp.bottom);
        line(hdc, rtmp.right, rtmp.top, rtmp.right, rtmp.bottom);
        break;
    }
    case Background::Gray: {
        menu::fillWith(hdc, c.rect, kGrayItem);
        const menu::tagrect rtmp{c.l, c.t, c.l + 20, c.b};
        menu::fillWith(hdc, rtmp, kGrayColumn);
        grayColumnLines(hdc, rtmp);
        break;
    }
    case Background::GrayXp: {
        win32::FillRect(hdc, &c.rect, win32::GetStockObject(win32::WHITE_BRUSH));
        const menu::tagrect rtmp{c.l, c.t, c.l + 20, c.b};
        win32::FillRect(hdc, &rtmp, win32::GetStockObject(win32::LTGRAY_BRUSH));
        grayColumnLines(hdc, rtmp);
        break;
    }
    case Background::Amb: {
        win32::FillRect(hdc, &c.rect, win32::GetStockObject(win32::WHITE_BRUSH));
        const menu::tagrect rtmp{c.l, c.t, c.l + 22, c.b};
        win32::FillRect(hdc, &rtmp, win32::GetSysColorBrush(win32::COLOR_BTNFACE));
        break;
    }
    case Background::Normal:
    default:
        win32::FillRect(hdc, &c.rect, win32::GetSysColorBrush(win32::COLOR_MENU));
        break;
    }
}

// A separator's line across the middle: a single light line under the light backgrounds, else
// an etched pair. The engine's own background decides, whatever background was painted.
void paintSeparator(const menu::ItemContext& c)
{
    int li_middpos = static_cast<int>((c.t + c.b) * 0.5);
    const Background engine = c.engineBackground;
    if (engine == Background::White || engine == Background::Gray || engine == Background::GrayXp) {
        const win32::GdiObject hpen(win32::CreatePen(0, 0, kLightSeparator));
        penLine(c.dc, hpen.get(), c.l + 22, li_middpos, c.r);
        return;
    }
    {
        const win32::GdiObject hpen(win32::CreatePen(0, 0, kDarkSeparator));
        penLine(c.dc, hpen.get(), c.l - 4, li_middpos, c.r - 1);
    }
    li_middpos += 1;
    penLine(c.dc, win32::GetStockObject(win32::WHITE_PEN), c.l - 4, li_middpos, c.r - 1);
}

} // namespace

void nvo_supermenu_class::paintNormal(const menu::ItemContext& c, Background background)
{
    paintBackground(c, background);

    if (c.item.enabled()) {
        if (c.item.checked()) {
            of_drawchecked(c.dc, c.rect);
        } else if (c.icon > 0) {
            win32::DrawIconEx(c.dc, c.l + 3, c.t + 3, c.icon, 16, 16, 0, 0, 3);
        }
        c.rect.left = c.l + 24;
        c.rect.top = c.t + 4;
        of_drawtext(c.dc, c.name, c.shortcut, c.rect, true);
        return;
    }

    // Disabled items, separators among them (registration disables every "-" item).
    if (c.name == "-") {
        paintSeparator(c);
    }
    if (c.icon > 0) {
        win32::DrawStateA(c.dc, 0, nullptr, static_cast<win32::LPARAM>(c.icon), 0, c.l + 3, c.t + 3,
                          16, 16, dst_icon | dss_disabled);
    }
    c.rect.left = c.l + 24;
    c.rect.top = c.t + 4;
    of_drawtext(c.dc, c.name, c.shortcut, c.rect, false);
}

void nvo_supermenu_class::of_drawfirstlevelmenu(menu::zdrawitemstruct& /*ast_drawitemstruct*/,
                                                ust_menuinfo& /*ast_menuinfo*/)
{
    // Menu-bar items are never owner-drawn, so there is nothing to paint here.
}
