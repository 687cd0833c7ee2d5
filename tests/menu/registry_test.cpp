#include "engine_test_support.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/menus.h"
#include "host/win32/system.h"
#include "menu/nvo_supermenu_class.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using enginetest::addItem;
using namespace win32;

MENUITEMINFOA entryInfo(HMENU menu, UINT position)
{
    MENUITEMINFOA info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_TYPE | MIIM_DATA | MIIM_STATE;
    EXPECT_TRUE(GetMenuItemInfoA(menu, position, 1, &info)) << "position " << position;
    return info;
}

bool ownerDrawn(HMENU menu, UINT position)
{
    return (entryInfo(menu, position).fType & MFT_OWNERDRAW) != 0;
}

// A window with the frame's kind of menu: File (Open, a hidden Recent, Close, -, Quit),
// Window (filled by the window itself), Help (Help, More > Deep, -, About).
struct FrameLikeWindow {
    MenuTestWindow window;
    host::MenuItem& file = addItem(window.menu(), "m_file", "[&F]文件");
    host::MenuItem& open = addItem(file, "m_openfile", "打开\tO");
    host::MenuItem& recent = addItem(file, "m_recent", "Recent");
    host::MenuItem& close = addItem(file, "m_closefile", "关闭\tC");
    host::MenuItem& separator = addItem(file, "m_1", "-");
    host::MenuItem& quit = addItem(file, "m_quit", "退出\tQ");
    host::MenuItem& windows = addItem(window.menu(), "m_w窗口", "[&W]窗口");
    host::MenuItem& help = addItem(window.menu(), "m_help", "[&H]帮助");
    host::MenuItem& helpFor = addItem(help, "m_helpforvarnelook", "Help for Varnelook\tH");
    host::MenuItem& more = addItem(help, "m_more", "More");
    host::MenuItem& deep = addItem(more, "m_deep", "Deep");
    host::MenuItem& dash = addItem(help, "m_-", "-");
    host::MenuItem& about = addItem(help, "m_about", "About...\tA");
    HMENU bar = 0;

    FrameLikeWindow()
    {
        recent.setVisible(false);
        bar = window.showMenu();
    }

    [[nodiscard]] HMENU popup(int position) const { return GetSubMenu(bar, position); }
};

// The record an entry's data names.
const nvo_supermenu_class::ust_menuinfo* recordOf(const nvo_supermenu_class& engine, HMENU menu,
                                                  UINT position)
{
    const auto data = static_cast<std::int32_t>(entryInfo(menu, position).dwItemData);
    return engine.menuinfo(engine.of_find_byid(data));
}

