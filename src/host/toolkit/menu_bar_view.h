// Shows a window's Win32 menu bar (GetMenu) in a QMenuBar: one title per bar entry, one popup
// per sub-menu, one action per entry (invisible items have no entry, so no action). Rebuilt from
// the model on its change notices, on the next turn of the event loop and, for a popup, right
// before it shows. The window hears about the menu as a Win32 window does: WM_INITMENUPOPUP
// before a popup shows, WM_MENUSELECT while an entry is highlighted and (0xFFFF, no menu) when
// the menu closes, WM_COMMAND when an entry is chosen. Owner-drawn entries: OwnerDrawMenuStyle.
#pragma once

#include "host/win32/menus.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QAction;
class QMenuBar;

namespace host {

class OwnerDrawMenu;

class MenuBarView : public QObject {
public:
    MenuBarView(QMenuBar& bar, win32::HWND window);
    MenuBarView(const MenuBarView&) = delete;
    MenuBarView& operator=(const MenuBarView&) = delete;
    ~MenuBarView() override;

    // Brings the bar and every popup up to date with the model now.
    void sync();
    // The popup that shows a menu, nullptr while it has none.
    [[nodiscard]] OwnerDrawMenu* popup(win32::HMENU menu) const;
    // Bar entries whose sub-menu is this menu are not shown (a maximised sheet's system menu,
    // which the MDI area shows with its own controls); 0 for none.
    void setHiddenSubmenu(win32::HMENU menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onChange(const win32::MenuChange& change);
    void scheduleSync();
    void fillBar();
    void fillPopup(OwnerDrawMenu& popup);
    OwnerDrawMenu* popupFor(win32::HMENU menu);
    QAction* entryAction(QWidget& owner, win32::HMENU menu, win32::UINT position);
    void forgetPopup(win32::HMENU menu);
    void aboutToShow(OwnerDrawMenu& popup);
    void highlighted(const OwnerDrawMenu& popup, const QAction* action);

    QMenuBar& bar_;
    win32::HWND window_;
    win32::HMENU hiddenSubmenu_ = 0;
    // Qt children of the bar that this view made; the bar may go first and take them along.
    std::unordered_map<win32::HMENU, QPointer<OwnerDrawMenu>> popups_;
    std::vector<QAction*> barActions_;
    std::unordered_set<win32::HMENU> dirty_;
    bool barDirty_ = true;
    // Brings the display up to date on the next turn of the event loop.
    QTimer syncTimer_;
    // Last, so it ends first: no notice reaches a half-destroyed view.
    win32::MenuChangeSubscription subscription_;
};

} // namespace host
