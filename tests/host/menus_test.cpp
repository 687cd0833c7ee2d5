#include "host/win32/menus.h"
#include "host/win32/windows.h"

#include <QWidget>
#include <cstddef>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace win32;

MENUITEMINFOA infoWithMask(UINT mask)
{
    MENUITEMINFOA info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = mask;
    return info;
}

std::string textOf(HMENU menu, UINT position)
{
    char buffer[64] = {};
    GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

TEST(MenuModel, TheInfoRecordHasTheWin32LayoutOfElevenFields)
{
    EXPECT_EQ(sizeof(MENUITEMINFOA), 44u);
    EXPECT_EQ(offsetof(MENUITEMINFOA, fType), 8u);
    EXPECT_EQ(offsetof(MENUITEMINFOA, hSubMenu), 20u);
    EXPECT_EQ(offsetof(MENUITEMINFOA, dwItemData), 32u);
    EXPECT_EQ(offsetof(MENUITEMINFOA, dwTypeData), 36u);
    EXPECT_EQ(offsetof(MENUITEMINFOA, cch), 40u);
}

TEST(MenuModel, EntriesKeepTheirPositionsTypesStatesAndSubMenus)
{
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(file, MF_STRING, 101, "Open\tO"));
    ASSERT_TRUE(AppendMenuA(file, MF_SEPARATOR, 0, "ignored"));
    ASSERT_TRUE(AppendMenuA(file, MF_GRAYED | MF_CHECKED, 102, "Quit"));
    ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, file, "File"));

    EXPECT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(GetSubMenu(bar, 0), file);
    EXPECT_EQ(GetSubMenu(file, 0), 0u);
    EXPECT_EQ(GetSubMenu(bar, 5), 0u);
    EXPECT_EQ(textOf(file, 0), "Open\tO");
    EXPECT_EQ(textOf(file, 1), "") << "separators have no text";

    MENUITEMINFOA info = infoWithMask(MIIM_STATE | MIIM_TYPE | MIIM_ID);
    ASSERT_TRUE(GetMenuItemInfoA(file, 1, 1, &info));
    EXPECT_EQ(info.fType, MFT_SEPARATOR);
    ASSERT_TRUE(GetMenuItemInfoA(file, 2, 1, &info));
    EXPECT_EQ(info.fState, MF_GRAYED | MFS_CHECKED) << "the flags are kept as state bits";
    EXPECT_EQ(info.wID, 102u);

    // Destroying the bar takes its sub-menu with it.
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_EQ(GetMenuItemCount(file), -1);
    EXPECT_FALSE(DestroyMenu(bar));
}

TEST(MenuModel, InfoRoundTripsByPositionAndByCommand)
{
    const HMENU bar = CreateMenu();
    const HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 7, "First");
    AppendMenuA(popup, MF_STRING, 8, "Second");
    AppendMenuA(bar, MF_POPUP, popup, "Menu");

    // What the owner-draw registration does: read type and data, add the owner-draw bit and a
    // number, write both back by position.
    MENUITEMINFOA info = infoWithMask(MIIM_TYPE | MIIM_DATA);
    ASSERT_TRUE(GetMenuItemInfoA(popup, 1, 1, &info));
    EXPECT_EQ(info.dwItemData, 0u);
    EXPECT_EQ(info.cch, 6u) << "without a buffer, cch receives the text length";
    info.fType |= MFT_OWNERDRAW;
    info.dwItemData = 42;
    ASSERT_TRUE(SetMenuItemInfoA(popup, 1, 1, &info));

    MENUITEMINFOA back = infoWithMask(MIIM_TYPE | MIIM_DATA | MIIM_STATE);
    back.fState = 0xDEAD;
    ASSERT_TRUE(GetMenuItemInfoA(bar, 8, 0, &back)) << "by command searches sub-menus";
    EXPECT_EQ(back.fType, MFT_OWNERDRAW);
    EXPECT_EQ(back.dwItemData, 42u);
    EXPECT_EQ(back.fState, 0u);
    EXPECT_EQ(textOf(popup, 1), "Second") << "an owner-drawn entry keeps its text";

    // The first entry is untouched.
    MENUITEMINFOA first = infoWithMask(MIIM_TYPE | MIIM_DATA);
    ASSERT_TRUE(GetMenuItemInfoA(popup, 0, 1, &first));
    EXPECT_EQ(first.fType, MFT_STRING);
    EXPECT_EQ(first.dwItemData, 0u);

    // Only the fields the mask names are written.
    MENUITEMINFOA stateOnly = infoWithMask(MIIM_STATE);
    stateOnly.fState = MFS_CHECKED;
    stateOnly.dwItemData = 99;
    ASSERT_TRUE(SetMenuItemInfoA(popup, 8, 0, &stateOnly));
    ASSERT_TRUE(GetMenuItemInfoA(popup, 1, 1, &back));
    EXPECT_EQ(back.dwItemData, 42u);
    EXPECT_EQ(back.fState, MFS_CHECKED);
    DestroyMenu(bar);
}

