#include "host/toolkit/frame_menu.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_toolbar.h"
#include "host/toolkit/keys_internal.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/sheet.h"
#include "host/win32/menus.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>

namespace host {

namespace {

win32::MENUITEMINFOA infoWithMask(win32::UINT mask)
{
    win32::MENUITEMINFOA info;
    info.cbSize = win32::kMenuItemInfoSize;
    info.fMask = mask;
    return info;
}

std::string entryText(win32::HMENU menu, int position)
{
    const auto at = static_cast<win32::UINT>(position);
    const int length = win32::GetMenuStringA(menu, at, nullptr, 0, win32::MF_BYPOSITION);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    win32::GetMenuStringA(menu, at, text.data(), length + 1, win32::MF_BYPOSITION);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

bool ancestorsEnabled(const MenuItem& item)
{
    for (const MenuItem* at = &item; at != nullptr; at = at->parentItem()) {
        if (!at->enabled()) {
            return false;
        }
    }
    return true;
}

MenuItem* findByShortcut(MenuItem& menu, const Shortcut& key)
{
    for (int i = 1; i <= menu.itemCount(); ++i) {
        MenuItem& item = *menu.item(i);
        if (item.shortcut() == key || item.secondShortcut() == key) {
            return &item;
        }
        if (MenuItem* found = findByShortcut(item, key)) {
            return found;
        }
    }
    return nullptr;
}

// Whether `widget` is a control the user types text into (and may type into now).
bool takesText(const QWidget* widget)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return !line->isReadOnly();
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(widget)) {
        return !text->isReadOnly();
    }
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) {
        return !text->isReadOnly();
    }
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) {
        return !spin->isReadOnly();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->isEditable();
    }
    return false;
}

} // namespace

FrameMenu::FrameMenu(Frame& frame, std::unique_ptr<MenuItem> menu)
    : frame_(frame), menu_(std::move(menu))
{
    menu_->setparentwindow(&frame_);
    bar_ = menu_->buildMenuBar();
    win32::SetMenu(frame_.handle(), bar_);
    view_ = std::make_unique<MenuBarView>(*frameWidgetOf(frame_).menuBar(), frame_.handle());
    view_->sync();
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): Qt parent, the frame
    toolbar_ = new FrameToolbar(&frameWidgetOf(frame_), *menu_, frame_.handle());
    frameWidgetOf(frame_).addToolBar(toolbar_);
    toolbar_->setMovable(false);

    QMdiArea* area = frame_.mdiArea();
    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (sub != nullptr) {
            connect(sub, &QMdiSubWindow::windowStateChanged, this, &FrameMenu::refreshSheetEntries,
                    Qt::UniqueConnection);
        }
        refreshSheetEntries();
    });
    qApp->installEventFilter(this);
}

FrameMenu::~FrameMenu() = default;

bool FrameMenu::handleMessage(win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam)
{
    switch (message) {
    case win32::WM_COMMAND:
        command(win32::LOWORD(wParam));
        return true;
    case win32::WM_INITMENUPOPUP:
        if (static_cast<win32::HMENU>(wParam) == windowMenu()) {
            refreshSheetEntries();
        }
        return true;
    case win32::WM_MENUSELECT:
        showMicrohelp(win32::LOWORD(wParam), win32::HIWORD(wParam),
                      static_cast<win32::HMENU>(lParam));
        return true;
    default:
        return false;
    }
}

void FrameMenu::command(win32::UINT id)
{
    if (id >= kFirstSheetCommand && id < kFirstSheetCommand + kListedSheetsMax) {
        const auto sheets = frame_.sheets();
        const auto index = static_cast<std::size_t>(id - kFirstSheetCommand);
        if (index < sheets.size()) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(widgetOf(*sheets[index]).parentWidget())) {
                frame_.mdiArea()->setActiveSubWindow(sub);
            }
        }
        return;
    }
    MenuItem* item = menu_->findByCommand(id);
    if (item == nullptr || item == menu_.get()) {
        return;
    }
    raiseEvent([item] { item->clicked(); });
}

void FrameMenu::showMicrohelp(win32::UINT item, win32::UINT flags, win32::HMENU menu)
{
    QStatusBar* status = frameWidgetOf(frame_).statusBar();
    if ((flags == win32::kMenuClosedFlags && menu == 0) || (flags & win32::MF_POPUP) != 0) {
        status->clearMessage();
        return;
    }
    const MenuItem* highlighted = menu_->findByCommand(item);
    if (highlighted == nullptr || highlighted->microhelp().empty()) {
        status->clearMessage();
        return;
    }
    status->showMessage(QString::fromStdString(highlighted->microhelp()));
}

win32::HMENU FrameMenu::windowMenu() const
{
    // The sheets' menu position counts the menu bar's titles from 1; a maximised sheet's
    // system menu in front of them is not one.
    const int count = win32::GetMenuItemCount(bar_);
    int title = 0;
    for (int position = 0; position < count; ++position) {
        const win32::HMENU submenu = win32::GetSubMenu(bar_, position);
        if (childSystemMenu_ != 0 && submenu == childSystemMenu_) {
            continue;
        }
        if (++title == listPosition_) {
            return submenu;
        }
    }
    return 0;
}

void FrameMenu::refreshSheetEntries()
{
    refreshChildSystemMenu();
    refreshWindowList();
}

