// The text an item is drawn with: its object's current text, a space in front under the white
// background (separators excepted), cut before the first tab.
#pragma once

#include "host/toolkit/menu_item.h"

#include <string>

namespace menu {

inline std::string drawnItemName(const host::MenuItem& item, std::int16_t menubkstyle)
{
    std::string name = item.text();
    if (menubkstyle == 1 && name != "-") {
        name = " " + name;
    }
    if (const auto tab = name.find('\t'); tab != std::string::npos) {
        name.resize(tab);
    }
    return name;
}

} // namespace menu