TEST(MenuModel, RefusesWrongSizesMissingEntriesAndCycles)
{
    const HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "Only");
    MENUITEMINFOA info = infoWithMask(MIIM_DATA);
    info.cbSize = 48;
    EXPECT_FALSE(GetMenuItemInfoA(popup, 0, 1, &info));
    info.cbSize = kMenuItemInfoSize;
    EXPECT_FALSE(GetMenuItemInfoA(popup, 1, 1, &info)) << "position past the end";
    EXPECT_FALSE(GetMenuItemInfoA(popup, 77, 0, &info)) << "unknown command";
    EXPECT_EQ(GetMenuItemCount(0), -1);
    EXPECT_FALSE(AppendMenuA(popup, MF_POPUP, popup, "Self")) << "a menu cannot hold itself";
    const HMENU child = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(popup, MF_POPUP, child, "Child"));
    EXPECT_FALSE(AppendMenuA(child, MF_POPUP, popup, "Loop"));
    DestroyMenu(popup);
}

TEST(MenuModel, TextComesBackThroughABufferTheWin32Way)
{
    const HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 5, "打开\tO");
    std::vector<char> buffer(5, 'x');
    const MenuTextBuffer address(buffer.data(), buffer.size());
    MENUITEMINFOA info = infoWithMask(MIIM_STRING);
    info.dwTypeData = address.address();
    info.cch = 5;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 0, 1, &info));
    EXPECT_EQ(info.cch, 4u);
    EXPECT_EQ(std::string(buffer.data()), "打\xE5") << "lengths count bytes";

    char small[3] = {};
    EXPECT_EQ(GetMenuStringA(popup, 5, small, 3, MF_BYCOMMAND), 2);
    EXPECT_EQ(GetMenuStringA(popup, 5, nullptr, 0, MF_BYCOMMAND), 8);

    // Inserting through the record, before the first entry.
    char text[] = "新的";
    const MenuTextBuffer newText(text, sizeof text);
    MENUITEMINFOA insert = infoWithMask(MIIM_STRING | MIIM_ID | MIIM_DATA);
    insert.dwTypeData = newText.address();
    insert.wID = 6;
    insert.dwItemData = 3;
    ASSERT_TRUE(InsertMenuItemA(popup, 0, 1, &insert));
    EXPECT_EQ(textOf(popup, 0), "新的");
    MENUITEMINFOA moved = infoWithMask(MIIM_ID);
    ASSERT_TRUE(GetMenuItemInfoA(popup, 1, 1, &moved));
    EXPECT_EQ(moved.wID, 5u);
    EXPECT_TRUE(DeleteMenu(popup, 6, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(popup), 1);
    DestroyMenu(popup);
}

TEST(MenuModel, WindowsHaveOneMenuBarAndOneSystemMenuThatDieWithThem)
{
    const auto menusBefore = liveHandles(HandleKind::Menu);
    auto window = std::make_unique<QWidget>();
    const HWND hwnd = registerWindow(window.get());
    EXPECT_EQ(GetMenu(hwnd), 0u);
    const HMENU bar = CreateMenu();
    std::vector<MenuChange> changes;
    const MenuChangeSubscription subscription(
        [&changes](const MenuChange& change) { changes.push_back(change); });
    ASSERT_TRUE(SetMenu(hwnd, bar));
    EXPECT_EQ(GetMenu(hwnd), bar);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, MenuChange::Kind::WindowMenu);
    EXPECT_EQ(changes[0].window, hwnd);

    const HMENU system = GetSystemMenu(hwnd, 0);
    EXPECT_NE(system, 0u);
    EXPECT_EQ(GetSystemMenu(hwnd, 0), system);
    EXPECT_GT(GetMenuItemCount(system), 0);
    EXPECT_EQ(GetSystemMenu(0, 0), 0u);
    EXPECT_FALSE(SetMenu(0, bar));

    window.reset();
    EXPECT_EQ(GetMenuItemCount(bar), -1) << "the window's menu bar went with the window";
    EXPECT_EQ(GetMenuItemCount(system), -1);
    EXPECT_EQ(liveHandles(HandleKind::Menu), menusBefore);
}

TEST(MenuModel, ListenersHearOfEntryChangesAndDestruction)
{
    const HMENU popup = CreatePopupMenu();
    std::vector<MenuChange> changes;
    {
        const MenuChangeSubscription subscription(
            [&changes](const MenuChange& change) { changes.push_back(change); });
        AppendMenuA(popup, MF_STRING, 1, "One");
        MENUITEMINFOA info = infoWithMask(MIIM_DATA);
        info.dwItemData = 1;
        SetMenuItemInfoA(popup, 0, 1, &info);
        DestroyMenu(popup);
    }
    const HMENU other = CreatePopupMenu();
    AppendMenuA(other, MF_STRING, 1, "unheard");
    DestroyMenu(other);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].kind, MenuChange::Kind::Entries);
    EXPECT_EQ(changes[1].kind, MenuChange::Kind::Entries);
    EXPECT_EQ(changes[2].kind, MenuChange::Kind::Destroyed);
    EXPECT_EQ(changes[2].menu, popup);
}

} // namespace
