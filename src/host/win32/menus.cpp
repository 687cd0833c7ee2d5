#include "host/win32/menus.h"

#include "host/win32/windows.h"

#include <QObject>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace win32 {

namespace {

constexpr UINT kTypeBits = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW |
                           MFT_RADIOCHECK | MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
constexpr UINT kStateBits = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;

struct MenuEntry {
    UINT type = MFT_STRING;
    UINT state = MFS_ENABLED;
    UINT id = 0;
    HMENU submenu = 0;
    HBITMAP checkedMark = 0;
    HBITMAP uncheckedMark = 0;
    DWORD data = 0;
    std::string text;
};

struct MenuObject {
    std::vector<MenuEntry> entries;
};

// The fields that inserting and setting an item take the same way: state, command, check-mark
// pictures and application data, each only when its mask bit asks for it.
void copyPlainFields(const MENUITEMINFOA& info, MenuEntry& entry)
{
    if ((info.fMask & MIIM_STATE) != 0) {
        entry.state = info.fState & kStateBits;
    }
    if ((info.fMask & MIIM_ID) != 0) {
        entry.id = info.wID;
    }
    if ((info.fMask & MIIM_CHECKMARKS) != 0) {
        entry.checkedMark = info.hbmpChecked;
        entry.uncheckedMark = info.hbmpUnchecked;
    }
    if ((info.fMask & MIIM_DATA) != 0) {
        entry.data = info.dwItemData;
    }
}

HandleTable<MenuObject>& menuTable()
{
    static HandleTable<MenuObject> table(HandleKind::Menu);
    return table;
}

struct WindowMenus {
    HMENU bar = 0;
    HMENU system = 0;
};

std::unordered_map<HWND, WindowMenus>& windowMenus()
{
    static std::unordered_map<HWND, WindowMenus> map;
    return map;
}

std::map<std::uint64_t, std::function<void(const MenuChange&)>>& listeners()
{
    static std::map<std::uint64_t, std::function<void(const MenuChange&)>> map;
    return map;
}

struct TextBufferView {
    char* data = nullptr;
    std::size_t capacity = 0;
};

std::unordered_map<DWORD, TextBufferView>& textBuffers()
{
    static std::unordered_map<DWORD, TextBufferView> map;
    return map;
}

void notify(const MenuChange& change)
{
    // A listener may subscribe or unsubscribe while it is told, so it works on a copy.
    const auto current = listeners();
    for (const auto& [id, listener] : current) {
        listener(change);
    }
}

void notifyEntries(HMENU menu)
{
    notify({MenuChange::Kind::Entries, menu, 0});
}

// The entry an item names: in `menu` by position, or by command anywhere below it.
struct EntryRef {
    HMENU menu = 0;
    std::size_t index = 0;
    MenuEntry* entry = nullptr;
};

EntryRef findByCommand(HMENU menu, UINT command, std::unordered_set<HMENU>& seen)
{
    MenuObject* object = menuTable().find(menu);
    if (object == nullptr || !seen.insert(menu).second) {
        return {};
    }
    for (std::size_t i = 0; i < object->entries.size(); ++i) {
        MenuEntry& entry = object->entries[i];
        if (entry.id == command) {
            return {menu, i, &entry};
        }
        if (entry.submenu != 0) {
            if (EntryRef found = findByCommand(entry.submenu, command, seen); found.entry) {
                return found;
            }
        }
    }
    return {};
}

EntryRef findEntry(HMENU menu, UINT item, bool byPosition)
{
    if (!byPosition) {
        std::unordered_set<HMENU> seen;
        return findByCommand(menu, item, seen);
    }
    MenuObject* object = menuTable().find(menu);
    if (object == nullptr || item >= object->entries.size()) {
        return {};
    }
    return {menu, item, &object->entries[item]};
}

// True when `menu` can be reached from `from` through sub-menus, which would make a cycle if
// `from` were hung below `menu`.
bool reaches(HMENU from, HMENU menu, std::unordered_set<HMENU>& seen)
{
    if (from == menu) {
        return true;
    }
    const MenuObject* object = menuTable().find(from);
    if (object == nullptr || !seen.insert(from).second) {
        return false;
    }
    return std::any_of(object->entries.begin(), object->entries.end(), [&](const MenuEntry& e) {
        return e.submenu != 0 && reaches(e.submenu, menu, seen);
    });
}

bool acceptableSubmenu(HMENU owner, HMENU submenu)
{
    if (submenu == 0) {
        return true;
    }
    if (menuTable().find(submenu) == nullptr) {
        return false;
    }
    std::unordered_set<HMENU> seen;
    return !reaches(submenu, owner, seen);
}

void destroyTree(HMENU menu)
{
    std::unique_ptr<MenuObject> object = menuTable().take(menu);
    if (!object) {
        return;
    }
    for (const MenuEntry& entry : object->entries) {
        if (entry.submenu != 0) {
            destroyTree(entry.submenu);
        }
    }
    notify({MenuChange::Kind::Destroyed, menu, 0});
}

std::string textAt(DWORD address)
{
    const auto it = textBuffers().find(address);
    if (it == textBuffers().end() || it->second.data == nullptr) {
        return {};
    }
    const TextBufferView view = it->second;
    const auto* end = static_cast<const char*>(std::memchr(view.data, 0, view.capacity));
    return {view.data, end == nullptr ? view.capacity : static_cast<std::size_t>(end - view.data)};
}

bool textAddressValid(DWORD address)
{
    return address == 0 || textBuffers().contains(address);
}

bool hasText(const MenuEntry& entry)
{
    return (entry.type & (MFT_SEPARATOR | MFT_BITMAP)) == 0;
}

// Copies the entry's text the Win32 way: at most cch - 1 bytes and a zero, cch gets the count.
void copyTextOut(const MenuEntry& entry, MENUITEMINFOA& info)
{
    const std::string text = hasText(entry) ? entry.text : std::string();
    if (info.dwTypeData == 0 || info.cch == 0) {
        info.cch = static_cast<UINT>(text.size());
        return;
    }
    const TextBufferView view = textBuffers().at(info.dwTypeData);
    const std::size_t room = std::min<std::size_t>(info.cch, view.capacity);
    const std::size_t count = std::min(text.size(), room - 1);
    std::memcpy(view.data, text.data(), count);
    view.data[count] = '\0';
    info.cch = static_cast<UINT>(count);
}

void rememberWindow(HWND window)
{
    if (windowMenus().contains(window)) {
        return;
    }
    windowMenus().emplace(window, WindowMenus{});
    QWidget* widget = windowFromHandle(window);
    // As in Win32, a window takes its menu bar and its system menu with it when it goes.
    QObject::connect(widget, &QObject::destroyed, [window] {
        const auto it = windowMenus().find(window);
        if (it == windowMenus().end()) {
            return;
        }
        const WindowMenus menus = it->second;
        windowMenus().erase(it);
        DestroyMenu(menus.bar);
        DestroyMenu(menus.system);
    });
}

HMENU makeSystemMenu()
{
    const HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, SC_RESTORE, "还原(&R)");
    AppendMenuA(menu, MF_STRING, SC_MOVE, "移动(&M)");
    AppendMenuA(menu, MF_STRING, SC_SIZE, "大小(&S)");
    AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "最小化(&N)");
    AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "最大化(&X)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "关闭(&C)\tAlt+F4");
    return menu;
}

