#include "host/toolkit/owner_draw_style.h"

#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/menus.h"
#include "host/win32/messages.h"
#include "host/win32/owner_draw.h"
#include "host/win32/surface_dc_internal.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <algorithm>
#include <optional>

namespace host {

namespace {

// The owner-drawn entry a style request is about: the popup, and the entry's Win32 fields.
struct OwnerDrawnEntry {
    const OwnerDrawMenu* menu = nullptr;
    win32::MENUITEMINFOA info;
};

std::optional<OwnerDrawnEntry> ownerDrawnEntry(const QWidget* widget)
{
    const auto* menu = dynamic_cast<const OwnerDrawMenu*>(widget);
    if (menu == nullptr) {
        return std::nullopt;
    }
    const auto position = menu->entryPosition(menu->styledAction());
    if (!position) {
        return std::nullopt;
    }
    OwnerDrawnEntry entry{menu, {}};
    entry.info.cbSize = win32::kMenuItemInfoSize;
    entry.info.fMask = win32::MIIM_FTYPE | win32::MIIM_STATE | win32::MIIM_ID | win32::MIIM_DATA;
    if (win32::GetMenuItemInfoA(menu->menuHandle(), *position, 1, &entry.info) == 0 ||
        (entry.info.fType & win32::MFT_OWNERDRAW) == 0) {
        return std::nullopt;
    }
    return entry;
}

win32::UINT drawState(const OwnerDrawnEntry& entry, const QStyleOption& option)
{
    win32::UINT state = 0;
    if ((option.state & QStyle::State_Selected) != 0) {
        state |= win32::ODS_SELECTED;
    }
    if ((entry.info.fState & win32::MFS_GRAYED) != 0) {
        state |= win32::ODS_GRAYED | win32::ODS_DISABLED;
    }
    if ((entry.info.fState & win32::MFS_CHECKED) != 0) {
        state |= win32::ODS_CHECKED;
    }
    return state;
}

void sendDrawItem(win32::HWND owner, win32::DRAWITEMSTRUCT request)
{
    // Each request gets its own copy of the record: the owner may write into it.
    win32::SendMessageA(owner, win32::WM_DRAWITEM, 0, reinterpret_cast<win32::LPARAM>(&request));
}

bool isOwnerDrawPopup(const QWidget* widget)
{
    const auto* menu = dynamic_cast<const OwnerDrawMenu*>(widget);
    return menu != nullptr && menu->hasOwnerDrawnEntries();
}

} // namespace

OwnerDrawMenuStyle* OwnerDrawMenuStyle::instance()
{
    static QPointer<OwnerDrawMenuStyle> style;
    if (style.isNull()) {
        // The application object owns it, so it outlives every popup that uses it.
        style = new OwnerDrawMenuStyle(); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
        style->setParent(QCoreApplication::instance());
    }
    return style.data();
}

QSize OwnerDrawMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                           const QSize& size, const QWidget* widget) const
{
    if (type != CT_MenuItem) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    const auto entry = ownerDrawnEntry(widget);
    if (!entry) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    win32::MEASUREITEMSTRUCT request;
    request.CtlType = win32::ODT_MENU;
    request.itemID = entry->info.wID;
    request.itemData = entry->info.dwItemData;
    win32::SendMessageA(entry->menu->owner(), win32::WM_MEASUREITEM, 0,
                        reinterpret_cast<win32::LPARAM>(&request));
    // Qt leaves out an entry without width; a separator answers width 0, and the popup is as
    // wide as its widest entry anyway, so it gets 1.
    return {std::max(static_cast<int>(request.itemWidth) + entry->menu->extraWidth(), 1),
            static_cast<int>(request.itemHeight)};
}

void OwnerDrawMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const
{
    if (element != CE_MenuItem) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const auto entry = ownerDrawnEntry(widget);
    if (!entry) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The popup has no panel and no margins: its client area is the widget itself.
    const win32::ScopedSurfaceDC dc(*painter);
    win32::DRAWITEMSTRUCT request;
    request.CtlType = win32::ODT_MENU;
    request.itemID = entry->info.wID;
    request.itemAction = win32::ODA_DRAWENTIRE;
    request.itemState = drawState(*entry, *option);
    request.hwndItem = entry->menu->menuHandle();
    request.hDC = dc.handle();
    const QRect& rect = option->rect;
    request.rcItem = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    request.itemData = entry->info.dwItemData;
    const win32::UINT state = request.itemState;
    if ((state & win32::ODS_SELECTED) != 0) {
        // A Win32 popup paints an entry whole before it is highlighted, and the screen keeps that
        // picture: an owner's highlight may cover only part of the entry (or nothing, for a
        // disabled one) and counts on the rest showing the normal picture. Qt repaints the entry
        // from scratch, so the normal picture is painted first, through the same device context.
        request.itemState = state & ~win32::ODS_SELECTED;
        sendDrawItem(entry->menu->owner(), request);
        request.itemAction = win32::ODA_SELECT;
        request.itemState = state;
    }
    sendDrawItem(entry->menu->owner(), request);
}

int OwnerDrawMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                    const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth:
        if (isOwnerDrawPopup(widget)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace host
