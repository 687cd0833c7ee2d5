// Creation and destruction of the engine: default colours, and the release of what it owns.
#include "host/toolkit/menu_item.h"
#include "host/win32/icons.h"
#include "host/win32/system.h"
#include "menu/nvo_supermenu_class.h"

nvo_supermenu_class::nvo_supermenu_class()
{
    constructor();
}

nvo_supermenu_class::~nvo_supermenu_class()
{
    destructor();
}

void nvo_supermenu_class::constructor()
{
    if (color_start == 0) {
        color_start = static_cast<std::int32_t>(win32::GetSysColor(color_highlight));
    }
    if (color_end == 0) {
        color_end = static_cast<std::int32_t>(win32::GetSysColor(color_menu));
    }
}

void nvo_supermenu_class::destructor()
{
    for (const ust_menuinfo& record : ist_menuinfo) {
        if (record.hicon != 0) {
            win32::DestroyIcon(record.hicon);
        }
    }
    // The item objects made for added entries are the engine's and go with ownedItems_; the
    // window's own items belong to the window's menu.
}

const nvo_supermenu_class::ust_menuinfo* nvo_supermenu_class::menuinfo(int index) const
{
    if (index < 1 || index > menuinfoCount()) {
        return nullptr;
    }
    return &ist_menuinfo[static_cast<std::size_t>(index - 1)];
}
