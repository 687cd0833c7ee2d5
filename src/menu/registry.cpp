// The item registry: registration of a window's popup items as owner-drawn entries, one record
// per item, and the look-ups that find a record by number, text or object name.
#include "host/toolkit/menu_host.h"
#include "host/toolkit/menu_item.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/menus.h"
#include "menu/nvo_supermenu_class.h"
#include "menu/require.h"
#include "menu/text_rules.h"

#include <array>

namespace {

using menu::require;

constexpr std::uint32_t miim_state = win32::MIIM_STATE;
constexpr std::uint32_t miim_type = win32::MIIM_TYPE;
constexpr std::uint32_t miim_data = win32::MIIM_DATA;
constexpr std::uint32_t mfs_checked = win32::MFS_CHECKED;

} // namespace

void nvo_supermenu_class::of_registerwindow(host::MenuHost* aw_win)
{
    host::MenuHost& window = require(aw_win, "of_registerwindow");
    il_winhandle = window.handle();
    iw_win = aw_win;
    const win32::HMENU hmenu = win32::GetMenu(il_winhandle);
    host::MenuItem* menuObject = window.menuid();
    if (hmenu == 0) {
        return;
    }
    const win32::HMENU hsysmenu = win32::GetSystemMenu(il_winhandle, 0);
    of_registermenu(menuObject, 0, hmenu, hsysmenu);
}

bool nvo_supermenu_class::registryHasRoom() const
{
    return ist_menuinfo.size() < static_cast<std::size_t>(kRegistryLimit) &&
           ii_num < kRegistryLimit;
}

void nvo_supermenu_class::of_registermenu(host::MenuItem* am_menu, std::int16_t ai_level,
                                          std::uint32_t al_hmenu, std::uint32_t al_hsysmenu)
{
    if (al_hmenu == 0) {
        return;
    }
    host::MenuItem& menuObject = require(am_menu, "of_registermenu");
    int p = 0;
    for (int i = 1; i <= menuObject.itemCount(); ++i) {
        host::MenuItem& s = require(menuObject.item(i), "of_registermenu");
        // Invisible items have no Win32 entry and take no position.
        if (!s.visible()) {
            continue;
        }
        p += 1;
        win32::HMENU hsubmenu = win32::GetSubMenu(al_hmenu, p - 1);
        // A maximised child window puts its system menu in front of the menu bar's titles. A
        // window without a system menu (0) must not make every plain entry look like one.
        if (al_hsysmenu != 0 && hsubmenu == al_hsysmenu) {
            p += 1;
            hsubmenu = win32::GetSubMenu(al_hmenu, p - 1);
        }
        if (s.text() == "-") {
            s.setEnabled(false);
        }
        // The menu bar's own titles are never owner-drawn; only the items of its popups.
        if (ai_level > 0) {
            const auto position = static_cast<std::uint32_t>(p - 1);
            lpmenuiteminfo.cbSize = win32::kMenuItemInfoSize;
            lpmenuiteminfo.fMask = miim_type | miim_data;
            win32::GetMenuItemInfoA(al_hmenu, position, 1, &lpmenuiteminfo);
            if (lpmenuiteminfo.dwItemData == 0 ||
                !of_containselement(static_cast<std::int32_t>(lpmenuiteminfo.fType),
                                    mf_ownerdraw)) {
                std::int16_t row = 0;
                if (lpmenuiteminfo.dwItemData != 0) {
                    row = of_find_byid(static_cast<std::int32_t>(lpmenuiteminfo.dwItemData));
                }
                if (row > 0) {
                    lpmenuiteminfo.fType |= mf_ownerdraw;
                    lpmenuiteminfo.fMask = miim_type | miim_data;
                    lpmenuiteminfo.dwItemData = menuinfo(row)->itemid;
                    win32::SetMenuItemInfoA(al_hmenu, position, 1, &lpmenuiteminfo);
                } else if (registryHasRoom()) {
                    lpmenuiteminfo.fType |= mf_ownerdraw;
                    lpmenuiteminfo.fMask = miim_type | miim_data;
                    ii_num += 1;
                    lpmenuiteminfo.dwItemData = static_cast<std::uint32_t>(ii_num);
                    win32::SetMenuItemInfoA(al_hmenu, position, 1, &lpmenuiteminfo);
                    of_add(ii_num, s.text(), &s, ai_level);
                }
                // A full registry leaves the entry as the window system draws it.
            }
        }
        if (hsubmenu != 0) {
            of_registermenu(&s, static_cast<std::int16_t>(ai_level + 1), hsubmenu, al_hsysmenu);
        }
    }
    registerAddedEntries(ai_level, al_hmenu, p);
}

