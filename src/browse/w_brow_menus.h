// The browse sheet's right-click menus, built once and kept while the sheet is open: the
// frame's menu engine holds on to their items from the first time they show.
#pragma once

#include "browse/w_brow.h"
#include "host/toolkit/context_menu.h"

#include <string>

struct w_brow::Menus {
    explicit Menus(w_brow& sheet);

    // The catalogue's: 列出 the archive right-clicked (greyed beside the archives), and
    // 打开文件夹... to list another folder's archives.
    host::ContextMenu archive;
    host::MenuItem* list = nullptr;
    long archiveIndex = 0;
    // The member list's: 打开, 另存为..., and a disabled line with the member's sizes and date.
    host::ContextMenu member;
    std::string memberLabel;
    host::MenuItem* details = nullptr;
};
