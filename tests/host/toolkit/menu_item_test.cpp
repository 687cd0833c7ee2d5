#include "../../support/menu_test_window.h"
#include "host/toolkit/menu_item.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace win32;

std::string textAt(HMENU menu, UINT position)
{
    char buffer[64] = {};
    GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

MENUITEMINFOA read(HMENU menu, UINT position, UINT mask)
{
    MENUITEMINFOA info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = mask;
    EXPECT_TRUE(GetMenuItemInfoA(menu, position, 1, &info)) << "position " << position;
    return info;
}

host::MenuItem& addText(host::MenuItem& parent, const std::string& className,
                        const std::string& text)
{
    host::MenuItem& item = parent.addItem<host::MenuItem>(className);
    item.setText(text);
    return item;
}

// File: Open, (hidden) Recent, -, Quit (checked, disabled); Help: More > Deep.
struct Fixture {
    MenuTestWindow window;
    host::MenuItem& file = addText(window.menu(), "m_file", "[&F]File");
    host::MenuItem& open = addText(file, "m_open", "Open\tO");
    host::MenuItem& recent = addText(file, "m_recent", "Recent");
    host::MenuItem& separator = addText(file, "m_1", "-");
    host::MenuItem& quit = addText(file, "m_quit", "Quit");
    host::MenuItem& help = addText(window.menu(), "m_help", "Help");
    host::MenuItem& more = addText(help, "m_more", "More");
    host::MenuItem& deep = addText(more, "m_deep", "Deep");
    HMENU bar = 0;

    Fixture()
    {
        recent.setVisible(false);
        quit.setChecked(true);
        quit.setEnabled(false);
        bar = window.showMenu();
    }
};

TEST(MenuItems, TheTreeBuildsTheWin32MenuAndInvisibleItemsHaveNoEntry)
{
    Fixture f;
    EXPECT_EQ(GetMenu(f.window.handle()), f.bar);
    ASSERT_EQ(GetMenuItemCount(f.bar), 2);
    const HMENU file = GetSubMenu(f.bar, 0);
    ASSERT_NE(file, 0u);
    EXPECT_EQ(file, f.file.menuHandle());
    ASSERT_EQ(GetMenuItemCount(file), 3) << "the hidden item takes no position";
    EXPECT_EQ(textAt(file, 0), "Open\tO");
    EXPECT_EQ(read(file, 1, MIIM_TYPE).fType, MFT_SEPARATOR);
    EXPECT_EQ(textAt(file, 2), "Quit");
    EXPECT_EQ(read(file, 2, MIIM_STATE).fState, MFS_GRAYED | MFS_CHECKED);
    EXPECT_EQ(read(file, 2, MIIM_ID).wID, f.quit.commandId());
    EXPECT_EQ(GetSubMenu(file, 0), 0u) << "an item without sub-items has no popup";

    const HMENU help = GetSubMenu(f.bar, 1);
    const HMENU more = GetSubMenu(help, 0);
    ASSERT_NE(more, 0u);
    EXPECT_EQ(textAt(more, 0), "Deep");

    EXPECT_EQ(f.window.menu().findByCommand(f.deep.commandId()), &f.deep);
    EXPECT_EQ(f.deep.parentwindow(), &f.window);
    EXPECT_EQ(f.file.item(1), &f.open);
    EXPECT_EQ(f.file.item(4), &f.quit);
    EXPECT_EQ(f.file.item(0), nullptr);
    EXPECT_EQ(f.file.item(5), nullptr);
    EXPECT_EQ(host::MenuItem::create()->parentwindow(), nullptr);
}

TEST(MenuItems, VisibilityChangesMoveEntriesAndKeepWhatOthersWrote)
{
    Fixture f;
    const HMENU file = f.file.menuHandle();
    // What the owner-draw engine writes into an entry must survive the items' own updates.
    MENUITEMINFOA info = read(file, 2, MIIM_TYPE | MIIM_DATA);
    info.fType |= MFT_OWNERDRAW;
    info.dwItemData = 77;
    ASSERT_TRUE(SetMenuItemInfoA(file, 2, 1, &info));

    f.recent.setVisible(true);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(textAt(file, 1), "Recent") << "shown again between its neighbours";
    EXPECT_EQ(read(file, 3, MIIM_DATA).dwItemData, 77u);

    f.open.setVisible(false);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(textAt(file, 0), "Recent");
    f.open.setVisible(true);
    EXPECT_EQ(textAt(file, 0), "Open\tO");

    f.quit.setText("Exit");
    f.quit.setChecked(false);
    const MENUITEMINFOA after = read(file, 3, MIIM_TYPE | MIIM_DATA | MIIM_STATE);
    EXPECT_EQ(textAt(file, 3), "Exit");
    EXPECT_EQ(after.fType, MFT_OWNERDRAW);
    EXPECT_EQ(after.dwItemData, 77u);
    EXPECT_EQ(after.fState, MFS_GRAYED);

    // Hiding a title takes its popup away; showing it builds a fresh one.
    const auto menusBefore = liveHandles(HandleKind::Menu);
    f.help.setVisible(false);
    EXPECT_EQ(GetMenuItemCount(f.bar), 1);
    EXPECT_EQ(liveHandles(HandleKind::Menu), menusBefore - 2);
    f.help.setVisible(true);
    ASSERT_EQ(GetMenuItemCount(f.bar), 2);
    EXPECT_EQ(textAt(GetSubMenu(GetSubMenu(f.bar, 1), 0), 0), "Deep");
}

TEST(MenuItems, SubItemsAddedLaterGetEntriesAndPopups)
{
    Fixture f;
    addText(f.file, "m_late", "Late");
    EXPECT_EQ(textAt(f.file.menuHandle(), 3), "Late");
    addText(f.open, "m_child", "Child");
    const HMENU openPopup = GetSubMenu(f.file.menuHandle(), 0);
    ASSERT_NE(openPopup, 0u);
    EXPECT_EQ(textAt(openPopup, 0), "Child");
}

struct CountingItem : host::MenuItem {
    using host::MenuItem::MenuItem;
    int clicks = 0;
    void clicked() override { ++clicks; }
};

TEST(MenuItems, ClickedIsTheItemsOwnEventAndTheWindowTakesItsMenuAlong)
{
    const auto menusBefore = liveHandles(HandleKind::Menu);
    {
        MenuTestWindow window;
        host::MenuItem& title = addText(window.menu(), "m_file", "File");
        auto& item = title.addItem<CountingItem>("m_count");
        window.showMenu();
        window.menu().findByCommand(item.commandId())->clicked();
        EXPECT_EQ(item.clicks, 1);
        EXPECT_EQ(item.className(), "m_count");
    }
    EXPECT_EQ(liveHandles(HandleKind::Menu), menusBefore);
}

} // namespace
