#include "app/m_main.h"

#include "app/menu_commands.h"
#include "host/toolkit/menu_item.h"

#include <string>

namespace {

// Virtual key codes of the plain letter shortcuts.
constexpr int vk_o = 79;
constexpr int vk_c = 67;
constexpr int vk_q = 81;
constexpr int vk_h = 72;
constexpr int vk_a = 65;
// The desktop's help key, beside H.
constexpr int vk_f1 = 112;

struct ToolbarButton {
    std::string up;
    std::string down;
    std::string text;
    int space = 0;
};

template <typename Item>
host::MenuItem& addCommand(host::MenuItem& parent, const std::string& text, int key,
                           const ToolbarButton& button)
{
    host::MenuItem& item = parent.addItem<Item>();
    item.setText(text);
    item.setShortcut(host::Shortcut{key});
    item.settoolbaritemname(button.up);
    item.settoolbaritemdownname(button.down);
    item.settoolbaritemtext(button.text);
    item.settoolbaritemspace(button.space);
    return item;
}

host::MenuItem& addTitle(host::MenuItem& parent, const std::string& className,
                         const std::string& text)
{
    host::MenuItem& item = parent.addItem<host::MenuItem>(className);
    item.setText(text);
    return item;
}

host::MenuItem& addSeparator(host::MenuItem& parent, const std::string& className)
{
    host::MenuItem& item = parent.addItem<host::MenuItem>(className);
    item.setText("-");
    return item;
}

host::MenuItem& withMicrohelp(host::MenuItem& item, const std::string& text)
{
    item.setmicrohelp(text);
    return item;
}

host::MenuItem& withTag(host::MenuItem& item, const std::string& tag)
{
    item.setTag(tag);
    return item;
}

} // namespace

m_main::m_main()
    : host::MenuItem("m_main"), m_file(addTitle(*this, "m_file", "[&F]文件")),
      m_openfile(
          withMicrohelp(addCommand<app::OpenFileItem>(m_file, "打开\tO", vk_o,
                                                      {"Custom050!", "Custom050!", "打开...", 0}),
                        "打开要浏览的文件库")),
      m_closefile(withTag(addCommand<app::CloseFileItem>(m_file, "关闭\tC", vk_c,
                                                         {"Custom039!", "Custom039!", "关闭", 2}),
                          "关闭正在浏览的文件")),
      m_1(addSeparator(m_file, "m_1")),
      m_quit(
          withTag(addCommand<app::QuitItem>(m_file, "退出\tQ", vk_q, {"exit!", "exit!", "退出", 2}),
                  "退出Varnelook")),
      m_w窗口(addTitle(*this, "m_w窗口", "[&W]窗口")),
      m_help(addTitle(*this, "m_help", "[&H]帮助")),
      m_helpforvarnelook(addCommand<app::HelpItem>(m_help, "Help for Varnelook\tH", vk_h,
                                                   {"help!", "Help!", "帮助", 1})),
      m_help_separator(addSeparator(m_help, "m_-")),
      m_about(addCommand<app::AboutItem>(m_help, "About...\tA", vk_a,
                                         {"Asterisk!", "Asterisk!", "关于...", 1}))
{
    m_helpforvarnelook.setSecondShortcut(host::Shortcut{vk_f1});
}
