// Item drawing dispatch: one paint request of an owner-drawn item, handed to the normal or the
// selected renderer.
#include "host/toolkit/menu_item.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/memory.h"
#include "menu/nvo_supermenu_class.h"

namespace {
constexpr std::size_t kDrawRecordSize = 48;
constexpr std::int32_t kSelectedBit = 1; // ODS_SELECTED
} // namespace

void nvo_supermenu_class::of_drawitem(std::uint32_t /*childid*/,
                                      win32::DRAWITEMSTRUCT* drawitemstruct)
{
    if (drawitemstruct == nullptr) {
        throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                 "Null object reference in of_drawitem");
    }
    menu::zdrawitemstruct tdrawitemstruct;
    win32::RtlMoveMemory(&tdrawitemstruct, drawitemstruct, kDrawRecordSize);
    const auto hdc = static_cast<std::uint32_t>(tdrawitemstruct.hdc);
    tagrect rtmp = tdrawitemstruct.rcitem;
    const std::int16_t li_row = of_find_byid(tdrawitemstruct.itemdata);
    if (li_row < 1) {
        return;
    }
    const ust_menuinfo& record = ist_menuinfo[static_cast<std::size_t>(li_row - 1)];
    if (of_containselement(tdrawitemstruct.itemstate, kSelectedBit)) {
        if (record.menupt == nullptr) {
            throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                     "Null object reference in of_drawitem");
        }
        // A highlighted disabled item is not painted at all.
        if (!record.menupt->enabled()) {
            return;
        }
        of_drawselectitem(menustyle, hdc, rtmp, record);
        return;
    }
    of_drawnormalitem(menubkstyle, hdc, rtmp, record);
}