BOOL removeEntry(HMENU menu, UINT position, UINT flags, bool destroySubmenu)
{
    const EntryRef ref = findEntry(menu, position, (flags & MF_BYPOSITION) != 0);
    if (ref.entry == nullptr) {
        return 0;
    }
    const HMENU submenu = ref.entry->submenu;
    MenuObject* object = menuTable().find(ref.menu);
    object->entries.erase(object->entries.begin() + static_cast<std::ptrdiff_t>(ref.index));
    if (destroySubmenu && submenu != 0) {
        DestroyMenu(submenu);
    }
    notifyEntries(ref.menu);
    return 1;
}

} // namespace

MenuTextBuffer::MenuTextBuffer(char* data, std::size_t capacity)
{
    static DWORD next = 0;
    do {
        next = next + 1 == 0 ? 1 : next + 1;
    } while (textBuffers().contains(next));
    address_ = next;
    textBuffers().emplace(address_, TextBufferView{data, capacity});
}

MenuTextBuffer::~MenuTextBuffer()
{
    textBuffers().erase(address_);
}

HMENU CreateMenu()
{
    return menuTable().add(std::make_unique<MenuObject>());
}

HMENU CreatePopupMenu()
{
    return menuTable().add(std::make_unique<MenuObject>());
}

BOOL DestroyMenu(HMENU menu)
{
    if (menuTable().find(menu) == nullptr) {
        return 0;
    }
    destroyTree(menu);
    return 1;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT idNewItem, const char* newItem)
{
    MenuObject* object = menuTable().find(menu);
    if (object == nullptr) {
        return 0;
    }
    MenuEntry entry;
    entry.type = flags & kTypeBits;
    entry.state = flags & kStateBits;
    entry.id = idNewItem;
    if ((flags & MF_POPUP) != 0) {
        if (idNewItem == 0 || !acceptableSubmenu(menu, idNewItem)) {
            return 0;
        }
        entry.submenu = idNewItem;
    }
    if (hasText(entry) && newItem != nullptr) {
        entry.text = newItem;
    }
    object->entries.push_back(std::move(entry));
    notifyEntries(menu);
    return 1;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info)
{
    MenuObject* object = menuTable().find(menu);
    if (object == nullptr || info == nullptr || info->cbSize != kMenuItemInfoSize ||
        (info->fMask & MIIM_BITMAP) != 0) {
        return 0;
    }
    // By position, a position at or past the end appends; by command, the entry is inserted
    // before the named one, in whatever menu below `menu` holds it.
    EntryRef where{menu, std::min<std::size_t>(item, object->entries.size()), nullptr};
    if (byPosition == 0) {
        where = findEntry(menu, item, false);
        if (where.entry == nullptr) {
            return 0;
        }
    }
    const HMENU target = where.menu;
    const std::size_t index = where.index;
    MenuEntry entry;
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        if (!acceptableSubmenu(target, info->hSubMenu)) {
            return 0;
        }
        entry.submenu = info->hSubMenu;
    }
    if ((info->fMask & (MIIM_TYPE | MIIM_FTYPE)) != 0) {
        entry.type = info->fType & kTypeBits;
    }
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) != 0) {
        if (!textAddressValid(info->dwTypeData)) {
            return 0;
        }
        entry.text = textAt(info->dwTypeData);
    }
    copyPlainFields(*info, entry);
    MenuObject* targetObject = menuTable().find(target);
    targetObject->entries.insert(targetObject->entries.begin() + static_cast<std::ptrdiff_t>(index),
                                 std::move(entry));
    notifyEntries(target);
    return 1;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    return removeEntry(menu, position, flags, false);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    return removeEntry(menu, position, flags, true);
}

