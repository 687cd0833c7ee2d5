// The frame's menu at work: the item tree whose sub-items are the menu-bar titles, set on the
// frame as its Win32 menu bar and shown in the frame's QMenuBar; the toolbar made from it; the
// items' shortcut keys, live anywhere in the frame (but a key that types a character goes to a
// control that takes text while it has the focus), and F5 for the active sheet; the micro-help of
// the highlighted item in the status line; and, as Win32 MDI does, the open sheets listed under the
// window menu (a separator and "&n " + title, checked for the active sheet) and a maximised sheet's
// system menu at menu-bar position 0. The list entries have no item objects behind them.
#pragma once

#include "host/toolkit/frame_toolbar.h"
#include "host/toolkit/menu_item.h"
#include "host/win32/messages.h"

#include <QObject>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace host {

class Frame;
class MenuBarView;

// Commands of the window list entries: the n-th listed sheet has kFirstSheetCommand + n - 1.
inline constexpr win32::UINT kFirstSheetCommand = 0xFF00;
inline constexpr int kListedSheetsMax = 9;

class FrameMenu : public QObject {
public:
    FrameMenu(Frame& frame, std::unique_ptr<MenuItem> menu);
    FrameMenu(const FrameMenu&) = delete;
    FrameMenu& operator=(const FrameMenu&) = delete;
    ~FrameMenu() override;

    [[nodiscard]] MenuItem& menu() const { return *menu_; }
    [[nodiscard]] MenuBarView& view() const { return *view_; }
    [[nodiscard]] FrameToolbar& toolbar() const { return *toolbar_; }

    // Handles the frame's menu messages (WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT); answers
    // false for any other message.
    bool handleMessage(win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam);

    // Brings the window list and the system-menu entry in the model up to date with the sheets.
    void refreshSheetEntries();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] win32::HMENU windowMenu() const;
    void refreshWindowList();
    void removeListedEntries();
    void refreshChildSystemMenu();
    void command(win32::UINT id);
    void showMicrohelp(win32::UINT item, win32::UINT flags, win32::HMENU menu);
    [[nodiscard]] bool runShortcut(const Shortcut& key);

    Frame& frame_;
    std::unique_ptr<MenuItem> menu_;
    win32::HMENU bar_ = 0;
    FrameToolbar* toolbar_ = nullptr; // Qt parent: the frame
    std::unique_ptr<MenuBarView> view_;
    // The window list as the model holds it: the popup, and the entries added to its end.
    win32::HMENU listMenu_ = 0;
    int listedEntries_ = 0;
    int listPosition_ = 0;
    // The maximised sheet's system menu at bar position 0, or 0.
    win32::HMENU childSystemMenu_ = 0;
};

} // namespace host
