// The two owner-draw messages of a menu: the window that owns an owner-drawn entry is asked for
// the entry's size (WM_MEASUREITEM) and to paint it (WM_DRAWITEM), each with a record whose
// address is the message's second parameter. The records keep the Win32 field order; every
// field is 32 bits wide, as handles are in this host.
#pragma once

#include "host/win32/types.h"

namespace win32 {

inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;

// Control types: owner-drawn menu entries.
inline constexpr UINT ODT_MENU = 1;

// DRAWITEMSTRUCT.itemAction.
inline constexpr UINT ODA_DRAWENTIRE = 0x1;
inline constexpr UINT ODA_SELECT = 0x2;
inline constexpr UINT ODA_FOCUS = 0x4;

// DRAWITEMSTRUCT.itemState.
inline constexpr UINT ODS_SELECTED = 0x1;
inline constexpr UINT ODS_GRAYED = 0x2;
inline constexpr UINT ODS_DISABLED = 0x4;
inline constexpr UINT ODS_CHECKED = 0x8;
inline constexpr UINT ODS_FOCUS = 0x10;

struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    DWORD itemData = 0;
};
static_assert(sizeof(MEASUREITEMSTRUCT) == 24);

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = 0;
    HDC hDC = 0;
    RECT rcItem;
    DWORD itemData = 0;
};
static_assert(sizeof(DRAWITEMSTRUCT) == 48);

} // namespace win32
