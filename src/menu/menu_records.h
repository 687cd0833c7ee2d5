// The records of the owner-drawn menu engine: its registry entry `ust_menuinfo`, and its mirrors
// of the Win32 records it copies byte for byte, so a copy lands field by field.
#pragma once

#include "host/win32/menus.h"
#include "host/win32/types.h"

#include <cstdint>
#include <string>

namespace host {
class MenuItem;
}

namespace menu {

// One registered menu item.
struct ust_menuinfo {
    std::uint32_t itemid = 0;         // registry number, also the Win32 entry's application data
    std::string itemname;             // the text before the first tab
    std::string shortcutkey;          // the text after the first tab
    host::MenuItem* menupt = nullptr; // the item object the record was made from
    std::uint32_t hicon = 0;          // icon owned by the engine; 0 for none
    std::int16_t level = 0;           // 1 for popups of the menu bar, one more per level below
};

using tagrect = win32::RECT;
using logfont = win32::LOGFONTA;
using textmetric = win32::TEXTMETRICA;
using us_bitmap = win32::BITMAP;
using menuiteminfoa = win32::MENUITEMINFOA;

// The size record GetTextExtentPoint32A fills: two 32-bit fields, as Win32 writes them (a record
// of two 16-bit fields would be overrun by the call).
using textsize = win32::SIZE;

struct measureitemstruct {
    std::int32_t ctltype = 0;
    std::int32_t ctlid = 0;
    std::int32_t itemid = 0;
    std::int32_t itemwidth = 0;
    std::int32_t itemheight = 0;
    std::int32_t itemdata = 0;
};
static_assert(sizeof(measureitemstruct) == 24);

struct zdrawitemstruct {
    std::int32_t ctltype = 0;
    std::int32_t ctlid = 0;
    std::int32_t itemid = 0;
    std::int32_t itemaction = 0;
    std::int32_t itemstate = 0;
    std::int32_t hwnditem = 0;
    std::int32_t hdc = 0;
    tagrect rcitem;
    std::int32_t itemdata = 0;
};
static_assert(sizeof(zdrawitemstruct) == 48);

} // namespace menu
