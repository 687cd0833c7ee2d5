#include "host/toolkit/menu_bar_view.h"

#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/messages.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QTimer>
#include <string>

namespace host {

namespace {

struct EntryInfo {
    win32::MENUITEMINFOA info;
    std::string text;
};

EntryInfo readEntry(win32::HMENU menu, win32::UINT position)
{
    EntryInfo entry;
    entry.info.cbSize = win32::kMenuItemInfoSize;
    entry.info.fMask = win32::MIIM_FTYPE | win32::MIIM_STATE | win32::MIIM_ID |
                       win32::MIIM_SUBMENU | win32::MIIM_DATA;
    win32::GetMenuItemInfoA(menu, position, 1, &entry.info);
    const int length = win32::GetMenuStringA(menu, position, nullptr, 0, win32::MF_BYPOSITION);
    if (length > 0) {
        entry.text.resize(static_cast<std::size_t>(length) + 1);
        win32::GetMenuStringA(menu, position, entry.text.data(), length + 1, win32::MF_BYPOSITION);
        entry.text.resize(static_cast<std::size_t>(length));
    }
    return entry;
}

bool isOwnerDrawn(const win32::MENUITEMINFOA& info)
{
    return (info.fType & win32::MFT_OWNERDRAW) != 0;
}

// Removes the actions a container shows; the ones it made itself go, a popup's own action stays
// with its popup.
void clearActions(QWidget& container, const std::vector<QAction*>& actions)
{
    for (QAction* action : actions) {
        container.removeAction(action);
        if (action->parent() == &container) {
            action->deleteLater();
        }
    }
}

} // namespace

MenuBarView::MenuBarView(QMenuBar& bar, win32::HWND window)
    : bar_(bar), window_(window),
      subscription_([this](const win32::MenuChange& change) { onChange(change); })
{
    // Qt would put its own status tips of the highlighted action into the status line; the
    // window decides what shows there, from WM_MENUSELECT.
    bar_.installEventFilter(this);
    syncTimer_.setSingleShot(true);
    syncTimer_.setInterval(0);
    connect(&syncTimer_, &QTimer::timeout, this, [this] { sync(); });
    scheduleSync();
}

bool MenuBarView::eventFilter(QObject* watched, QEvent* event)
{
    return watched == &bar_ && event->type() == QEvent::StatusTip;
}

MenuBarView::~MenuBarView()
{
    // The popups the bar still holds go with the view that fills them.
    for (const auto& [menu, popup] : popups_) {
        delete popup.data(); // NOLINT(cppcoreguidelines-owning-memory): made by this view
    }
}

OwnerDrawMenu* MenuBarView::popup(win32::HMENU menu) const
{
    const auto it = popups_.find(menu);
    return it == popups_.end() ? nullptr : it->second.data();
}

void MenuBarView::setHiddenSubmenu(win32::HMENU menu)
{
    if (hiddenSubmenu_ == menu) {
        return;
    }
    hiddenSubmenu_ = menu;
    barDirty_ = true;
    scheduleSync();
}

void MenuBarView::onChange(const win32::MenuChange& change)
{
    using Kind = win32::MenuChange::Kind;
    switch (change.kind) {
    case Kind::WindowMenu:
        if (change.window != window_) {
            return;
        }
        barDirty_ = true;
        break;
    case Kind::Destroyed:
        forgetPopup(change.menu);
        barDirty_ = barDirty_ || change.menu == win32::GetMenu(window_);
        break;
    case Kind::Entries:
        if (change.menu == win32::GetMenu(window_)) {
            barDirty_ = true;
        } else if (popups_.contains(change.menu)) {
            dirty_.insert(change.menu);
        } else {
            return;
        }
        break;
    }
    scheduleSync();
}

void MenuBarView::scheduleSync()
{
    if (!syncTimer_.isActive()) {
        syncTimer_.start();
    }
}

void MenuBarView::sync()
{
    syncTimer_.stop();
    if (barDirty_) {
        barDirty_ = false;
        fillBar();
    }
    // Filling a popup can make new ones (sub-menus), which are filled as they are made.
    const auto dirty = std::exchange(dirty_, {});
    for (const win32::HMENU menu : dirty) {
        if (OwnerDrawMenu* shown = popup(menu)) {
            fillPopup(*shown);
        }
    }
}

void MenuBarView::fillBar()
{
    clearActions(bar_, barActions_);
    barActions_.clear();
    const win32::HMENU menu = win32::GetMenu(window_);
    const int count = win32::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<win32::UINT>(i);
        const EntryInfo entry = readEntry(menu, position);
        if ((entry.info.fType & win32::MFT_SEPARATOR) != 0 ||
            (hiddenSubmenu_ != 0 && entry.info.hSubMenu == hiddenSubmenu_)) {
            continue;
        }
        QAction* action = entryAction(bar_, menu, position);
        bar_.addAction(action);
        barActions_.push_back(action);
    }
}

