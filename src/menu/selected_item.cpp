// Selected items: one popup item in its highlighted state, in one of the eleven looks, then its
// texts. Whatever a look does not cover keeps what the normal rendering drew.
#include "host/toolkit/menu_item.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/dc.h"
#include "host/win32/icons.h"
#include "host/win32/shapes.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "menu/item_text.h"
#include "menu/nvo_supermenu_class.h"

namespace {

struct XpColours {
    std::int32_t frame;
    std::int32_t fill;
};

constexpr XpColours kOfficeXp{0xA55050, 0xD7B9B9};   // RGB 80, 80, 165 / 185, 185, 215
constexpr XpColours kOfficeXp2{0x0683FF, 0x88C4FF};  // RGB 255, 131, 6 / 255, 196, 136
constexpr XpColours kTerminalXp{0x000000, 0xC0C0C0}; // RGB 0, 0, 0 / 192, 192, 192

constexpr unsigned kRaisedInner = 4; // BDR_RAISEDINNER
constexpr unsigned kAllSides = 15;   // BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM

} // namespace

void nvo_supermenu_class::of_drawselectitem(std::int16_t ai_menustyle, std::uint32_t hdc,
                                            tagrect& ast_rect, const ust_menuinfo& ast_menuinfo)
{
    const host::MenuItem* lm_menupt = ast_menuinfo.menupt;
    if (lm_menupt == nullptr) {
        throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                 "Null object reference in of_drawselectitem");
    }
    const std::string ls_itemname = menu::drawnItemName(*lm_menupt, menubkstyle);
    const std::uint32_t hicon = ast_menuinfo.hicon;
    const std::string& ls_shortcutkey = ast_menuinfo.shortcutkey;
    const int l = ast_rect.left;
    const int t = ast_rect.top;
    const int r = ast_rect.right;
    const int b = ast_rect.bottom;
    const bool bare = hicon == 0 && !lm_menupt->checked();

    // The check mark, or else the icon, drawn again over the highlight.
    const auto markOrIcon = [&](int offset) {
        if (lm_menupt->checked()) {
            of_drawchecked(hdc, ast_rect);
        } else if (hicon > 0) {
            win32::DrawIconEx(hdc, l + offset, t + offset, hicon, 16, 16, 0, 0, 3);
        }
    };

    switch (ai_menustyle) {
    case style_normal:
        win32::FillRect(hdc, &ast_rect, win32::GetSysColorBrush(color_highlight));
        markOrIcon(3);
        win32::SetTextColor(hdc, win32::GetSysColor(color_highlighttext));
        break;
    case style_office2k:
    case style_style3: {
        // A raised frame around the icon column, the text area highlighted beside it.
        tagrect rtmp{l + 1, t, l + 21, b};
        win32::DrawEdge(hdc, &rtmp, kRaisedInner, kAllSides);
        rtmp.left += 22;
        rtmp.right = r - 1;
        if (ai_menustyle == style_office2k) {
            if (bare) {
                rtmp.left = l;
            }
            win32::FillRect(hdc, &rtmp, win32::GetSysColorBrush(color_highlight));
        } else {
            if (bare) {
                // The device context's own left edge, not the item's.
                rtmp.left = 0;
            }
            win32::FillRect(hdc, &rtmp, win32::GetSysColorBrush(color_background));
        }
        win32::SetTextColor(hdc, win32::GetSysColor(color_highlighttext));
        break;
    }
    case style_gradient:
    case style_vgradient:
    case style_vheadergradient:
    case style_vedgegradient: {
        tagrect rtmp{l + 1, t, l + 21, b};
        win32::DrawEdge(hdc, &rtmp, kRaisedInner, kAllSides);
        rtmp.right = r - 1;
        rtmp.left = bare ? l : rtmp.left + 22;
        of_fillwithgradient(hdc, rtmp, color_start, color_end);
        win32::SetTextColor(hdc, win32::GetSysColor(color_highlighttext));
        break;
    }
    case style_officexp:
    case style_officexp2:
    case style_terminal_xp: {
        // The colours follow the engine's own look, which of_drawitem passes as ai_menustyle.
        if (menustyle == style_officexp) {
            of_xprect(hdc, ast_rect, kOfficeXp.frame, kOfficeXp.fill);
        } else if (menustyle == style_officexp2) {
            of_xprect(hdc, ast_rect, kOfficeXp2.frame, kOfficeXp2.fill);
        } else if (menustyle == style_terminal_xp) {
            of_xprect(hdc, ast_rect, kTerminalXp.frame, kTerminalXp.fill);
        }
        markOrIcon(2);
        break;
    }
    case style_color_infobk: {
        const tagrect rtmp{l + 22, t + 1, r - 2, b - 1};
        of_xprect(hdc, rtmp, 0x000000, static_cast<std::int32_t>(win32::GetSysColor(color_infobk)));
        markOrIcon(2);
        break;
    }
    default:
        break;
    }

    ast_rect.left = l + 24;
    ast_rect.top = t + 4;
    win32::SetBkMode(hdc, transparent);
    win32::DrawTextA(hdc, ls_itemname.c_str(), static_cast<int>(ls_itemname.size()), &ast_rect,
                     dt_vcenter);
    ast_rect.right = r - 12;
    win32::DrawTextA(hdc, ls_shortcutkey.c_str(), static_cast<int>(ls_shortcutkey.size()),
                     &ast_rect, dt_right);
}