int GetMenuItemCount(HMENU menu)
{
    const MenuObject* object = menuTable().find(menu);
    return object == nullptr ? -1 : static_cast<int>(object->entries.size());
}

HMENU GetSubMenu(HMENU menu, int position)
{
    if (position < 0) {
        return 0;
    }
    const EntryRef ref = findEntry(menu, static_cast<UINT>(position), true);
    return ref.entry == nullptr ? 0 : ref.entry->submenu;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info)
{
    if (info == nullptr || info->cbSize != kMenuItemInfoSize || (info->fMask & MIIM_BITMAP) != 0) {
        return 0;
    }
    const EntryRef ref = findEntry(menu, item, byPosition != 0);
    if (ref.entry == nullptr) {
        return 0;
    }
    const MenuEntry& entry = *ref.entry;
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) != 0 && !textAddressValid(info->dwTypeData)) {
        return 0;
    }
    if ((info->fMask & MIIM_STATE) != 0) {
        info->fState = entry.state;
    }
    if ((info->fMask & MIIM_ID) != 0) {
        info->wID = entry.id;
    }
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        info->hSubMenu = entry.submenu;
    }
    if ((info->fMask & MIIM_CHECKMARKS) != 0) {
        info->hbmpChecked = entry.checkedMark;
        info->hbmpUnchecked = entry.uncheckedMark;
    }
    if ((info->fMask & (MIIM_TYPE | MIIM_FTYPE)) != 0) {
        info->fType = entry.type;
    }
    if ((info->fMask & MIIM_DATA) != 0) {
        info->dwItemData = entry.data;
    }
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) != 0) {
        copyTextOut(entry, *info);
    }
    return 1;
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info)
{
    if (info == nullptr || info->cbSize != kMenuItemInfoSize || (info->fMask & MIIM_BITMAP) != 0) {
        return 0;
    }
    const EntryRef ref = findEntry(menu, item, byPosition != 0);
    if (ref.entry == nullptr) {
        return 0;
    }
    // Everything is checked before anything is written, so a refused call changes nothing.
    if ((info->fMask & MIIM_SUBMENU) != 0 && !acceptableSubmenu(ref.menu, info->hSubMenu)) {
        return 0;
    }
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) != 0 && !textAddressValid(info->dwTypeData)) {
        return 0;
    }
    MenuEntry& entry = *ref.entry;
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        entry.submenu = info->hSubMenu;
    }
    if ((info->fMask & (MIIM_TYPE | MIIM_FTYPE)) != 0) {
        entry.type = info->fType & kTypeBits;
    }
    if ((info->fMask & MIIM_TYPE) != 0 && info->dwTypeData != 0 && hasText(entry)) {
        entry.text = textAt(info->dwTypeData);
    }
    if ((info->fMask & MIIM_STRING) != 0) {
        entry.text = textAt(info->dwTypeData);
    }
    copyPlainFields(*info, entry);
    notifyEntries(ref.menu);
    return 1;
}