TEST(MenuEngineLifecycle, ANewEngineHasTheDefaultLookAndTheSystemColours)
{
    const nvo_supermenu_class engine;
    EXPECT_EQ(engine.menustyle, 1);
    EXPECT_EQ(engine.menubkstyle, 0);
    EXPECT_EQ(static_cast<DWORD>(engine.color_start), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(static_cast<DWORD>(engine.color_end), GetSysColor(COLOR_MENU));
    EXPECT_EQ(engine.menuinfoCount(), 0);
    EXPECT_EQ(engine.of_find_byid(1), 0) << "an empty registry finds nothing";
}

TEST(MenuEngineRegistry, PopupItemsAreOwnerDrawnAtTheirLevelsAndTheBarIsNot)
{
    FrameLikeWindow f;
    nvo_supermenu_class engine;
    engine.of_registerwindow(&f.window);
    EXPECT_EQ(engine.registeredWindowHandle(), f.window.handle());

    for (UINT title = 0; title < 3; ++title) {
        EXPECT_FALSE(ownerDrawn(f.bar, title)) << "menu-bar title " << title;
        EXPECT_EQ(entryInfo(f.bar, title).dwItemData, 0u);
    }
    // Four visible File items, four Help items and Deep: nine records.
    ASSERT_EQ(engine.menuinfoCount(), 9);
    const HMENU file = f.popup(0);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    for (UINT position = 0; position < 4; ++position) {
        EXPECT_TRUE(ownerDrawn(file, position));
        EXPECT_EQ(recordOf(engine, file, position)->level, 1);
    }
    // The hidden item took no position: the entry after Open is Close's.
    EXPECT_EQ(recordOf(engine, file, 0)->menupt, &f.open);
    EXPECT_EQ(recordOf(engine, file, 1)->menupt, &f.close);
    EXPECT_EQ(recordOf(engine, file, 3)->menupt, &f.quit);

    const HMENU moreMenu = GetSubMenu(f.popup(2), 1);
    ASSERT_NE(moreMenu, 0u);
    EXPECT_EQ(recordOf(engine, moreMenu, 0)->menupt, &f.deep);
    EXPECT_EQ(recordOf(engine, moreMenu, 0)->level, 2);
    EXPECT_EQ(recordOf(engine, f.popup(2), 1)->level, 1);

    // Separators are disabled by registration and keep "-" as their name.
    EXPECT_FALSE(f.separator.enabled());
    EXPECT_FALSE(f.dash.enabled());
    EXPECT_EQ(recordOf(engine, file, 2)->itemname, "-");

    // Numbers are unique and are what the entries carry.
    for (int i = 1; i <= engine.menuinfoCount(); ++i) {
        EXPECT_EQ(engine.menuinfo(i)->itemid, static_cast<std::uint32_t>(i));
    }
    EXPECT_EQ(engine.of_find_bymenuid("m_quit"),
              engine.of_find_byid(recordOf(engine, file, 3)->itemid));
}

TEST(MenuEngineRegistry, RegisteringAgainAddsNothingAndShownItemsJoinLater)
{
    FrameLikeWindow f;
    nvo_supermenu_class engine;
    engine.of_registerwindow(&f.window);
    const int first = engine.menuinfoCount();
    engine.of_registerwindow(&f.window);
    EXPECT_EQ(engine.menuinfoCount(), first);

    engine.of_setvisible(&f.recent, true);
    ASSERT_EQ(engine.menuinfoCount(), first + 1);
    const HMENU file = f.popup(0);
    EXPECT_EQ(recordOf(engine, file, 1)->menupt, &f.recent);
    EXPECT_EQ(recordOf(engine, file, 2)->menupt, &f.close) << "later items keep their records";

    engine.of_setvisible(&f.open, false);
    EXPECT_EQ(engine.menuinfoCount(), first + 1) << "records are never removed";
    EXPECT_EQ(recordOf(engine, file, 0)->menupt, &f.recent);
}

TEST(MenuEngineRegistry, TheMaximisedChildsSystemMenuIsSkipped)
{
    FrameLikeWindow f;
    const HMENU system = GetSystemMenu(f.window.handle(), 0);
    MENUITEMINFOA entry;
    entry.cbSize = kMenuItemInfoSize;
    entry.fMask = MIIM_SUBMENU | MIIM_ID;
    entry.hSubMenu = system;
    entry.wID = 0xFFFF;
    ASSERT_TRUE(InsertMenuItemA(f.bar, 0, 1, &entry));

    nvo_supermenu_class engine;
    engine.of_registerwindow(&f.window);
    EXPECT_EQ(engine.menuinfoCount(), 9);
    for (UINT position = 0; position < static_cast<UINT>(GetMenuItemCount(system)); ++position) {
        EXPECT_FALSE(ownerDrawn(system, position));
    }
    EXPECT_EQ(recordOf(engine, GetSubMenu(f.bar, 1), 0)->menupt, &f.open);
    EXPECT_EQ(recordOf(engine, GetSubMenu(f.bar, 3), 0)->menupt, &f.helpFor);
    RemoveMenu(f.bar, 0, MF_BYPOSITION);
}

TEST(MenuEngineRegistry, EntriesTheWindowAddedGetObjectsOfTheEngine)
{
    FrameLikeWindow f;
    const HMENU windows = f.popup(1);
    AppendMenuA(windows, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(windows, MF_STRING | MF_CHECKED, 4001, "&1 在浏览<a.zqr>");
    AppendMenuA(windows, MF_STRING, 4002, "&2 Other");

    nvo_supermenu_class engine;
    engine.of_registerwindow(&f.window);
    ASSERT_EQ(engine.menuinfoCount(), 12);
    for (UINT position = 0; position < 3; ++position) {
        EXPECT_TRUE(ownerDrawn(windows, position));
    }
    const auto* separator = recordOf(engine, windows, 0);
    EXPECT_EQ(separator->itemname, "");
    EXPECT_EQ(separator->menupt->text(), "-");
    EXPECT_FALSE(separator->menupt->enabled());
    const auto* checked = recordOf(engine, windows, 1);
    EXPECT_EQ(checked->menupt->text(), "&1 在浏览<a.zqr>");
    EXPECT_TRUE(checked->menupt->checked());
    EXPECT_EQ(checked->level, 1);
    EXPECT_FALSE(recordOf(engine, windows, 2)->menupt->checked());

    // The window moves the check mark and registration runs again: the records follow.
    MENUITEMINFOA state;
    state.cbSize = kMenuItemInfoSize;
    state.fMask = MIIM_STATE | MIIM_TYPE | MIIM_DATA;
    state.fState = 0;
    state.fType = MFT_STRING;
    ASSERT_TRUE(SetMenuItemInfoA(windows, 1, 1, &state));
    engine.of_registerwindow(&f.window);
    EXPECT_EQ(engine.menuinfoCount(), 12);
    EXPECT_FALSE(checked->menupt->checked());
}

TEST(MenuEngineRegistry, ASingleAddedEntryIsLeftToTheWindowSystem)
{
    FrameLikeWindow f;
    const HMENU windows = f.popup(1);
    AppendMenuA(windows, MF_STRING, 4001, "&1 Only");
    nvo_supermenu_class engine;
    engine.of_registerwindow(&f.window);
    EXPECT_EQ(engine.menuinfoCount(), 9);
    EXPECT_FALSE(ownerDrawn(windows, 0));
    EXPECT_EQ(entryInfo(windows, 0).dwItemData, 0u);
}

TEST(MenuEngineRegistry, TheHandleOnlyWalkRestoresEntriesByNumberOrText)
{
    FrameLikeWindow f;
    nvo_supermenu_class engine;
    engine.of_registerwindow(&f.window);
    const HMENU file = f.popup(0);
    const auto closeId = recordOf(engine, file, 1)->itemid;
    // One entry lost its owner-draw bit, another its number as well.
    MENUITEMINFOA plain;
    plain.cbSize = kMenuItemInfoSize;
    plain.fMask = MIIM_TYPE | MIIM_DATA;
    plain.fType = MFT_STRING;
    plain.dwItemData = closeId;
    ASSERT_TRUE(SetMenuItemInfoA(file, 1, 1, &plain));
    plain.dwItemData = 0;
    ASSERT_TRUE(SetMenuItemInfoA(file, 3, 1, &plain));

    engine.of_registermenu(0, f.bar, GetSystemMenu(f.window.handle(), 0));
    EXPECT_TRUE(ownerDrawn(file, 1));
    EXPECT_EQ(entryInfo(file, 1).dwItemData, closeId);
    EXPECT_TRUE(ownerDrawn(file, 3)) << "found by its text";
    EXPECT_EQ(recordOf(engine, file, 3)->menupt, &f.quit);
    EXPECT_FALSE(ownerDrawn(f.bar, 0));
    EXPECT_EQ(engine.menuinfoCount(), 9);
}

TEST(MenuEngineRegistry, AWindowWithoutMenuEndsRegistrationQuietly)
{
    MenuTestWindow window;
    nvo_supermenu_class engine;
    engine.of_registerwindow(&window);
    EXPECT_EQ(engine.menuinfoCount(), 0);
    EXPECT_THROW(engine.of_registerwindow(nullptr), host::RuntimeError);
}

TEST(MenuEngineRegistry, TextsSplitAtTheFirstTabAndNamesMatchTrimmed)
{
    nvo_supermenu_class engine;
    auto item = host::MenuItem::create();
    const auto plain = engine.of_add(101, "Plain", item.get(), 1);
    const auto one = engine.of_add(102, "Save\tCtrl+S", item.get(), 1);
    const auto two = engine.of_add(103, "A\tB\tC", item.get(), 1);
    const auto spaced = engine.of_add(104, "  Spaced  ", item.get(), 2);
    EXPECT_EQ(engine.menuinfo(plain)->shortcutkey, "");
    EXPECT_EQ(engine.menuinfo(one)->itemname, "Save");
    EXPECT_EQ(engine.menuinfo(one)->shortcutkey, "Ctrl+S");
    EXPECT_EQ(engine.menuinfo(two)->itemname, "A");
    EXPECT_EQ(engine.menuinfo(two)->shortcutkey, "B\tC");
    EXPECT_EQ(engine.menuinfo(spaced)->level, 2);

    EXPECT_EQ(engine.of_find_byname(" Save \tanything"), one);
    EXPECT_EQ(engine.of_find_byname("Spaced"), spaced);
    EXPECT_EQ(engine.of_find_byname("Nope"), 0);
    EXPECT_EQ(engine.of_find_byid(103), two);
    EXPECT_EQ(engine.of_find_bymenuid("menu"), plain);
    EXPECT_EQ(engine.of_find_bymenuid("m_none"), 0);
    EXPECT_THROW(engine.of_add(105, "x", nullptr, 1), host::RuntimeError);
}

TEST(MenuEngineRegistry, BitTestsAndWhitespace)
{
    EXPECT_TRUE(nvo_supermenu_class::of_containselement(5, 4));
    EXPECT_FALSE(nvo_supermenu_class::of_containselement(5, 2));
    EXPECT_FALSE(nvo_supermenu_class::of_containselement(-5, 1));
    EXPECT_TRUE(nvo_supermenu_class::of_containselement(256 + 16, 256));
    EXPECT_FALSE(nvo_supermenu_class::of_containselement(INT32_MIN, -1));
    EXPECT_THROW(nvo_supermenu_class::of_containselement(5, 0), host::RuntimeError);

    EXPECT_EQ(nvo_supermenu_class::of_iswhitespace(std::string()), false);
    EXPECT_EQ(nvo_supermenu_class::of_iswhitespace(std::string(" \t")), true);
    EXPECT_EQ(nvo_supermenu_class::of_iswhitespace(std::string("\b")), true);
    EXPECT_EQ(nvo_supermenu_class::of_iswhitespace(std::string(" x ")), false);
    EXPECT_EQ(nvo_supermenu_class::of_iswhitespace(std::nullopt), std::nullopt);
}

TEST(MenuEngineRegistry, AFullRegistryRefusesNewRecordsInsteadOfReusingNumbers)
{
    nvo_supermenu_class engine;
    auto item = host::MenuItem::create();
    for (int i = 1; i <= nvo_supermenu_class::kRegistryLimit; ++i) {
        ASSERT_EQ(engine.of_add(i, "x", item.get(), 1), i);
    }
    EXPECT_EQ(engine.of_add(40000, "one too many", item.get(), 1), 0);
    EXPECT_EQ(engine.menuinfoCount(), 32767);

    // A window registered now keeps its items as the window system draws them.
    FrameLikeWindow f;
    engine.of_registerwindow(&f.window);
    EXPECT_EQ(engine.menuinfoCount(), 32767);
    EXPECT_FALSE(ownerDrawn(f.popup(0), 0));
    EXPECT_EQ(entryInfo(f.popup(0), 0).dwItemData, 0u);
}

} // namespace
