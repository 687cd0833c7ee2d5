// Menu item objects of the toolkit: a tree of items with the properties the program's menus use
// (text, visibility, state, toolbar picture and text, shortcut, micro-help, tag, a `clicked`
// event), shown through the Win32 menu model and kept in step with it as properties change.
#pragma once

#include "host/toolkit/shortcut.h"
#include "host/win32/menus.h"

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace host {

class MenuHost;

class MenuItem {
public:
    // `className` is the item's object name (such as "m_openfile"); a plain item is a "menu".
    explicit MenuItem(std::string className = "menu");
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    virtual ~MenuItem();

    // A free-standing item, in no menu and shown nowhere.
    static std::unique_ptr<MenuItem> create();

    [[nodiscard]] const std::string& className() const { return className_; }

    [[nodiscard]] const std::string& text() const { return text_; }
    void setText(std::string text);
    [[nodiscard]] bool visible() const { return visible_; }
    void setVisible(bool visible);
    [[nodiscard]] bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    [[nodiscard]] bool checked() const { return checked_; }
    void setChecked(bool checked);

    // The toolbar picture (up and down), the toolbar text (label and tip) and the space before
    // the item's toolbar button. An item with a picture is also a toolbar button.
    [[nodiscard]] const std::string& toolbaritemname() const { return toolbarItemName_; }
    void settoolbaritemname(std::string name) { toolbarItemName_ = std::move(name); }
    [[nodiscard]] const std::string& toolbaritemdownname() const { return toolbarItemDownName_; }
    void settoolbaritemdownname(std::string name) { toolbarItemDownName_ = std::move(name); }
    [[nodiscard]] const std::string& toolbaritemtext() const { return toolbarItemText_; }
    void settoolbaritemtext(std::string text) { toolbarItemText_ = std::move(text); }
    [[nodiscard]] int toolbaritemspace() const { return toolbarItemSpace_; }
    void settoolbaritemspace(int space) { toolbarItemSpace_ = space; }

    [[nodiscard]] const Shortcut& shortcut() const { return shortcut_; }
    void setShortcut(Shortcut shortcut) { shortcut_ = shortcut; }
    // A further key that runs the item, not shown in its text (such as F1 for a help item).
    [[nodiscard]] const Shortcut& secondShortcut() const { return secondShortcut_; }
    void setSecondShortcut(Shortcut shortcut) { secondShortcut_ = shortcut; }
    [[nodiscard]] const std::string& microhelp() const { return microhelp_; }
    void setmicrohelp(std::string text) { microhelp_ = std::move(text); }
    [[nodiscard]] const std::string& tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }

    // Sub-items, numbered from 1; nullptr outside 1..itemCount().
    [[nodiscard]] int itemCount() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] MenuItem* item(int index) const;
    MenuItem& addItem(std::unique_ptr<MenuItem> child);
    template <typename Item, typename... Args> Item& addItem(Args&&... args)
    {
        static_assert(std::is_base_of_v<MenuItem, Item>);
        auto child = std::make_unique<Item>(std::forward<Args>(args)...);
        Item& added = *child;
        addItem(std::move(child));
        return added;
    }
    [[nodiscard]] MenuItem* parentItem() const { return parent_; }

    // The window that owns the menu: set on the root, answered by every item below it.
    [[nodiscard]] MenuHost* parentwindow() const;
    void setparentwindow(MenuHost* window) { parentWindow_ = window; }

    // The item's event, raised by its menu entry, shortcut key or toolbar button.
    virtual void clicked() {}

    // The Win32 command of the item's entry, unique among live items.
    [[nodiscard]] win32::UINT commandId() const { return commandId_; }
    // This item or the item below it with that command; nullptr for none.
    [[nodiscard]] MenuItem* findByCommand(win32::UINT command);

    // Builds a menu bar whose titles are this item's visible sub-items (each with a popup),
    // down to any depth; an item with sub-items gets a popup, an invisible item no entry, "-" a
    // separator. From then on the entries follow the items' text, visibility, state and new
    // sub-items, leaving the type and data others gave them (owner-draw) alone. The caller owns
    // the handle (SetMenu hands it to a window).
    win32::HMENU buildMenuBar();
    // The menu that shows this item's sub-items, 0 while none is built.
    [[nodiscard]] win32::HMENU menuHandle() const { return menu_; }

private:
    void buildEntry(win32::UINT position);
    void buildSubmenu();
    void forgetMenus();
    [[nodiscard]] int entryPosition() const;
    [[nodiscard]] win32::UINT insertPosition() const;
    [[nodiscard]] win32::UINT entryState() const;
    [[nodiscard]] win32::UINT entryType() const;
    void updateEntryState();
    void updateEntryText();
    [[nodiscard]] bool showsPopup() const;

    std::string className_;
    std::string text_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    std::string toolbarItemName_;
    std::string toolbarItemDownName_;
    std::string toolbarItemText_;
    int toolbarItemSpace_ = 0;
    Shortcut shortcut_;
    Shortcut secondShortcut_;
    std::string microhelp_;
    std::string tag_;
    MenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<MenuItem>> items_;
    MenuHost* parentWindow_ = nullptr;
    win32::UINT commandId_ = 0;
    win32::HMENU menu_ = 0;
    bool isMenuBar_ = false;
};

} // namespace host
