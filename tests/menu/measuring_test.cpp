#include "engine_test_support.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/system.h"
#include "host/win32/text.h"
#include "menu/nvo_supermenu_class.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using enginetest::addItem;
using namespace win32;

// The width of a text in the system font, measured the way the engine measures.
int textWidth(HWND window, const std::string& text)
{
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE size;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return size.cx;
}

class Measuring : public ::testing::Test {
protected:
    void SetUp() override
    {
        overrideSystemMetric(SM_CYMENU, 19);
        addItem(popup, "m_open", "Open\tO");
        addItem(popup, "m_spaced", "  Spaced  ");
        addItem(popup, "m_dash", "-");
        addItem(popup, "m_spacedash", " - ");
        window.showMenu();
        engine.of_registerwindow(&window);
    }
    void TearDown() override { overrideSystemMetric(SM_CYMENU, std::nullopt); }

    MEASUREITEMSTRUCT measure(const std::string& className)
    {
        MEASUREITEMSTRUCT request;
        request.CtlType = ODT_MENU;
        request.itemWidth = 999;
        request.itemHeight = 999;
        request.itemData = engine.menuinfo(engine.of_find_bymenuid(className))->itemid;
        engine.of_measureitem(0, &request);
        return request;
    }

    MenuTestWindow window;
    host::MenuItem& popup = addItem(window.menu(), "m_file", "File");
    nvo_supermenu_class engine;
};

TEST_F(Measuring, ItemsAreTheMenuBarHeightPlusThreeAndSeparatorsAThird)
{
    const MEASUREITEMSTRUCT open = measure("m_open");
    EXPECT_EQ(open.itemHeight, 22u);
    EXPECT_EQ(open.itemWidth, static_cast<UINT>(textWidth(window.handle(), "Open\tO") + 22));
    EXPECT_GT(open.itemWidth, 22u);

    const MEASUREITEMSTRUCT separator = measure("m_dash");
    EXPECT_EQ(separator.itemHeight, 6u);
    EXPECT_EQ(separator.itemWidth, 0u);

    // A text that has lost its tab since registration is measured with the registered shortcut
    // appended right after it, without a separator.
    popup.item(1)->setText("Open");
    EXPECT_EQ(measure("m_open").itemWidth,
              static_cast<UINT>(textWidth(window.handle(), "OpenO") + 22));
}

TEST_F(Measuring, SurroundingSpacesAreNotMeasuredButADashWithSpacesIsText)
{
    const MEASUREITEMSTRUCT spaced = measure("m_spaced");
    EXPECT_EQ(spaced.itemWidth, static_cast<UINT>(textWidth(window.handle(), "Spaced") + 22));
    const MEASUREITEMSTRUCT dash = measure("m_spacedash");
    EXPECT_EQ(dash.itemHeight, 22u);
    EXPECT_EQ(dash.itemWidth, static_cast<UINT>(textWidth(window.handle(), "-") + 22));
}

TEST_F(Measuring, RequestsThatAreNotForRegisteredMenuItemsAreLeftAlone)
{
    MEASUREITEMSTRUCT request;
    request.CtlType = 4; // a list box
    request.itemData = 1;
    request.itemWidth = 5;
    request.itemHeight = 6;
    engine.of_measureitem(0, &request);
    EXPECT_EQ(request.itemWidth, 5u);
    request.CtlType = ODT_MENU;
    request.itemData = 0;
    engine.of_measureitem(0, &request);
    request.itemData = 12345;
    engine.of_measureitem(0, &request);
    EXPECT_EQ(request.itemWidth, 5u);
    EXPECT_EQ(request.itemHeight, 6u);
    EXPECT_THROW(engine.of_measureitem(0, nullptr), host::RuntimeError);
}

TEST_F(Measuring, TheShortcutRateIsTheTextsShareOfTheWidestPairs)
{
    host::MenuItem noTabs;
    addItem(noTabs, "a", "One");
    addItem(noTabs, "b", "Two");
    EXPECT_EQ(engine.of_getshortcutkeyrate(&noTabs), 0.0);

    host::MenuItem tabs;
    addItem(tabs, "a", "Open\tO");
    addItem(tabs, "b", "A much longer item\tCtrl+Shift+Q");
    const double rate = engine.of_getshortcutkeyrate(&tabs);
    EXPECT_GT(rate, 0.5);
    EXPECT_LT(rate, 1.0);
}

TEST_F(Measuring, FontsFollowTheDeviceContextsFaceAndMeasuringLeavesNothingBehind)
{
    const auto before = enginetest::liveDrawingObjects();
    for (int i = 0; i < 200; ++i) {
        measure("m_open");
        measure("m_dash");
    }
    host::MenuItem tabs;
    addItem(tabs, "a", "Open\tO");
    engine.of_getshortcutkeyrate(&tabs);
    EXPECT_EQ(enginetest::liveDrawingObjects(), before);

    const HDC dc = GetDC(window.handle());
    char face[64] = {};
    GetTextFaceA(dc, sizeof face, face);
    const HFONT vertical = engine.of_createverticalfont(dc);
    LOGFONTA logfont;
    ASSERT_EQ(GetObjectA(vertical, sizeof logfont, &logfont), static_cast<int>(sizeof logfont));
    EXPECT_EQ(logfont.lfHeight, -16);
    EXPECT_EQ(logfont.lfWeight, 700);
    EXPECT_EQ(logfont.lfEscapement, 900);
    EXPECT_STREQ(logfont.lfFaceName, face);
    const HFONT menuFont = engine.of_getmenufont(dc);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    ASSERT_EQ(GetObjectA(menuFont, sizeof logfont, &logfont), static_cast<int>(sizeof logfont));
    EXPECT_EQ(logfont.lfHeight, metrics.tmHeight);
    EXPECT_STREQ(logfont.lfFaceName, face);
    DeleteObject(vertical);
    DeleteObject(menuFont);
    ReleaseDC(window.handle(), dc);
}

} // namespace
