// Menus with the Win32 semantics the program relies on: menu handles, entries addressed by
// position or by command, entry types and states, application data, sub-menus, the menu of a
// window and its system menu. Pure data: the display layer observes changes and shows them.
#pragma once

#include "host/win32/types.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace win32 {

// AppendMenuA flags (MF_) and the entry types (MFT_) and states (MFS_) of MENUITEMINFOA.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_BITMAP = 0x0004;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_DEFAULT = 0x1000;

inline constexpr UINT MFT_STRING = MF_STRING;
inline constexpr UINT MFT_BITMAP = MF_BITMAP;
inline constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
inline constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
inline constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
inline constexpr UINT MFT_RADIOCHECK = 0x0200;
inline constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
inline constexpr UINT MFT_RIGHTORDER = 0x2000;
inline constexpr UINT MFT_RIGHTJUSTIFY = 0x4000;

inline constexpr UINT MFS_ENABLED = 0x0000;
inline constexpr UINT MFS_UNCHECKED = 0x0000;
inline constexpr UINT MFS_GRAYED = 0x0003;
inline constexpr UINT MFS_DISABLED = MFS_GRAYED;
inline constexpr UINT MFS_CHECKED = MF_CHECKED;
inline constexpr UINT MFS_HILITE = MF_HILITE;
inline constexpr UINT MFS_DEFAULT = MF_DEFAULT;

// MENUITEMINFOA.fMask: which fields a Get or Set call reads or writes.
inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_SUBMENU = 0x0004;
inline constexpr UINT MIIM_CHECKMARKS = 0x0008;
inline constexpr UINT MIIM_TYPE = 0x0010;
inline constexpr UINT MIIM_DATA = 0x0020;
inline constexpr UINT MIIM_STRING = 0x0040;
inline constexpr UINT MIIM_BITMAP = 0x0080;
inline constexpr UINT MIIM_FTYPE = 0x0100;

// Commands of the system menu.
inline constexpr UINT SC_SIZE = 0xF000;
inline constexpr UINT SC_MOVE = 0xF010;
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_MAXIMIZE = 0xF030;
inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_RESTORE = 0xF120;

// The information about one menu entry, laid out as Win32's MENUITEMINFOA without the trailing
// bitmap handle: eleven 32-bit fields. dwTypeData is the 32-bit address of a text buffer, made
// by MenuTextBuffer (a real pointer does not fit in 32 bits on a 64-bit platform).
struct MENUITEMINFOA {
    UINT cbSize = 0;
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = 0;
    HBITMAP hbmpChecked = 0;
    HBITMAP hbmpUnchecked = 0;
    DWORD dwItemData = 0;
    DWORD dwTypeData = 0;
    UINT cch = 0;
};
static_assert(sizeof(MENUITEMINFOA) == 44, "MENUITEMINFOA is copied byte for byte as 44 bytes");
inline constexpr UINT kMenuItemInfoSize = 44;

// Gives a caller's text buffer a 32-bit address for MENUITEMINFOA.dwTypeData, valid while this
// object lives. The buffer itself stays the caller's.
class MenuTextBuffer {
public:
    MenuTextBuffer(char* data, std::size_t capacity);
    MenuTextBuffer(const MenuTextBuffer&) = delete;
    MenuTextBuffer& operator=(const MenuTextBuffer&) = delete;
    ~MenuTextBuffer();

    [[nodiscard]] DWORD address() const { return address_; }

private:
    DWORD address_ = 0;
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, as Win32 does, every sub-menu its entries hold.
BOOL DestroyMenu(HMENU menu);

// Appends an entry. With MF_POPUP, idNewItem is the sub-menu's handle; with MF_SEPARATOR the
// text is ignored. An owner-drawn entry keeps its text, so it can still be read back.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT idNewItem, const char* newItem);
// Inserts an entry before the one named by item (a position, or a command when byPosition is
// false); a position at or past the end appends.
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
// Removes an entry; DeleteMenu also destroys the entry's sub-menu, RemoveMenu keeps it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);

// The number of entries, or -1 for a handle that names no menu.
int GetMenuItemCount(HMENU menu);
// The sub-menu of the entry at a position, or 0.
HMENU GetSubMenu(HMENU menu, int position);

// Reads the fields fMask names. cbSize must be 44. By command, sub-menus are searched too.
// For MIIM_TYPE or MIIM_STRING: with dwTypeData 0, cch receives the text's length in bytes;
// otherwise up to cch - 1 bytes and a terminating zero are copied and cch receives the count.
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
// Writes the fields fMask names. With MIIM_TYPE, a dwTypeData of 0 keeps the entry's text.
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
// Copies the entry's text (at most maxCount - 1 bytes and a zero) and returns the bytes copied,
// or the text's length when buffer is null; 0 when there is no such entry.
int GetMenuStringA(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags);

// The menu bar of a window. Setting one replaces (does not destroy) the previous; the menu a
// window holds when it is destroyed is destroyed with it, as is its system menu.
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
// The window's system menu, made on first use; revert true puts back the default entries and
// returns 0. 0 for a handle that names no window.
HMENU GetSystemMenu(HWND window, BOOL revert);

// What changed in the menus, for the display layer.
struct MenuChange {
    enum class Kind : std::uint8_t {
        Entries,    // entries of `menu` were added, removed or changed
        Destroyed,  // `menu` no longer exists
        WindowMenu, // the menu bar of `window` was set or must be drawn again
    };
    Kind kind = Kind::Entries;
    HMENU menu = 0;
    HWND window = 0;
};

// Calls a function for every change while this object lives.
class MenuChangeSubscription {
public:
    explicit MenuChangeSubscription(std::function<void(const MenuChange&)> listener);
    MenuChangeSubscription(const MenuChangeSubscription&) = delete;
    MenuChangeSubscription& operator=(const MenuChangeSubscription&) = delete;
    ~MenuChangeSubscription();

private:
    std::uint64_t id_ = 0;
};

} // namespace win32
