// A hidden window whose menu bar holds the frame's File menu with one entry in every state an
// item can be drawn in (icon, checked, disabled, separator, plain), registered with an engine of
// its own. The gallery, the paint benchmark and their tests paint its popup.
#pragma once

#include "host/toolkit/menu_host.h"
#include "host/win32/types.h"

#include <QWidget>
#include <memory>

class nvo_supermenu_class;

namespace host {
class MenuItem;
}

namespace menupreview {

class FileMenuWindow : public QWidget, public host::MenuHost {
public:
    // Positions of the File popup's entries.
    static constexpr int kOpenEntry = 0;  // icon; the one the gallery highlights
    static constexpr int kCloseEntry = 1; // icon
    static constexpr int kHelpEntry = 2;  // checked (the check mark wins over its icon)
    static constexpr int kAboutEntry = 3; // disabled, greyed icon
    static constexpr int kSeparator = 4;
    static constexpr int kQuitEntry = 5; // icon
    static constexpr int kEntryCount = 6;

    FileMenuWindow();
    ~FileMenuWindow() override;

    [[nodiscard]] win32::HWND handle() const override { return handle_; }
    [[nodiscard]] host::MenuItem* menuid() const override { return menu_.get(); }

    // The engine that paints the window's popups; set its look and background at will.
    [[nodiscard]] nvo_supermenu_class& engine() const { return *engine_; }
    // The File popup.
    [[nodiscard]] win32::HMENU filePopup() const { return filePopup_; }

private:
    win32::HWND handle_;
    std::unique_ptr<host::MenuItem> menu_;
    // Declared after the menu: its records point at the menu's items, so it goes first.
    std::unique_ptr<nvo_supermenu_class> engine_;
    win32::HMENU filePopup_ = 0;
};

} // namespace menupreview
