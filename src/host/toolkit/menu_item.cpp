#include "host/toolkit/menu_item.h"

#include <vector>

namespace host {

namespace {

// Commands stay below the system menu's range (0xF000 and up).
constexpr win32::UINT kLastCommand = 0xEFFF;

win32::UINT nextCommandId()
{
    static win32::UINT next = 0;
    next = next >= kLastCommand ? 1 : next + 1;
    return next;
}

bool isLive(win32::HMENU menu)
{
    return menu != 0 && win32::GetMenuItemCount(menu) >= 0;
}

win32::MENUITEMINFOA infoWithMask(win32::UINT mask)
{
    win32::MENUITEMINFOA info;
    info.cbSize = win32::kMenuItemInfoSize;
    info.fMask = mask;
    return info;
}

} // namespace

MenuItem::MenuItem(std::string className)
    : className_(std::move(className)), commandId_(nextCommandId())
{
}

MenuItem::~MenuItem() = default;

std::unique_ptr<MenuItem> MenuItem::create()
{
    return std::make_unique<MenuItem>();
}

MenuItem* MenuItem::item(int index) const
{
    if (index < 1 || index > itemCount()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index - 1)].get();
}

MenuItem& MenuItem::addItem(std::unique_ptr<MenuItem> child)
{
    child->parent_ = this;
    items_.push_back(std::move(child));
    MenuItem& added = *items_.back();
    if (isLive(menu_)) {
        if (added.visible_) {
            added.buildEntry(added.insertPosition());
        }
    } else if (showsPopup() && parent_ != nullptr && entryPosition() >= 0) {
        // The first sub-item turns a plain entry into a popup.
        buildSubmenu();
        win32::MENUITEMINFOA info = infoWithMask(win32::MIIM_SUBMENU);
        info.hSubMenu = menu_;
        win32::SetMenuItemInfoA(parent_->menu_, static_cast<win32::UINT>(entryPosition()), 1,
                                &info);
    }
    return added;
}

MenuHost* MenuItem::parentwindow() const
{
    const MenuItem* root = this;
    while (root->parent_ != nullptr) {
        root = root->parent_;
    }
    return root->parentWindow_;
}

MenuItem* MenuItem::findByCommand(win32::UINT command)
{
    if (commandId_ == command) {
        return this;
    }
    for (const auto& child : items_) {
        if (MenuItem* found = child->findByCommand(command)) {
            return found;
        }
    }
    return nullptr;
}

void MenuItem::setText(std::string text)
{
    text_ = std::move(text);
    updateEntryText();
}

void MenuItem::setEnabled(bool enabled)
{
    enabled_ = enabled;
    updateEntryState();
}

void MenuItem::setChecked(bool checked)
{
    checked_ = checked;
    updateEntryState();
}

void MenuItem::setVisible(bool visible)
{
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (parent_ == nullptr || !isLive(parent_->menu_)) {
        return;
    }
    if (visible_) {
        buildEntry(insertPosition());
        return;
    }
    // An invisible item has no entry at all, so the entries after it move up one position.
    if (const int position = entryPosition(); position >= 0) {
        win32::DeleteMenu(parent_->menu_, static_cast<win32::UINT>(position), win32::MF_BYPOSITION);
    }
    forgetMenus();
}

win32::HMENU MenuItem::buildMenuBar()
{
    forgetMenus();
    isMenuBar_ = true;
    menu_ = win32::CreateMenu();
    win32::UINT position = 0;
    for (const auto& child : items_) {
        if (child->visible_) {
            child->buildEntry(position++);
        }
    }
    return menu_;
}

bool MenuItem::showsPopup() const
{
    return (parent_ != nullptr && parent_->isMenuBar_) || !items_.empty();
}

void MenuItem::buildSubmenu()
{
    menu_ = win32::CreatePopupMenu();
    win32::UINT position = 0;
    for (const auto& child : items_) {
        if (child->visible_) {
            child->buildEntry(position++);
        }
    }
}

