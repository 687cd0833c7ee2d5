// The frame's menu: the titles "[&F]文件", "[&W]窗口" and "[&H]帮助" with the commands to open
// and close the browse sheet, quit, show the help message and open the about window. The items
// with toolbar pictures also make the frame's toolbar; the shortcut keys are plain letters.
#pragma once

#include "host/toolkit/menu_item.h"

class m_main : public host::MenuItem {
public:
    m_main();

    // The items, by their object names (the separator under the help title is "m_-").
    host::MenuItem& m_file;
    host::MenuItem& m_openfile;
    host::MenuItem& m_closefile;
    host::MenuItem& m_1;
    host::MenuItem& m_quit;
    host::MenuItem& m_w窗口;
    host::MenuItem& m_help;
    host::MenuItem& m_helpforvarnelook;
    host::MenuItem& m_help_separator;
    host::MenuItem& m_about;
};
