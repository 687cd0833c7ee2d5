#include "host/toolkit/owner_draw_menu.h"

#include "host/toolkit/owner_draw_style.h"
#include "host/win32/menus.h"

#include <algorithm>

namespace host {

OwnerDrawMenu::OwnerDrawMenu(win32::HMENU menu, win32::HWND owner, QWidget* parent)
    : QMenu(parent), menu_(menu), owner_(owner)
{
    setStyle(OwnerDrawMenuStyle::instance());
    // Win32 shows every separator it is given, a leading one included (the window list's).
    setSeparatorsCollapsible(false);
}

std::optional<win32::UINT> OwnerDrawMenu::entryPosition(const QAction* action) const
{
    const auto it = std::find(entryActions_.begin(), entryActions_.end(), action);
    if (action == nullptr || it == entryActions_.end()) {
        return std::nullopt;
    }
    return static_cast<win32::UINT>(it - entryActions_.begin());
}

bool OwnerDrawMenu::isOwnerDrawn(const QAction* action) const
{
    const auto position = entryPosition(action);
    if (!position) {
        return false;
    }
    win32::MENUITEMINFOA info;
    info.cbSize = win32::kMenuItemInfoSize;
    info.fMask = win32::MIIM_FTYPE;
    return win32::GetMenuItemInfoA(menu_, *position, 1, &info) != 0 &&
           (info.fType & win32::MFT_OWNERDRAW) != 0;
}

bool OwnerDrawMenu::hasOwnerDrawnEntries() const
{
    return std::any_of(entryActions_.begin(), entryActions_.end(),
                       [this](const QAction* action) { return isOwnerDrawn(action); });
}

void OwnerDrawMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const
{
    styledAction_ = action;
    QMenu::initStyleOption(option, action);
}

} // namespace host
