// The main window: a multiple-document frame titled "Varnelook1.0" with the menu m_main and its
// toolbar, the status line, and the browse sheet inside its client area, opened maximized. Its
// menus are painted by the owner-drawn menu engine, which lives exactly as long as the frame.
#pragma once

#include "host/toolkit/frame.h"
#include "host/win32/owner_draw.h"
#include "menu/nvo_supermenu_class.h"

#include <cstdint>

class w_main : public host::Frame {
public:
    w_main();
    ~w_main() override;

    // The window system's owner-draw messages of the frame's menus, handed to the engine.
    void ue_drawitem(std::uint32_t childid, win32::DRAWITEMSTRUCT* drawitemstruct);
    void ue_measureitem(std::uint32_t childid, win32::MEASUREITEMSTRUCT* measureitemstruct);

    nvo_supermenu_class inv_supermenu;

    // The sheets' right-click menus are registered with the engine like the frame's own.
    void adoptPopupMenu(host::MenuItem& root, win32::HMENU bar) override;

protected:
    void onOpen() override;
};
