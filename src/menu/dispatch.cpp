// Item drawing dispatch: one paint request of an owner-drawn item, read once into a context and
// handed to the normal or the selected renderer.
#include "host/toolkit/menu_item.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/memory.h"
#include "menu/item_painting.h"
#include "menu/item_text.h"
#include "menu/nvo_supermenu_class.h"
#include "menu/require.h"

namespace {

constexpr std::size_t kDrawRecordSize = 48;
constexpr std::int32_t kSelectedBit = 1; // ODS_SELECTED

} // namespace

menu::ItemContext nvo_supermenu_class::itemContext(win32::HDC hdc, tagrect& rect,
                                                   const host::MenuItem& item,
                                                   const ust_menuinfo& record) const
{
    return menu::ItemContext{
        .dc = hdc,
        .rect = rect,
        .l = rect.left,
        .t = rect.top,
        .r = rect.right,
        .b = rect.bottom,
        .item = item,
        .name = menu::drawnItemName(item, menubkstyle),
        .shortcut = record.shortcutkey,
        .icon = record.hicon,
        .engineLook = static_cast<menu::Look>(menustyle),
        .engineBackground = static_cast<menu::Background>(menubkstyle),
    };
}

void nvo_supermenu_class::of_drawnormalitem(std::int16_t ai_menubkstyle, win32::HDC hdc,
                                            tagrect& ast_rect, const ust_menuinfo& ast_menuinfo)
{
    const host::MenuItem& item = menu::require(ast_menuinfo.menupt, "of_drawnormalitem");
    paintNormal(itemContext(hdc, ast_rect, item, ast_menuinfo),
                static_cast<menu::Background>(ai_menubkstyle));
}

void nvo_supermenu_class::of_drawselectitem(std::int16_t ai_menustyle, win32::HDC hdc,
                                            tagrect& ast_rect, const ust_menuinfo& ast_menuinfo)
{
    const host::MenuItem& item = menu::require(ast_menuinfo.menupt, "of_drawselectitem");
    paintSelected(itemContext(hdc, ast_rect, item, ast_menuinfo),
                  static_cast<menu::Look>(ai_menustyle));
}

void nvo_supermenu_class::of_drawitem(std::uint32_t /*childid*/,
                                      win32::DRAWITEMSTRUCT* drawitemstruct)
{
    if (drawitemstruct == nullptr) {
        throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                 "Null object reference in of_drawitem");
    }
    menu::zdrawitemstruct tdrawitemstruct;
    win32::RtlMoveMemory(&tdrawitemstruct, drawitemstruct, kDrawRecordSize);
    const auto hdc = static_cast<win32::HDC>(tdrawitemstruct.hdc);
    tagrect rtmp = tdrawitemstruct.rcitem;
    const std::int16_t li_row = of_find_byid(tdrawitemstruct.itemdata);
    if (li_row < 1) {
        return;
    }
    const ust_menuinfo& record = ist_menuinfo[static_cast<std::size_t>(li_row - 1)];
    if (!of_containselement(tdrawitemstruct.itemstate, kSelectedBit)) {
        of_drawnormalitem(menubkstyle, hdc, rtmp, record);
        return;
    }
    // A highlighted disabled item is not painted at all.
    if (!menu::require(record.menupt, "of_drawitem").enabled()) {
        return;
    }
    of_drawselectitem(menustyle, hdc, rtmp, record);
}
