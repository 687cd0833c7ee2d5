// Normal items: one popup item in its not-highlighted state, painted as its background, its
// icon column, the separator line, the check mark or icon, and its texts.
#include "host/toolkit/menu_item.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/icons.h"
#include "host/win32/shapes.h"
#include "host/win32/system.h"
#include "menu/item_text.h"
#include "menu/nvo_supermenu_class.h"

namespace {

constexpr win32::COLORREF kWhiteColumn = 0xF0F0F0;     // RGB 240, 240, 240
constexpr win32::COLORREF kWhiteColumnLine = 0xC8C8C8; // RGB 200, 200, 200
constexpr win32::COLORREF kGrayItem = 0xEBE3DD;        // RGB 221, 227, 235
constexpr win32::COLORREF kGrayColumn = 0xBAAB9C;      // RGB 156, 171, 186
constexpr win32::COLORREF kGrayColumnLine = 0x93887F;  // RGB 127, 136, 147
constexpr win32::COLORREF kLightSeparator = 0x99A8AC;  // RGB 172, 168, 153
constexpr win32::COLORREF kDarkSeparator = 0x808080;   // RGB 128, 128, 128

void fillWith(std::uint32_t hdc, const menu::tagrect& rect, win32::COLORREF colour)
{
    const win32::HBRUSH hbrush = win32::CreateSolidBrush(colour);
    win32::FillRect(hdc, &rect, hbrush);
    win32::DeleteObject(hbrush);
}

void line(std::uint32_t hdc, int x1, int y1, int x2, int y2)
{
    win32::MoveToEx(hdc, x1, y1, nullptr);
    win32::LineTo(hdc, x2, y2);
}

// The icon column's lines of the two gray backgrounds: its left edge, a line on row 0 of the
// device context (the popup's top edge, whatever the item's own top), and its right edge.
void grayColumnLines(std::uint32_t hdc, const menu::tagrect& rtmp)
{
    const win32::HPEN hpen = win32::CreatePen(0, 0, kGrayColumnLine);
    const win32::HGDIOBJ holdpen = win32::SelectObject(hdc, hpen);
    line(hdc, rtmp.left, rtmp.top, rtmp.left, rtmp.bottom);
    line(hdc, rtmp.left, 0, rtmp.right - 1, 0);
    line(hdc, rtmp.left + 20, rtmp.top, rtmp.left + 20, rtmp.bottom);
    win32::SelectObject(hdc, holdpen);
    win32::DeleteObject(hpen);
}

void penLine(std::uint32_t hdc, win32::HPEN hpen, int x1, int y, int x2)
{
    const win32::HGDIOBJ holdpen = win32::SelectObject(hdc, hpen);
    line(hdc, x1, y, x2, y);
    win32::SelectObject(hdc, holdpen);
}

} // namespace

void nvo_supermenu_class::of_drawnormalitem(std::int16_t ai_menubkstyle, std::uint32_t hdc,
                                            tagrect& ast_rect, const ust_menuinfo& ast_menuinfo)
{
    const host::MenuItem* lm_menupt = ast_menuinfo.menupt;
    if (lm_menupt == nullptr) {
        throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                 "Null object reference in of_drawnormalitem");
    }
    const std::string ls_itemname = menu::drawnItemName(*lm_menupt, menubkstyle);
    const std::uint32_t hicon = ast_menuinfo.hicon;
    const std::string& ls_shortcutkey = ast_menuinfo.shortcutkey;
    const int l = ast_rect.left;
    const int t = ast_rect.top;
    const int r = ast_rect.right;
    const int b = ast_rect.bottom;

    switch (ai_menubkstyle) {
    case style_bkwhite: {
        win32::FillRect(hdc, &ast_rect, win32::GetStockObject(white_brush));
        const tagrect rtmp{l, t, l + 20, b};
        fillWith(hdc, rtmp, kWhiteColumn);
        const win32::HPEN hpen = win32::CreatePen(0, 0, kWhiteColumnLine);
        const win32::HGDIOBJ holdpen = win32::SelectObject(hdc, hpen);
        line(hdc, rtmp.left, rtmp.top, rtmp.left, rtmp.bottom);
        line(hdc, rtmp.right, rtmp.top, rtmp.right, rtmp.bottom);
        win32::SelectObject(hdc, holdpen);
        win32::DeleteObject(hpen);
        break;
    }
    case style_bkgray: {
        fillWith(hdc, ast_rect, kGrayItem);
        const tagrect rtmp{l, t, l + 20, b};
        fillWith(hdc, rtmp, kGrayColumn);
        grayColumnLines(hdc, rtmp);
        break;
    }
    case style_bkgray_xp: {
        win32::FillRect(hdc, &ast_rect, win32::GetStockObject(white_brush));
        const tagrect rtmp{l, t, l + 20, b};
        win32::FillRect(hdc, &rtmp, win32::GetStockObject(win32::LTGRAY_BRUSH));
        grayColumnLines(hdc, rtmp);
        break;
    }
    case style_bkamb: {
        win32::FillRect(hdc, &ast_rect, win32::GetStockObject(white_brush));
        const tagrect rtmp{l, t, l + 22, b};
        win32::FillRect(hdc, &rtmp, win32::GetSysColorBrush(color_btnface));
        break;
    }
    default:
        win32::FillRect(hdc, &ast_rect, win32::GetSysColorBrush(color_menu));
        break;
    }

    if (lm_menupt->enabled()) {
        if (lm_menupt->checked()) {
            of_drawchecked(hdc, ast_rect);
        } else if (hicon > 0) {
            win32::DrawIconEx(hdc, l + 3, t + 3, hicon, 16, 16, 0, 0, 3);
        }
        ast_rect.left = l + 24;
        ast_rect.top = t + 4;
        of_drawtext(hdc, ls_itemname, ls_shortcutkey, ast_rect, true);
        return;
    }

    // Disabled items, separators among them (registration disables every "-" item).
    if (ls_itemname == "-") {
        int li_middpos = static_cast<int>((t + b) * 0.5);
        if (menubkstyle == style_bkwhite || menubkstyle == style_bkgray ||
            menubkstyle == style_bkgray_xp) {
            const win32::HPEN hpen = win32::CreatePen(0, 0, kLightSeparator);
            penLine(hdc, hpen, l + 22, li_middpos, r);
            win32::DeleteObject(hpen);
        } else {
            const win32::HPEN hpen = win32::CreatePen(0, 0, kDarkSeparator);
            penLine(hdc, hpen, l - 4, li_middpos, r - 1);
            win32::DeleteObject(hpen);
            li_middpos += 1;
            penLine(hdc, win32::GetStockObject(white_pen), l - 4, li_middpos, r - 1);
        }
    }
    if (hicon > 0) {
        win32::DrawStateA(hdc, 0, nullptr, static_cast<win32::LPARAM>(hicon), 0, l + 3, t + 3, 16,
                          16, dst_icon | dss_disabled);
    }
    ast_rect.left = l + 24;
    ast_rect.top = t + 4;
    of_drawtext(hdc, ls_itemname, ls_shortcutkey, ast_rect, false);
}

void nvo_supermenu_class::of_drawfirstlevelmenu(menu::zdrawitemstruct& /*ast_drawitemstruct*/,
                                                ust_menuinfo& /*ast_menuinfo*/)
{
    // Menu-bar items are never owner-drawn, so there is nothing to paint here.
}