void FrameMenu::removeListedEntries()
{
    const int count = win32::GetMenuItemCount(listMenu_);
    for (int i = 0; i < listedEntries_ && count - 1 - i >= 0; ++i) {
        win32::DeleteMenu(listMenu_, static_cast<win32::UINT>(count - 1 - i), win32::MF_BYPOSITION);
    }
    listedEntries_ = 0;
}

void FrameMenu::refreshWindowList()
{
    const auto sheets = frame_.sheets();
    const Sheet* active = frame_.getactivesheet();
    if (!sheets.empty()) {
        listPosition_ = (active != nullptr ? active : sheets.front())->menuPosition();
    }
    std::vector<std::pair<std::string, bool>> wanted;
    for (const Sheet* sheet : sheets) {
        if (wanted.size() == static_cast<std::size_t>(kListedSheetsMax)) {
            break;
        }
        wanted.emplace_back("&" + std::to_string(wanted.size() + 1) + " " + sheet->title(),
                            sheet == active);
    }
    const win32::HMENU target = windowMenu();
    const int count = win32::GetMenuItemCount(listMenu_);
    // The same sheets under the same titles only change their check marks, so the entries keep
    // whatever else was set on them (an owner-draw registration).
    bool same = target == listMenu_ && count >= listedEntries_ &&
                listedEntries_ == (wanted.empty() ? 0 : static_cast<int>(wanted.size()) + 1);
    for (std::size_t i = 0; same && i < wanted.size(); ++i) {
        same = entryText(listMenu_, count - listedEntries_ + 1 + static_cast<int>(i)) ==
               wanted[i].first;
    }
    if (same) {
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            const auto position = static_cast<win32::UINT>(count - listedEntries_ + 1 + i);
            win32::MENUITEMINFOA info = infoWithMask(win32::MIIM_STATE);
            win32::GetMenuItemInfoA(listMenu_, position, 1, &info);
            const win32::UINT state =
                (info.fState & ~win32::MFS_CHECKED) | (wanted[i].second ? win32::MFS_CHECKED : 0);
            if (state != info.fState) {
                info.fState = state;
                win32::SetMenuItemInfoA(listMenu_, position, 1, &info);
            }
        }
        return;
    }
    if (count >= 0) {
        removeListedEntries();
    }
    listMenu_ = target;
    listedEntries_ = 0;
    if (target == 0 || wanted.empty()) {
        return;
    }
    win32::AppendMenuA(target, win32::MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const win32::UINT flags =
            win32::MF_STRING | (wanted[i].second ? win32::MF_CHECKED : win32::MF_UNCHECKED);
        win32::AppendMenuA(target, flags, kFirstSheetCommand + static_cast<win32::UINT>(i),
                           wanted[i].first.c_str());
    }
    listedEntries_ = static_cast<int>(wanted.size()) + 1;
}

void FrameMenu::refreshChildSystemMenu()
{
    win32::HMENU wanted = 0;
    if (Sheet* active = frame_.getactivesheet()) {
        auto* sub = qobject_cast<QMdiSubWindow*>(widgetOf(*active).parentWidget());
        if (sub != nullptr && sub->isMaximized()) {
            wanted = win32::GetSystemMenu(active->handle(), 0);
        }
    }
    if (wanted == childSystemMenu_ && win32::GetMenuItemCount(wanted) >= 0) {
        return;
    }
    // The entry only borrows the sheet's system menu: removing it leaves the menu to its sheet.
    if (childSystemMenu_ != 0 && win32::GetSubMenu(bar_, 0) == childSystemMenu_) {
        win32::RemoveMenu(bar_, 0, win32::MF_BYPOSITION);
    }
    childSystemMenu_ = wanted;
    view_->setHiddenSubmenu(wanted);
    if (wanted == 0) {
        return;
    }
    win32::MENUITEMINFOA info = infoWithMask(win32::MIIM_FTYPE | win32::MIIM_SUBMENU);
    info.fType = win32::MFT_BITMAP;
    info.hSubMenu = wanted;
    win32::InsertMenuItemA(bar_, 0, 1, &info);
}

bool FrameMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    // Only inside this frame, and not while its menu bar takes letters as mnemonics.
    if (widget->window() != &frameWidgetOf(frame_) || qobject_cast<QMenuBar*>(widget) != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (key->key() == Qt::Key_F5 && held == Qt::NoModifier) {
        // F5 reads the active sheet's contents again.
        Sheet* sheet = frame_.getactivesheet();
        if (sheet != nullptr) {
            raiseEvent([sheet] { sheet->onRefresh(); });
        }
        return sheet != nullptr;
    }
    const int code = virtualKeyOf(key->key());
    if (code == 0) {
        return false;
    }
    // A key that types a character belongs to the control that takes text, when one has the
    // focus: the letters of the plain-key shortcuts are text there. Keys that type nothing (F1)
    // and keys held with Ctrl or Alt stay shortcuts.
    const bool typesText = !key->text().isEmpty() && key->text().front().isPrint() &&
                           (held & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (typesText && takesText(QApplication::focusWidget())) {
        return false;
    }
    return runShortcut(Shortcut{code, (held & Qt::ControlModifier) != 0,
                                (held & Qt::ShiftModifier) != 0, (held & Qt::AltModifier) != 0});
}

bool FrameMenu::runShortcut(const Shortcut& key)
{
    MenuItem* item = findByShortcut(*menu_, key);
    if (item == nullptr || !ancestorsEnabled(*item)) {
        return false;
    }
    win32::SendMessageA(frame_.handle(), win32::WM_COMMAND, win32::MAKEWPARAM(item->commandId(), 1),
                        0);
    return true;
}

} // namespace host