int GetMenuStringA(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags)
{
    const EntryRef ref = findEntry(menu, item, (flags & MF_BYPOSITION) != 0);
    if (ref.entry == nullptr) {
        return 0;
    }
    const std::string text = hasText(*ref.entry) ? ref.entry->text : std::string();
    if (buffer == nullptr) {
        return static_cast<int>(text.size());
    }
    if (maxCount <= 0) {
        return 0;
    }
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

BOOL SetMenu(HWND window, HMENU menu)
{
    if (windowFromHandle(window) == nullptr || (menu != 0 && menuTable().find(menu) == nullptr)) {
        return 0;
    }
    rememberWindow(window);
    windowMenus()[window].bar = menu;
    notify({MenuChange::Kind::WindowMenu, menu, window});
    return 1;
}

HMENU GetMenu(HWND window)
{
    const auto it = windowMenus().find(window);
    return it == windowMenus().end() ? 0 : it->second.bar;
}

HMENU GetSystemMenu(HWND window, BOOL revert)
{
    if (windowFromHandle(window) == nullptr) {
        return 0;
    }
    rememberWindow(window);
    WindowMenus& menus = windowMenus()[window];
    if (revert != 0) {
        DestroyMenu(menus.system);
        menus.system = 0;
        return 0;
    }
    if (menuTable().find(menus.system) == nullptr) {
        menus.system = makeSystemMenu();
    }
    return menus.system;
}

MenuChangeSubscription::MenuChangeSubscription(std::function<void(const MenuChange&)> listener)
{
    static std::uint64_t next = 0;
    id_ = ++next;
    listeners().emplace(id_, std::move(listener));
}

MenuChangeSubscription::~MenuChangeSubscription()
{
    listeners().erase(id_);
}

} // namespace win32
