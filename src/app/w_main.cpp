#include "app/w_main.h"

#include "app/m_main.h"
#include "app/menu_commands.h"
#include "app/start_place.h"
#include "browse/w_brow.h"
#include "host/toolkit/colors.h"

#include <memory>

w_main::w_main()
{
    setTitle("Varnelook1.0");
    setIcon("AppIcon!");
    setDesignSize(2533, 1408);
    setOpenMaximized(true);
    setClientBackColor(host::RGB(0, 128, 128));
    setmenuid(std::make_unique<m_main>());
    // Each message carries the address of its record in its second parameter.
    bindUserEvent(win32::WM_DRAWITEM, [this](win32::WPARAM wParam, win32::LPARAM lParam) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        auto* record = reinterpret_cast<win32::DRAWITEMSTRUCT*>(lParam);
        ue_drawitem(static_cast<std::uint32_t>(wParam), record);
    });
    bindUserEvent(win32::WM_MEASUREITEM, [this](win32::WPARAM wParam, win32::LPARAM lParam) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        auto* record = reinterpret_cast<win32::MEASUREITEMSTRUCT*>(lParam);
        ue_measureitem(static_cast<std::uint32_t>(wParam), record);
    });
    // A folder or an archive dropped onto the window opens as `varnelook PATH` would start.
    onPathDropped([](const std::string& path) { return app::placeOf(path).error.empty(); },
                  [this](const std::string& path) { app::openPlace(*this, path); });
}

w_main::~w_main() = default;

void w_main::onOpen()
{
    // The look and background first, so the first paint after registration already uses them.
    inv_supermenu.menustyle = nvo_supermenu_class::style_officexp2;
    inv_supermenu.menubkstyle = nvo_supermenu_class::style_bkamb;
    inv_supermenu.of_registerwindow(this);
    opensheet<w_brow>(app::kSheetMenuPosition);
}

void w_main::adoptPopupMenu(host::MenuItem& root, win32::HMENU bar)
{
    inv_supermenu.of_registermenu(&root, 0, bar, 0);
}

void w_main::ue_drawitem(std::uint32_t childid, win32::DRAWITEMSTRUCT* drawitemstruct)
{
    inv_supermenu.of_drawitem(childid, drawitemstruct);
}

void w_main::ue_measureitem(std::uint32_t childid, win32::MEASUREITEMSTRUCT* measureitemstruct)
{
    inv_supermenu.of_measureitem(childid, measureitemstruct);
}
