#include "engine_test_support.h"
#include "host/win32/menus.h"
#include "host/win32/owner_draw.h"
#include "host/win32/system.h"
#include "menu/nvo_supermenu_class.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

using enginetest::addItem;
using namespace win32;

// What the frame's popup will do: read each entry's data from the menu model, ask the engine
// for the entry's size, lay the entries out top to bottom and have each painted through a
// device context whose origin is the popup's client area inside a larger picture.
TEST(PopupPainting, ARegisteredPopupIsMeasuredAndPaintedThroughAPainterContext)
{
    overrideSystemMetric(SM_CYMENU, 19);
    MenuTestWindow window;
    host::MenuItem& file = addItem(window.menu(), "m_file", "[&F]文件");
    addItem(file, "m_openfile", "打开\tO");
    addItem(file, "m_1", "-");
    addItem(file, "m_quit", "退出\tQ");
    const HMENU bar = window.showMenu();
    nvo_supermenu_class engine;
    engine.menustyle = nvo_supermenu_class::style_officexp2;
    engine.menubkstyle = nvo_supermenu_class::style_bkamb;
    engine.of_registerwindow(&window);

    const HMENU popup = GetSubMenu(bar, 0);
    const QPoint origin(3, 2);
    QImage picture(160, 60, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    const auto before = enginetest::liveDrawingObjects();
    int top = 0;
    std::vector<int> tops;
    {
        const ScopedSurfaceDC dc(painter, origin);
        for (UINT position = 0; position < 3; ++position) {
            MENUITEMINFOA info;
            info.cbSize = kMenuItemInfoSize;
            info.fMask = MIIM_TYPE | MIIM_DATA;
            ASSERT_TRUE(GetMenuItemInfoA(popup, position, 1, &info));
            ASSERT_NE(info.fType & MFT_OWNERDRAW, 0u);
            MEASUREITEMSTRUCT measure;
            measure.CtlType = ODT_MENU;
            measure.itemData = info.dwItemData;
            engine.of_measureitem(0, &measure);
            DRAWITEMSTRUCT draw;
            draw.CtlType = ODT_MENU;
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = position == 0 ? ODS_SELECTED : 0;
            draw.hDC = dc.handle();
            draw.rcItem = {0, top, 150, top + static_cast<LONG>(measure.itemHeight)};
            draw.itemData = info.dwItemData;
            engine.of_drawitem(0, &draw);
            tops.push_back(top);
            top += static_cast<int>(measure.itemHeight);
        }
    }
    painter.end();
    overrideSystemMetric(SM_CYMENU, std::nullopt);
    EXPECT_EQ(enginetest::liveDrawingObjects(), before);
    ASSERT_EQ(tops, (std::vector<int>{0, 22, 28}));

    const auto at = [&picture, origin](int x, int y) {
        const QRgb p = picture.pixel(origin.x() + x, origin.y() + y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    };
    EXPECT_EQ(at(0, 0), RGB(255, 131, 6)) << "the highlighted item's frame";
    EXPECT_EQ(at(149, 21), RGB(255, 131, 6));
    EXPECT_EQ(at(1, 22), GetSysColor(COLOR_BTNFACE)) << "the separator's icon column";
    EXPECT_EQ(at(100, 25), RGB(128, 128, 128)) << "the separator's etched line";
    EXPECT_EQ(at(100, 26), RGB(255, 255, 255));
    EXPECT_EQ(at(1, 30), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(at(140, 30), RGB(255, 255, 255));
    EXPECT_EQ(picture.pixel(origin.x() - 1, origin.y()), 0xFF000000u) << "outside the popup";
}

} // namespace
