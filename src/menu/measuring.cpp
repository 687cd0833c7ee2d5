// Measuring: the size of an owner-drawn item for the window's size request, and the engine's
// font routines.
#include "host/toolkit/menu_item.h"
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/gdi_scopes.h"
#include "host/win32/memory.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "menu/nvo_supermenu_class.h"
#include "menu/require.h"
#include "menu/text_rules.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using menu::require;

constexpr std::size_t kMeasureRecordSize = 24;

// The face name of the DC's font, as the first n + 1 bytes of a buffer of 255 spaces that
// GetTextFaceA wrote n bytes and a terminator into; copied into a font request.
void copyFaceName(win32::HDC hdc, menu::logfont& font)
{
    std::array<char, 256> buffer{};
    std::fill_n(buffer.begin(), 255, ' ');
    const int n = win32::GetTextFaceA(hdc, 255, buffer.data());
    const std::size_t length =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), sizeof font.lfFaceName - 1);
    std::memcpy(font.lfFaceName, buffer.data(), length);
    font.lfFaceName[length] = '\0';
}

} // namespace

void nvo_supermenu_class::of_measureitem(std::uint32_t /*childid*/,
                                         win32::MEASUREITEMSTRUCT* measureitemstruct)
{
    require(measureitemstruct, "of_measureitem");
    menu::measureitemstruct request;
    win32::RtlMoveMemory(&request, measureitemstruct, kMeasureRecordSize);
    if (request.ctltype != 1 || request.itemdata == 0) {
        return;
    }
    const std::int16_t row = of_find_byid(request.itemdata);
    if (row == 0) {
        return;
    }
    const ust_menuinfo& record = ist_menuinfo[static_cast<std::size_t>(row - 1)];
    const host::MenuItem& item = require(record.menupt, "of_measureitem");
    std::string text = menu::trimSpaces(item.text());
    if (text.find('\t') == std::string::npos) {
        text += record.shortcutkey;
    }
    if (item.text() != "-") {
        request.itemheight = win32::GetSystemMetrics(sm_cymenu) + 3;
        const win32::HDC hdc = win32::GetDC(il_winhandle);
        menu::textsize size;
        {
            const win32::SelectionScope selected(hdc, win32::GetStockObject(system_font));
            win32::GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        }
        std::int32_t width = size.cx;
        if (record.level != 0) {
            width += 22;
        }
        request.itemwidth = width;
        win32::ReleaseDC(il_winhandle, hdc);
    } else {
        request.itemheight = win32::GetSystemMetrics(sm_cymenu) / 3;
        request.itemwidth = 0;
    }
    win32::RtlMoveMemory(measureitemstruct, &request, kMeasureRecordSize);
}

std::uint32_t nvo_supermenu_class::of_getmenufont(win32::HDC hdc)
{
    menu::logfont font;
    copyFaceName(hdc, font);
    menu::textmetric metrics;
    win32::GetTextMetricsA(hdc, &metrics);
    font.lfHeight = metrics.tmHeight;
    font.lfWeight = metrics.tmWeight;
    return win32::CreateFontIndirectA(&font);
}

std::uint32_t nvo_supermenu_class::of_createverticalfont(win32::HDC hdc)
{
    menu::logfont font;
    copyFaceName(hdc, font);
    font.lfWeight = 700;
    font.lfEscapement = 900;
    font.lfOrientation = 900;
    font.lfHeight = -16;
    return win32::CreateFontIndirectA(&font);
}

double nvo_supermenu_class::of_getshortcutkeyrate(host::MenuItem* am_menu)
{
    const host::MenuItem& menuObject = require(am_menu, "of_getshortcutkeyrate");
    const win32::HDC hdc = win32::GetDC(il_winhandle);
    std::int32_t w1 = 0;
    std::int32_t w2 = 0;
    double rate = 0;
    {
        // The menu font made here is this function's own: it goes before the function returns.
        const win32::GdiObject font(of_getmenufont(hdc));
        const win32::SelectionScope selected(hdc, font.get());
        for (int i = 1; i <= menuObject.itemCount(); ++i) {
            const std::string& text = require(menuObject.item(i), "of_getshortcutkeyrate").text();
            const auto tab = text.find('\t');
            if (tab == std::string::npos) {
                continue;
            }
            tagrect before;
            win32::DrawTextA(hdc, text.c_str(), static_cast<int>(tab), &before, dt_calcrect);
            w1 = std::max(w1, before.right - before.left);
            const std::string after = text.substr(tab + 1);
            tagrect behind;
            win32::DrawTextA(hdc, after.c_str(), static_cast<int>(after.size()), &behind,
                             dt_calcrect);
            w2 = std::max(w2, behind.right - behind.left);
        }
    }
    if (w1 + w2 > 0) {
        rate = static_cast<double>(w1) / static_cast<double>(w1 + w2);
    }
    win32::ReleaseDC(il_winhandle, hdc);
    return rate;
}
