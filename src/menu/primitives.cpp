// The drawing primitives the item renderers share: item and shortcut text, the check mark box,
// a framed and filled rectangle, and splitting a colour into its parts.
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/gdi_scopes.h"
#include "host/win32/shapes.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "menu/nvo_supermenu_class.h"

namespace {

// Pixels between the item's right edge and the end of the shortcut text.
constexpr int kShortcutInset = 12;

void drawText(win32::HDC hdc, const std::string& text, menu::tagrect& rect, unsigned format)
{
    win32::DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

} // namespace

void nvo_supermenu_class::of_drawtext(win32::HDC hdc, const std::string& as_text,
                                      const std::string& as_shortcutkey, tagrect ast_rect,
                                      bool ab_enabled)
{
    tagrect& r = ast_rect;
    win32::SetBkMode(hdc, transparent);
    if (ab_enabled) {
        win32::SetTextColor(hdc, win32::GetSysColor(color_menutext));
        drawText(hdc, as_text, r, dt_left);
        r.right -= kShortcutInset;
        drawText(hdc, as_shortcutkey, r, dt_right);
        return;
    }
    // Embossed: a light copy one pixel right of and below a dark copy.
    win32::SetTextColor(hdc, win32::GetSysColor(color_btnhighlight));
    r.left += 1;
    r.top += 1;
    drawText(hdc, as_text, r, dt_vcenter);
    win32::SetTextColor(hdc, win32::GetSysColor(color_btnshadow));
    r.left -= 1;
    r.top -= 1;
    drawText(hdc, as_text, r, dt_vcenter);
    win32::SetTextColor(hdc, win32::GetSysColor(color_btnhighlight));
    r.right -= kShortcutInset;
    r.top += 1;
    drawText(hdc, as_shortcutkey, r, dt_right);
    win32::SetTextColor(hdc, win32::GetSysColor(color_btnshadow));
    r.left -= 1;
    r.top -= 1;
    drawText(hdc, as_shortcutkey, r, dt_right);
}

void nvo_supermenu_class::of_drawchecked(win32::HDC hdc, const tagrect& rect)
{
    const int l = rect.left;
    const int t = rect.top;
    const tagrect fillrect{l + 8, t + 9, l + 14, t + 14};
    {
        const win32::GdiObject hpen(
            win32::CreatePen(ps_solid, 1, win32::GetSysColor(color_activecaption)));
        const win32::SelectionScope selected(hdc, hpen.get());
        // The inside takes whatever brush the device context holds.
        win32::RoundRect(hdc, fillrect.left - 2, fillrect.top - 2, fillrect.right + 2,
                         fillrect.bottom + 2, 4, 4);
    }
    win32::FillRect(hdc, &fillrect, win32::GetSysColorBrush(color_highlight));
}

void nvo_supermenu_class::of_xprect(win32::HDC hdc, tagrect rect, std::int32_t al_pencolor,
                                    std::int32_t al_brushcolor)
{
    const int xp1 = rect.left;
    const int yp1 = rect.top;
    const int xp2 = rect.right;
    const int yp2 = rect.bottom;
    const win32::GdiObject hpen(
        win32::CreatePen(ps_solid, 1, static_cast<win32::COLORREF>(al_pencolor)));
    const win32::SelectionScope selectedPen(hdc, hpen.get());
    const win32::GdiObject hnewbrush(
        win32::CreateSolidBrush(static_cast<win32::COLORREF>(al_brushcolor)));
    const win32::SelectionScope selectedBrush(hdc, hnewbrush.get());
    win32::Rectangle(hdc, xp1, yp1, xp2, yp2);
}

void nvo_supermenu_class::of_color2rgb(std::int32_t lg_color, std::int16_t& r, std::int16_t& g,
                                       std::int16_t& b)
{
    // Floating-point division truncated toward zero, so a negative colour gives negative parts
    // instead of masked bytes.
    const auto blue = static_cast<std::int32_t>(static_cast<double>(lg_color) / 65536.0);
    const auto green =
        static_cast<std::int32_t>(static_cast<double>(lg_color - blue * 65536) / 256.0);
    const std::int32_t red = lg_color - green * 256 - blue * 65536;
    r = static_cast<std::int16_t>(red);
    g = static_cast<std::int16_t>(green);
    b = static_cast<std::int16_t>(blue);
}
