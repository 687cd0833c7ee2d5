#include "menu_preview/popup_painter.h"

#include "host/win32/dc.h"
#include "host/win32/menus.h"
#include "host/win32/owner_draw.h"
#include "host/win32/system.h"
#include "menu/nvo_supermenu_class.h"

#include <algorithm>

namespace menupreview {

namespace {

win32::UINT drawStateOf(win32::UINT menuState)
{
    win32::UINT state = 0;
    if ((menuState & win32::MFS_CHECKED) != 0) {
        state |= win32::ODS_CHECKED;
    }
    if ((menuState & win32::MFS_GRAYED) != 0) {
        state |= win32::ODS_GRAYED | win32::ODS_DISABLED;
    }
    return state;
}

void paintEntry(nvo_supermenu_class& engine, win32::HDC dc, const PopupEntry& entry,
                win32::UINT action, win32::UINT state)
{
    win32::DRAWITEMSTRUCT draw;
    draw.CtlType = win32::ODT_MENU;
    draw.itemAction = action;
    draw.itemState = state;
    draw.hDC = dc;
    draw.rcItem = entry.rect;
    draw.itemData = entry.itemData;
    engine.of_drawitem(0, &draw);
}

} // namespace

PopupLayout layoutPopup(nvo_supermenu_class& engine, win32::HMENU popup)
{
    PopupLayout layout;
    const int count = std::max(win32::GetMenuItemCount(popup), 0);
    int top = 0;
    int widest = 0;
    for (int position = 0; position < count; ++position) {
        win32::MENUITEMINFOA info;
        info.cbSize = win32::kMenuItemInfoSize;
        info.fMask = win32::MIIM_STATE | win32::MIIM_DATA;
        win32::GetMenuItemInfoA(popup, static_cast<win32::UINT>(position), 1, &info);
        win32::MEASUREITEMSTRUCT measure;
        measure.CtlType = win32::ODT_MENU;
        measure.itemData = info.dwItemData;
        engine.of_measureitem(0, &measure);
        const int height = static_cast<int>(measure.itemHeight);
        widest = std::max(widest, static_cast<int>(measure.itemWidth));
        layout.entries.push_back(
            {win32::RECT{0, top, 0, top + height}, info.dwItemData, drawStateOf(info.fState)});
        top += height;
    }
    const int width = widest + win32::GetSystemMetrics(win32::SM_CXMENUCHECK);
    for (PopupEntry& entry : layout.entries) {
        entry.rect.right = width;
    }
    layout.size = QSize(width, top);
    return layout;
}

void paintPopup(nvo_supermenu_class& engine, const PopupLayout& layout, QPainter& painter,
                QPoint origin, int highlighted)
{
    const win32::ScopedSurfaceDC dc(painter, origin);
    for (const PopupEntry& entry : layout.entries) {
        paintEntry(engine, dc.handle(), entry, win32::ODA_DRAWENTIRE, entry.drawState);
    }
    if (highlighted < 0 || highlighted >= static_cast<int>(layout.entries.size())) {
        return;
    }
    const PopupEntry& entry = layout.entries[static_cast<std::size_t>(highlighted)];
    paintEntry(engine, dc.handle(), entry, win32::ODA_SELECT,
               entry.drawState | win32::ODS_SELECTED);
}

} // namespace menupreview
