// What the frame's menu commands do, one item class each: its `clicked` event, raised by the
// menu entry, the shortcut key or the toolbar button. `parentwindow` is the frame.
#pragma once

#include "host/toolkit/menu_item.h"

#include <string>

namespace app {

// The frame's menu-bar position under which it lists the browse sheet ("[&W]窗口").
inline constexpr int kSheetMenuPosition = 2;

inline const std::string kHelpTitle = "帮助信息";
inline const std::string kHelpText =
    "     哈哈很简单的!\r\n在左边单击选择文件库后,在右边双击要浏览的文件";

// Opens the browse sheet, or brings the open one to the front.
class OpenFileItem : public host::MenuItem {
public:
    OpenFileItem() : host::MenuItem("m_openfile") {}
    void clicked() override;
};

// Closes the active sheet, if there is one.
class CloseFileItem : public host::MenuItem {
public:
    CloseFileItem() : host::MenuItem("m_closefile") {}
    void clicked() override;
};

// Closes the frame, which ends the program.
class QuitItem : public host::MenuItem {
public:
    QuitItem() : host::MenuItem("m_quit") {}
    void clicked() override;
};

// Shows the one-message help.
class HelpItem : public host::MenuItem {
public:
    HelpItem() : host::MenuItem("m_helpforvarnelook") {}
    void clicked() override;
};

// Opens the about window over the frame.
class AboutItem : public host::MenuItem {
public:
    AboutItem() : host::MenuItem("m_about") {}
    void clicked() override;
};

} // namespace app
