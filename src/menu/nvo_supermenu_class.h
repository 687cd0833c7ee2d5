// The owner-drawn menu engine: takes over the painting of one window's popup menus. It marks
// every item below the menu bar as owner-drawn, keeps one record per item, answers the window's
// size requests and paints each item in one of eleven looks over one of five backgrounds.
//
// The toolkit's values are never null in this host (texts, flags and numbers always have a
// value), so the null rules of the engine reduce to null object references: a missing window or
// menu item object raises host::RuntimeError, which ends the current event.
//
// Ownership: records point at the window's own menu item objects, which must outlive the engine
// (the window owns both); the objects the engine makes for entries the window system added are
// the engine's and go with it, as do the icons of its records.
#pragma once

#include "host/win32/owner_draw.h"
#include "menu/menu_constants.h"
#include "menu/menu_records.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {
class MenuHost;
class MenuItem;
} // namespace host

namespace menu {
struct ItemContext;
enum class Look : std::int16_t;
enum class Background : std::int16_t;
} // namespace menu

class nvo_supermenu_class : public menu::nvo_supermenu_constants {
public:
    using ust_menuinfo = menu::ust_menuinfo;
    using tagrect = menu::tagrect;

    // The most records the registry holds: indexes and registry numbers are 16-bit, so
    // registration stops there instead of wrapping into numbers that are already taken.
    static constexpr std::int16_t kRegistryLimit = 32767;

    nvo_supermenu_class();
    nvo_supermenu_class(const nvo_supermenu_class&) = delete;
    nvo_supermenu_class& operator=(const nvo_supermenu_class&) = delete;
    ~nvo_supermenu_class();

    // Look and background; read at every paint request.
    std::int16_t menustyle = style_normal;
    std::int16_t menubkstyle = style_bknormal;
    // The highlight gradient (COLORREF); 0 at creation becomes the highlight and menu colours.
    std::int32_t color_start = 0;
    std::int32_t color_end = 0;

    // ---- registry ---------------------------------------------------------------------------
    void of_registerwindow(host::MenuHost* aw_win);
    void of_registermenu(host::MenuItem* am_menu, std::int16_t ai_level, std::uint32_t al_hmenu,
                         std::uint32_t al_hsysmenu);
    // The handle-only form: walks a Win32 menu by position, matching entries to records by
    // their stored number or by text; entries without a record are left as they are.
    void of_registermenu(std::int16_t ai_level, std::uint32_t al_hmenu, std::uint32_t al_hsysmenu);
    // Appends a record and answers its index; 0 when the registry is full.
    std::int16_t of_add(std::int32_t al_itemid, const std::string& as_text, host::MenuItem* am_menu,
                        std::int16_t ai_level);
    [[nodiscard]] std::int16_t of_find_byid(std::int32_t al_itemid) const;
    [[nodiscard]] std::int16_t of_find_byname(const std::string& as_itemname) const;
    [[nodiscard]] std::int16_t of_find_bymenuid(const std::string& as_itemname) const;
    void of_setvisible(host::MenuItem* am_menu, bool ab_visible);
    // Raises the division-by-zero error for al_exponent 0.
    static bool of_containselement(std::int32_t al_src, std::int32_t al_exponent);
    static std::optional<bool> of_iswhitespace(const std::optional<std::string>& as_source);

    // ---- icons ------------------------------------------------------------------------------
    std::int32_t of_geticonhandle(const std::string& as_iconname);
    std::int32_t of_getstockicon(const std::string& as_stockbitmap, std::int16_t& ai_imagetype);
    std::int32_t of_getmaskcolor(std::uint32_t al_bitmaphandle);
    void of_setmenuicon(const std::string& as_type, const std::string& as_itemname,
                        const std::string& as_icon);

    // ---- measuring and fonts ----------------------------------------------------------------
    // measureitemstruct is the address of the request's record; its width and height are
    // filled in. childid is not used.
    void of_measureitem(std::uint32_t childid, win32::MEASUREITEMSTRUCT* measureitemstruct);
    std::uint32_t of_getmenufont(win32::HDC hdc);
    std::uint32_t of_createverticalfont(win32::HDC hdc);
    double of_getshortcutkeyrate(host::MenuItem* am_menu);

    // ---- drawing ----------------------------------------------------------------------------
    void of_drawtext(win32::HDC hdc, const std::string& as_text, const std::string& as_shortcutkey,
                     tagrect ast_rect, bool ab_enabled);
    void of_drawchecked(win32::HDC hdc, const tagrect& rect);
    void of_xprect(win32::HDC hdc, tagrect rect, std::int32_t al_pencolor,
                   std::int32_t al_brushcolor);
    static void of_color2rgb(std::int32_t lg_color, std::int16_t& r, std::int16_t& g,
                             std::int16_t& b);
    void of_fillwithgradient(win32::HDC hdc, tagrect rect, std::int32_t colorfrom,
                             std::int32_t colorto);
    // Paints a record's item in its normal state over the background ai_menubkstyle.
    void of_drawnormalitem(std::int16_t ai_menubkstyle, win32::HDC hdc, tagrect& ast_rect,
                           const ust_menuinfo& ast_menuinfo);
    void of_drawfirstlevelmenu(menu::zdrawitemstruct& ast_drawitemstruct,
                               ust_menuinfo& ast_menuinfo);
    // Paints a record's item highlighted in the look ai_menustyle.
    void of_drawselectitem(std::int16_t ai_menustyle, win32::HDC hdc, tagrect& ast_rect,
                           const ust_menuinfo& ast_menuinfo);
    // drawitemstruct is the address of the request's record. childid is not consulted.
    void of_drawitem(std::uint32_t childid, win32::DRAWITEMSTRUCT* drawitemstruct);

    // ---- state, for callers and tests ------------------------------------------------------
    // The record at a 1-based index; nullptr outside the registry.
    [[nodiscard]] const ust_menuinfo* menuinfo(int index) const;
    [[nodiscard]] int menuinfoCount() const { return static_cast<int>(ist_menuinfo.size()); }
    [[nodiscard]] std::uint32_t registeredWindowHandle() const { return il_winhandle; }

private:
    void constructor();
    void destructor();
    [[nodiscard]] bool registryHasRoom() const;
    void registerAddedEntries(std::int16_t ai_level, std::uint32_t al_hmenu, int p);
    std::uint32_t bitmapToIcon(std::uint32_t bitmap);
    // The context of one paint request for a record whose item object is known to exist.
    [[nodiscard]] menu::ItemContext itemContext(win32::HDC hdc, tagrect& rect,
                                                const host::MenuItem& item,
                                                const ust_menuinfo& record) const;
    void paintNormal(const menu::ItemContext& item, menu::Background background);
    void paintSelected(const menu::ItemContext& item, menu::Look look);

    menu::menuiteminfoa lpmenuiteminfo;
    std::uint32_t il_winhandle = 0;
    host::MenuHost* iw_win = nullptr;
    std::vector<ust_menuinfo> ist_menuinfo;
    std::int16_t ii_num = 0;
    // The item objects the engine made for entries the window system added to a popup.
    std::vector<std::unique_ptr<host::MenuItem>> ownedItems_;
};