void MenuItem::buildEntry(win32::UINT position)
{
    if (showsPopup()) {
        buildSubmenu();
    }
    std::vector<char> text(text_.begin(), text_.end());
    text.push_back('\0');
    const win32::MenuTextBuffer buffer(text.data(), text.size());
    win32::MENUITEMINFOA info =
        infoWithMask(win32::MIIM_ID | win32::MIIM_STATE | win32::MIIM_FTYPE | win32::MIIM_STRING);
    info.wID = commandId_;
    info.fState = entryState();
    info.fType = entryType();
    info.dwTypeData = buffer.address();
    if (menu_ != 0) {
        info.fMask |= win32::MIIM_SUBMENU;
        info.hSubMenu = menu_;
    }
    win32::InsertMenuItemA(parent_->menu_, position, 1, &info);
}

void MenuItem::forgetMenus()
{
    menu_ = 0;
    isMenuBar_ = false;
    for (const auto& child : items_) {
        child->forgetMenus();
    }
}

int MenuItem::entryPosition() const
{
    if (parent_ == nullptr || !isLive(parent_->menu_)) {
        return -1;
    }
    const int count = win32::GetMenuItemCount(parent_->menu_);
    for (int position = 0; position < count; ++position) {
        win32::MENUITEMINFOA info = infoWithMask(win32::MIIM_ID);
        if (win32::GetMenuItemInfoA(parent_->menu_, static_cast<win32::UINT>(position), 1, &info) !=
                0 &&
            info.wID == commandId_) {
            return position;
        }
    }
    return -1;
}

win32::UINT MenuItem::insertPosition() const
{
    // After the nearest earlier sibling that has an entry, else before the nearest later one,
    // so entries the window added itself after the items stay after them.
    std::size_t index = 0;
    while (parent_->items_[index].get() != this) {
        ++index;
    }
    for (std::size_t before = index; before-- > 0;) {
        if (const int position = parent_->items_[before]->entryPosition(); position >= 0) {
            return static_cast<win32::UINT>(position + 1);
        }
    }
    for (std::size_t after = index + 1; after < parent_->items_.size(); ++after) {
        if (const int position = parent_->items_[after]->entryPosition(); position >= 0) {
            return static_cast<win32::UINT>(position);
        }
    }
    return 0;
}

win32::UINT MenuItem::entryState() const
{
    return (enabled_ ? win32::MFS_ENABLED : win32::MFS_GRAYED) |
           (checked_ ? win32::MFS_CHECKED : win32::MFS_UNCHECKED);
}

win32::UINT MenuItem::entryType() const
{
    return text_ == "-" ? win32::MFT_SEPARATOR : win32::MFT_STRING;
}

void MenuItem::updateEntryState()
{
    const int position = entryPosition();
    if (position < 0) {
        return;
    }
    win32::MENUITEMINFOA info = infoWithMask(win32::MIIM_STATE);
    win32::GetMenuItemInfoA(parent_->menu_, static_cast<win32::UINT>(position), 1, &info);
    info.fState = (info.fState & ~(win32::MFS_GRAYED | win32::MFS_CHECKED)) | entryState();
    win32::SetMenuItemInfoA(parent_->menu_, static_cast<win32::UINT>(position), 1, &info);
}

void MenuItem::updateEntryText()
{
    const int position = entryPosition();
    if (position < 0) {
        return;
    }
    // Only the separator bit follows the text; owner-draw and other bits stay as others set them.
    win32::MENUITEMINFOA info = infoWithMask(win32::MIIM_FTYPE);
    win32::GetMenuItemInfoA(parent_->menu_, static_cast<win32::UINT>(position), 1, &info);
    std::vector<char> text(text_.begin(), text_.end());
    text.push_back('\0');
    const win32::MenuTextBuffer buffer(text.data(), text.size());
    info.fMask = win32::MIIM_FTYPE | win32::MIIM_STRING;
    info.fType = (info.fType & ~win32::MFT_SEPARATOR) | entryType();
    info.dwTypeData = buffer.address();
    win32::SetMenuItemInfoA(parent_->menu_, static_cast<win32::UINT>(position), 1, &info);
}

} // namespace host