void MenuBarView::fillPopup(OwnerDrawMenu& popup)
{
    clearActions(popup, popup.entryActions());
    std::vector<QAction*> actions;
    const int count = win32::GetMenuItemCount(popup.menuHandle());
    for (int i = 0; i < count; ++i) {
        QAction* action = entryAction(popup, popup.menuHandle(), static_cast<win32::UINT>(i));
        popup.addAction(action);
        actions.push_back(action);
    }
    popup.setEntryActions(std::move(actions));
}

QAction* MenuBarView::entryAction(QWidget& owner, win32::HMENU menu, win32::UINT position)
{
    const EntryInfo entry = readEntry(menu, position);
    const bool enabled = (entry.info.fState & win32::MFS_GRAYED) == 0;
    if (entry.info.hSubMenu != 0) {
        OwnerDrawMenu* sub = popupFor(entry.info.hSubMenu);
        sub->setTitle(QString::fromStdString(entry.text));
        sub->menuAction()->setEnabled(enabled);
        return sub->menuAction();
    }
    auto* action = new QAction(&owner); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    action->setEnabled(enabled);
    if ((entry.info.fType & win32::MFT_SEPARATOR) != 0) {
        // Owner-drawn or not, a separator is one to Qt too: never highlighted or chosen, and
        // announced to assistive technology as a separator, not as an entry without a name.
        // The owner still sizes and paints it (OwnerDrawMenuStyle).
        action->setSeparator(true);
    } else if (isOwnerDrawn(entry.info)) {
        // The owner paints the entry, shortcut column included; Qt keeps only the label, for
        // its mnemonic, so it reserves no column of its own.
        action->setText(QString::fromStdString(entry.text.substr(0, entry.text.find('\t'))));
    } else {
        action->setText(QString::fromStdString(entry.text));
        if ((entry.info.fState & win32::MFS_CHECKED) != 0) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    const win32::UINT command = entry.info.wID;
    const win32::HWND window = window_;
    connect(action, &QAction::triggered, this, [window, command] {
        win32::SendMessageA(window, win32::WM_COMMAND, win32::MAKEWPARAM(command, 0), 0);
    });
    return action;
}

OwnerDrawMenu* MenuBarView::popupFor(win32::HMENU menu)
{
    if (OwnerDrawMenu* existing = popup(menu)) {
        return existing;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): deleted by this view
    auto* created = new OwnerDrawMenu(menu, window_, &bar_);
    popups_.emplace(menu, created);
    connect(created, &QMenu::aboutToShow, this, [this, created] { aboutToShow(*created); });
    connect(created, &QMenu::hovered, this,
            [this, created](QAction* action) { highlighted(*created, action); });
    connect(created, &QMenu::aboutToHide, this, [this, created] {
        // Only the popups that hang from the bar end the menu; a sub-popup closing does not.
        if (std::find(barActions_.begin(), barActions_.end(), created->menuAction()) !=
            barActions_.end()) {
            win32::SendMessageA(window_, win32::WM_MENUSELECT,
                                win32::MAKEWPARAM(0, win32::kMenuClosedFlags), 0);
        }
    });
    fillPopup(*created);
    return created;
}

void MenuBarView::forgetPopup(win32::HMENU menu)
{
    const auto it = popups_.find(menu);
    if (it == popups_.end()) {
        return;
    }
    const QPointer<OwnerDrawMenu> gone = it->second;
    popups_.erase(it);
    dirty_.erase(menu);
    if (gone) {
        std::erase(barActions_, gone->menuAction());
        gone->deleteLater();
    }
}

void MenuBarView::aboutToShow(OwnerDrawMenu& popup)
{
    const win32::HMENU menu = popup.menuHandle();
    win32::SendMessageA(window_, win32::WM_INITMENUPOPUP, static_cast<win32::WPARAM>(menu), 0);
    // What the window changed in answer, and any change still waiting, shows now.
    if (barDirty_) {
        barDirty_ = false;
        fillBar();
    }
    if (dirty_.erase(menu) > 0) {
        fillPopup(popup);
    }
}

void MenuBarView::highlighted(const OwnerDrawMenu& popup, const QAction* action)
{
    const auto position = popup.entryPosition(action);
    if (!position) {
        return;
    }
    const EntryInfo entry = readEntry(popup.menuHandle(), *position);
    win32::UINT flags = win32::MF_HILITE |
                        (entry.info.fState & (win32::MF_GRAYED | win32::MF_CHECKED)) |
                        (entry.info.fType & (win32::MF_OWNERDRAW | win32::MF_SEPARATOR));
    win32::UINT item = entry.info.wID;
    if (entry.info.hSubMenu != 0) {
        // A sub-menu entry is named by its position, as in Win32.
        flags |= win32::MF_POPUP;
        item = *position;
    }
    win32::SendMessageA(window_, win32::WM_MENUSELECT, win32::MAKEWPARAM(item, flags),
                        static_cast<win32::LPARAM>(popup.menuHandle()));
}

} // namespace host
