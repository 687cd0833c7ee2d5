// A small window with a menu for tests of menus and the menu engine: a registered widget whose
// menu bar is built from its own menu item tree.
#pragma once

#include "host/toolkit/menu_host.h"
#include "host/toolkit/menu_item.h"
#include "host/win32/menus.h"
#include "host/win32/windows.h"

#include <QWidget>
#include <memory>

class MenuTestWindow : public QWidget, public host::MenuHost {
public:
    MenuTestWindow() : handle_(win32::registerWindow(this)), menu_(host::MenuItem::create())
    {
        menu_->setparentwindow(this);
    }

    [[nodiscard]] win32::HWND handle() const override { return handle_; }
    [[nodiscard]] host::MenuItem* menuid() const override { return menu_.get(); }

    // The root item, whose sub-items become the menu-bar titles.
    [[nodiscard]] host::MenuItem& menu() const { return *menu_; }

    // Builds the menu bar from the tree and sets it on the window; answers the bar.
    win32::HMENU showMenu()
    {
        const win32::HMENU bar = menu_->buildMenuBar();
        win32::SetMenu(handle_, bar);
        return bar;
    }

private:
    win32::HWND handle_;
    std::unique_ptr<host::MenuItem> menu_;
};
