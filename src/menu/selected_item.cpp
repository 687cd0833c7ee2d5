// Selected items: one popup item in its highlighted state, in one of the eleven looks, then its
// texts. Whatever a look does not cover keeps what the normal rendering drew.
#include "host/toolkit/menu_item.h"
#include "host/win32/dc.h"
#include "host/win32/icons.h"
#include "host/win32/shapes.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "menu/item_painting.h"
#include "menu/nvo_supermenu_class.h"

namespace {

using menu::Look;

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

void nvo_supermenu_class::paintSelected(const menu::ItemContext& c, Look look)
{
    const win32::HDC hdc = c.dc;
    const int l = c.l;
    const int t = c.t;
    const int r = c.r;
    const int b = c.b;
    const bool bare = c.icon == 0 && !c.item.checked();

    // The check mark, or else the icon, drawn again over the highlight.
    const auto markOrIcon = [&](int offset) {
        if (c.item.checked()) {
            of_drawchecked(hdc, c.rect);
        } else if (c.icon > 0) {
            win32::DrawIconEx(hdc, l + offset, t + offset, c.icon, 16, 16, 0, 0, 3);
        }
    };

    switch (look) {
    case Look::Normal:
        win32::FillRect(hdc, &c.rect, win32::GetSysColorBrush(color_highlight));
        markOrIcon(3);
        win32::SetTextColor(hdc, win32::GetSysColor(color_highlighttext));
        break;
    case Look::Office2k:
    case Look::Style3: {
        // A raised frame around the icon column, the text area highlighted beside it.
        tagrect rtmp{l + 1, t, l + 21, b};
        win32::DrawEdge(hdc, &rtmp, kRaisedInner, kAllSides);
        rtmp.left += 22;
        rtmp.right = r - 1;
        if (look == Look::Office2k) {
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
    case Look::Gradient:
    case Look::VGradient:
    case Look::VHeaderGradient:
    case Look::VEdgeGradient: {
        tagrect rtmp{l + 1, t, l + 21, b};
        win32::DrawEdge(hdc, &rtmp, kRaisedInner, kAllSides);
        rtmp.right = r - 1;
        rtmp.left = bare ? l : rtmp.left + 22;
        of_fillwithgradient(hdc, rtmp, color_start, color_end);
        win32::SetTextColor(hdc, win32::GetSysColor(color_highlighttext));
        break;
    }
    case Look::OfficeXp:
    case Look::OfficeXp2:
    case Look::TerminalXp: {
        // The colours follow the engine's own look, not the one asked for.
        if (c.engineLook == Look::OfficeXp) {
            of_xprect(hdc, c.rect, kOfficeXp.frame, kOfficeXp.fill);
        } else if (c.engineLook == Look::OfficeXp2) {
            of_xprect(hdc, c.rect, kOfficeXp2.frame, kOfficeXp2.fill);
        } else if (c.engineLook == Look::TerminalXp) {
            of_xprect(hdc, c.rect, kTerminalXp.frame, kTerminalXp.fill);
        }
        markOrIcon(2);
        break;
    }
    case Look::ColorInfobk: {
        const tagrect rtmp{l + 22, t + 1, r - 2, b - 1};
        of_xprect(hdc, rtmp, 0x000000, static_cast<std::int32_t>(win32::GetSysColor(color_infobk)));
        markOrIcon(2);
        break;
    }
    default:
        break;
    }

    c.rect.left = l + 24;
    c.rect.top = t + 4;
    win32::SetBkMode(hdc, transparent);
    win32::DrawTextA(hdc, c.name.c_str(), static_cast<int>(c.name.size()), &c.rect, dt_vcenter);
    c.rect.right = r - 12;
    win32::DrawTextA(hdc, c.shortcut.c_str(), static_cast<int>(c.shortcut.size()), &c.rect,
                     dt_right);
}
