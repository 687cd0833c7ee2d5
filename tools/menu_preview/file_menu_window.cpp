#include "menu_preview/file_menu_window.h"

#include "host/toolkit/menu_item.h"
#include "host/win32/menus.h"
#include "host/win32/windows.h"
#include "menu/nvo_supermenu_class.h"

#include <string>

namespace menupreview {

namespace {

host::MenuItem& addItem(host::MenuItem& parent, const std::string& className,
                        const std::string& text, const std::string& picture = {})
{
    host::MenuItem& item = parent.addItem<host::MenuItem>(className);
    item.setText(text);
    item.setToolbarItemName(picture);
    item.setToolbarItemDownName(picture);
    return item;
}

} // namespace

FileMenuWindow::FileMenuWindow()
    : handle_(win32::registerWindow(this)), menu_(host::MenuItem::create()),
      engine_(std::make_unique<nvo_supermenu_class>())
{
    menu_->setParentWindow(this);
    // The frame's own File items with their pictures; the help entries come from the frame's
    // Help menu, so that one popup shows a checked and a disabled entry too.
    host::MenuItem& file = addItem(*menu_, "m_file", "[&F]文件");
    addItem(file, "m_openfile", "打开\tO", "Custom050!");
    addItem(file, "m_closefile", "关闭\tC", "Custom039!");
    addItem(file, "m_helpforvarnelook", "Help for Varnelook\tH", "help!").setChecked(true);
    addItem(file, "m_about", "About...\tA", "Asterisk!").setEnabled(false);
    addItem(file, "m_1", "-");
    addItem(file, "m_quit", "退出\tQ", "exit!");

    const win32::HMENU bar = menu_->buildMenuBar();
    win32::SetMenu(handle_, bar);
    filePopup_ = win32::GetSubMenu(bar, 0);
    // The frame's look until a caller chooses another.
    engine_->menustyle = nvo_supermenu_class::style_officexp2;
    engine_->menubkstyle = nvo_supermenu_class::style_bkamb;
    engine_->of_registerwindow(this);
}

FileMenuWindow::~FileMenuWindow() = default;

} // namespace menupreview
