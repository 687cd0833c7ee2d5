// Private to the engine's painting files: the looks and backgrounds as enums, the context one
// item's paint request is drawn from, and a solid fill.
#pragma once

#include "host/win32/gdi_scopes.h"
#include "host/win32/shapes.h"
#include "menu/menu_records.h"

#include <cstdint>
#include <string>

namespace host {
class MenuItem;
}

namespace menu {

// The values of `menustyle`. Other values are kept as they are: they draw only the texts.
enum class Look : std::int16_t {
    Normal = 1,
    Office2k = 2,
    Style3 = 3,
    Gradient = 4,
    VGradient = 5,
    VHeaderGradient = 6,
    VEdgeGradient = 7,
    OfficeXp = 8,
    OfficeXp2 = 9,
    TerminalXp = 10,
    ColorInfobk = 11,
};

// The values of `menubkstyle`; other values paint the normal background.
enum class Background : std::int16_t {
    Normal = 0,
    White = 1,
    Gray = 2,
    GrayXp = 3,
    Amb = 4,
};

// What painting one item needs, read once per request. The looks and backgrounds a renderer
// is asked for come with the request; `engineLook` and `engineBackground` are the engine's own
// settings, which choose the XP colours, the text's leading space and the separator's kind even
// when a caller asks for another look or background.
struct ItemContext {
    win32::HDC dc;
    tagrect& rect;  // the item's rectangle; painting the texts moves its left and top edges
    int l, t, r, b; // the rectangle as the request gave it
    const host::MenuItem& item;
    std::string name; // the text drawn: see drawnItemName
    const std::string& shortcut;
    std::uint32_t icon;
    Look engineLook;
    Background engineBackground;
};

inline void fillWith(win32::HDC dc, const tagrect& rect, win32::COLORREF colour)
{
    const win32::GdiObject brush(win32::CreateSolidBrush(colour));
    win32::FillRect(dc, &rect, brush.get());
}

} // namespace menu
