// A right-click menu: entries with a handler each, shown as a popup owned by a frame, so that
// whatever paints the frame's menus (its owner-drawn engine) sizes and paints this one too, each
// entry with a Win32 popup's room for a check mark beside the width the owner measures.
#pragma once

#include "host/toolkit/menu_item.h"
#include "host/win32/types.h"

#include <functional>
#include <memory>
#include <string>

namespace host {

class Frame;
class OwnerDrawMenu;
class Window;

class ContextMenu {
public:
    ContextMenu();
    ContextMenu(const ContextMenu&) = delete;
    ContextMenu& operator=(const ContextMenu&) = delete;
    ~ContextMenu();

    // Adds an entry that runs `handler` when chosen; an entry without a handler is shown
    // disabled, as a line of information. "-" is a separator.
    MenuItem& addEntry(const std::string& text, std::function<void()> handler);

    // Shows the menu at the global point `at` as a popup of `parent`, its entries painted by
    // `frame`: the first time, the frame is handed the menu to paint it as its own. Returns at
    // once; the menu closes when used. `parent` must outlive this menu or be its owner.
    void popup(Frame& frame, Window& parent, const win32::POINT& at);
    // The popup while it is shown, nullptr otherwise.
    [[nodiscard]] OwnerDrawMenu* shown() const;

private:
    std::unique_ptr<MenuItem> root_;
    MenuItem* entries_;
    win32::HMENU bar_ = 0;
    Frame* adoptedBy_ = nullptr;
    std::unique_ptr<OwnerDrawMenu> shown_;
};

} // namespace host
