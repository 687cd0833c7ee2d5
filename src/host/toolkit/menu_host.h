// The window side of a menu: what the menu engine needs of the window whose menus it paints.
// The frame implements it; tests use a small window of their own.
#pragma once

#include "host/win32/handles.h"

namespace host {

class MenuItem;

class MenuHost {
public:
    MenuHost() = default;
    MenuHost(const MenuHost&) = delete;
    MenuHost& operator=(const MenuHost&) = delete;
    virtual ~MenuHost() = default;

    // The window's handle, the one its menu bar is set on with SetMenu.
    [[nodiscard]] virtual win32::HWND handle() const = 0;
    // The root of the window's menu: its sub-items are the menu-bar titles. nullptr for none.
    [[nodiscard]] virtual MenuItem* menuid() const = 0;
};

} // namespace host