// Entries that the window system added to a popup after the item objects' own entries, such as
// the list of open child windows: they get item objects of the engine's own.
void nvo_supermenu_class::registerAddedEntries(std::int16_t ai_level, std::uint32_t al_hmenu, int p)
{
    if (ai_level <= 0 || p >= win32::GetMenuItemCount(al_hmenu) - 1) {
        return;
    }
    std::array<char, 256> buffer{};
    for (int q = win32::GetMenuItemCount(al_hmenu); q >= p + 1; --q) {
        const auto position = static_cast<std::uint32_t>(q - 1);
        lpmenuiteminfo.cbSize = win32::kMenuItemInfoSize;
        lpmenuiteminfo.fMask = miim_state | miim_type | miim_data;
        win32::GetMenuItemInfoA(al_hmenu, position, 1, &lpmenuiteminfo);
        if (lpmenuiteminfo.dwItemData != 0 &&
            of_containselement(static_cast<std::int32_t>(lpmenuiteminfo.fType), mf_ownerdraw)) {
            continue;
        }
        buffer.fill('\0');
        const int length =
            win32::GetMenuStringA(al_hmenu, position, buffer.data(), 255, mf_byposition);
        const std::string text(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
        lpmenuiteminfo.fMask = miim_type | miim_data;
        lpmenuiteminfo.fType |= mf_ownerdraw;
        const std::int16_t row = of_find_byname(text);
        if (row < 1) {
            if (!registryHasRoom()) {
                continue;
            }
            ii_num += 1;
            auto object = host::MenuItem::create();
            if (!text.empty()) {
                object->setText(text);
                if (lpmenuiteminfo.fState == mfs_checked) {
                    object->setChecked(true);
                }
            } else {
                object->setEnabled(false);
                object->setText("-");
            }
            host::MenuItem* added = object.get();
            ownedItems_.push_back(std::move(object));
            of_add(ii_num, text, added, ai_level);
            lpmenuiteminfo.dwItemData = static_cast<std::uint32_t>(ii_num);
            win32::SetMenuItemInfoA(al_hmenu, position, 1, &lpmenuiteminfo);
        } else {
            const ust_menuinfo& record = ist_menuinfo[static_cast<std::size_t>(row - 1)];
            lpmenuiteminfo.dwItemData = record.itemid;
            require(record.menupt, "of_registermenu")
                .setChecked(lpmenuiteminfo.fState == mfs_checked);
            win32::SetMenuItemInfoA(al_hmenu, position, 1, &lpmenuiteminfo);
        }
    }
}

void nvo_supermenu_class::of_registermenu(std::int16_t ai_level, std::uint32_t al_hmenu,
                                          std::uint32_t al_hsysmenu)
{
    const int count = win32::GetMenuItemCount(al_hmenu);
    for (int position = 0; position < count; ++position) {
        const auto at = static_cast<std::uint32_t>(position);
        const win32::HMENU hsubmenu = win32::GetSubMenu(al_hmenu, position);
        if (al_hsysmenu != 0 && hsubmenu == al_hsysmenu) {
            continue;
        }
        if (ai_level > 0) {
            lpmenuiteminfo.cbSize = win32::kMenuItemInfoSize;
            lpmenuiteminfo.fMask = miim_type | miim_data;
            win32::GetMenuItemInfoA(al_hmenu, at, 1, &lpmenuiteminfo);
            std::int16_t row = 0;
            if (lpmenuiteminfo.dwItemData != 0) {
                row = of_find_byid(static_cast<std::int32_t>(lpmenuiteminfo.dwItemData));
            }
            if (row < 1) {
                std::array<char, 256> buffer{};
                win32::GetMenuStringA(al_hmenu, at, buffer.data(), 255, mf_byposition);
                row = of_find_byname(buffer.data());
            }
            if (row > 0) {
                lpmenuiteminfo.fType |= mf_ownerdraw;
                lpmenuiteminfo.dwItemData = menuinfo(row)->itemid;
                win32::SetMenuItemInfoA(al_hmenu, at, 1, &lpmenuiteminfo);
            }
        }
        if (hsubmenu != 0) {
            of_registermenu(static_cast<std::int16_t>(ai_level + 1), hsubmenu, al_hsysmenu);
        }
    }
}

std::int16_t nvo_supermenu_class::of_add(std::int32_t al_itemid, const std::string& as_text,
                                         host::MenuItem* am_menu, std::int16_t ai_level)
{
    if (ist_menuinfo.size() >= static_cast<std::size_t>(kRegistryLimit)) {
        return 0;
    }
    ust_menuinfo record;
    record.itemid = static_cast<std::uint32_t>(al_itemid);
    if (const auto tab = as_text.find('\t'); tab != std::string::npos) {
        record.itemname = as_text.substr(0, tab);
        record.shortcutkey = as_text.substr(tab + 1);
    } else {
        record.itemname = as_text;
    }
    record.menupt = am_menu;
    record.level = ai_level;
    ist_menuinfo.push_back(std::move(record));
    const auto n = static_cast<std::int16_t>(ist_menuinfo.size());
    const std::string& picture = require(am_menu, "of_add").toolbaritemname();
    if (!picture.empty()) {
        ist_menuinfo.back().hicon = static_cast<std::uint32_t>(of_geticonhandle(picture));
    }
    return n;
}

std::int16_t nvo_supermenu_class::of_find_byid(std::int32_t al_itemid) const
{
    for (std::size_t i = 0; i < ist_menuinfo.size(); ++i) {
        if (ist_menuinfo[i].itemid == static_cast<std::uint32_t>(al_itemid)) {
            return static_cast<std::int16_t>(i + 1);
        }
    }
    return 0;
}

std::int16_t nvo_supermenu_class::of_find_byname(const std::string& as_itemname) const
{
    const std::string wanted = menu::trimSpaces(as_itemname.substr(0, as_itemname.find('\t')));
    for (std::size_t i = 0; i < ist_menuinfo.size(); ++i) {
        if (menu::trimSpaces(ist_menuinfo[i].itemname) == wanted) {
            return static_cast<std::int16_t>(i + 1);
        }
    }
    return 0;
}

std::int16_t nvo_supermenu_class::of_find_bymenuid(const std::string& as_itemname) const
{
    for (std::size_t i = 0; i < ist_menuinfo.size(); ++i) {
        const host::MenuItem* object = ist_menuinfo[i].menupt;
        if (object != nullptr && object->className() == as_itemname) {
            return static_cast<std::int16_t>(i + 1);
        }
    }
    return 0;
}

void nvo_supermenu_class::of_setvisible(host::MenuItem* am_menu, bool ab_visible)
{
    require(am_menu, "of_setvisible").setVisible(ab_visible);
    of_registerwindow(iw_win);
}

bool nvo_supermenu_class::of_containselement(std::int32_t al_src, std::int32_t al_exponent)
{
    if (al_exponent == 0) {
        throw host::RuntimeError(host::RuntimeError::Kind::DivisionByZero,
                                 "Divide by zero in of_containselement");
    }
    // 64-bit, so the one 32-bit quotient that overflows (the smallest long by -1) cannot.
    const std::int64_t quotient = std::int64_t{al_src} / std::int64_t{al_exponent};
    return quotient % 2 == 1;
}

std::optional<bool>
nvo_supermenu_class::of_iswhitespace(const std::optional<std::string>& as_source)
{
    if (!as_source) {
        return std::nullopt;
    }
    if (as_source->empty()) {
        return false;
    }
    for (const char c : *as_source) {
        const bool space = c == ' ' || (c >= 8 && c <= 13);
        if (!space) {
            return false;
        }
    }
    return true;
}
