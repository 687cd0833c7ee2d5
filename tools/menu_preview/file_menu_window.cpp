#include "menu_preview/file_menu_window.h"

#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/menu_item.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/menus.h"
#include "host/win32/owner_draw.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <memory>
#include <string>

namespace menupreview {

namespace {

host::MenuItem& addItem(host::MenuItem& parent, const std::string& className,
                        const std::string& text, const std::string& picture = {})
{
    host::MenuItem& item = parent.addItem<host::MenuItem>(className);
    item.setText(text);
    item.settoolbaritemname(picture);
    item.settoolbaritemdownname(picture);
    return item;
}

} // namespace

FileMenuWindow::FileMenuWindow()
{
    setTitle("Varnelook menu preview");
    // The frame's own File items with their pictures; the help entries come from the frame's
    // Help menu, so that one popup shows a checked and a disabled entry too.
    auto menu = host::MenuItem::create();
    host::MenuItem& file = addItem(*menu, "m_file", "[&F]文件");
    addItem(file, "m_openfile", "打开\tO", "Custom050!");
    addItem(file, "m_closefile", "关闭\tC", "Custom039!");
    addItem(file, "m_helpforvarnelook", "Help for Varnelook\tH", "help!").setChecked(true);
    addItem(file, "m_about", "About...\tA", "Asterisk!").setEnabled(false);
    addItem(file, "m_1", "-");
    addItem(file, "m_quit", "退出\tQ", "exit!");
    setmenuid(std::move(menu));
    // The two owner-draw messages go to the engine, as the viewer's frame sends them on.
    bindUserEvent(win32::WM_DRAWITEM, [this](win32::WPARAM wParam, win32::LPARAM lParam) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        auto* record = reinterpret_cast<win32::DRAWITEMSTRUCT*>(lParam);
        engine_.of_drawitem(static_cast<std::uint32_t>(wParam), record);
    });
    bindUserEvent(win32::WM_MEASUREITEM, [this](win32::WPARAM wParam, win32::LPARAM lParam) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        auto* record = reinterpret_cast<win32::MEASUREITEMSTRUCT*>(lParam);
        engine_.of_measureitem(static_cast<std::uint32_t>(wParam), record);
    });
    // The frame's look until a caller chooses another.
    engine_.menustyle = nvo_supermenu_class::style_officexp2;
    engine_.menubkstyle = nvo_supermenu_class::style_bkamb;
    engine_.of_registerwindow(this);
    host::widgetOf(*this).resize(640, 480);
    host::widgetOf(*this).show();
    frameMenu()->view().sync();
}

FileMenuWindow::~FileMenuWindow()
{
    closeFilePopup();
}

win32::HMENU FileMenuWindow::filePopup() const
{
    return win32::GetSubMenu(win32::GetMenu(handle()), 0);
}

host::OwnerDrawMenu& FileMenuWindow::popup() const
{
    return *frameMenu()->view().popup(filePopup());
}

host::OwnerDrawMenu& FileMenuWindow::openFilePopup(int highlighted)
{
    host::OwnerDrawMenu& file = popup();
    if (!file.isVisible()) {
        host::frameWidgetOf(*this).menuBar()->setActiveAction(file.menuAction());
        QCoreApplication::processEvents();
    }
    file.setActiveAction(file.entryActions().at(static_cast<std::size_t>(highlighted)));
    return file;
}

QImage FileMenuWindow::popupPicture() const
{
    return popup().grab().toImage();
}

void FileMenuWindow::closeFilePopup()
{
    host::OwnerDrawMenu& file = popup();
    if (file.isVisible()) {
        file.close();
        QCoreApplication::processEvents();
    }
}

} // namespace menupreview
