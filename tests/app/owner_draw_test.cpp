// The frame hands its menus to the owner-drawn menu engine: every popup item is registered and
// owner-drawn, the menu-bar titles never are, and opening a menu by mouse or keyboard has the
// engine measure and paint the items.
#include "app/m_main.h"
#include "app/w_main.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/dc.h"
#include "host/win32/menus.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using namespace win32;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;

struct Running {
    ScratchFolder folder;
    RunningViewer viewer;
    Running()
    {
        QApplication::setActiveWindow(viewer.frame());
        EXPECT_TRUE(QTest::qWaitForWindowActive(viewer.frame()));
    }
    ~Running()
    {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }
    [[nodiscard]] w_main& frame() const { return *viewer.frame(); }
    [[nodiscard]] m_main& menu() const { return dynamic_cast<m_main&>(*frame().menuid()); }
    [[nodiscard]] host::OwnerDrawMenu& popup(const host::MenuItem& title) const
    {
        return *frame().frameMenu()->view().popup(title.menuHandle());
    }
};

MENUITEMINFOA entryInfo(HMENU menu, int position)
{
    MENUITEMINFOA info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), 1, &info));
    return info;
}

MEASUREITEMSTRUCT engineSize(nvo_supermenu_class& engine, DWORD itemData)
{
    MEASUREITEMSTRUCT request;
    request.CtlType = ODT_MENU;
    request.itemData = itemData;
    engine.of_measureitem(0, &request);
    return request;
}

TEST(FrameOwnerDraw, OpenUsesLookNineOverBackgroundFourAndRegistersEveryPopupItem)
{
    Running run;
    w_main& frame = run.frame();
    m_main& menu = run.menu();
    EXPECT_EQ(frame.inv_supermenu.menustyle, 9);
    EXPECT_EQ(frame.inv_supermenu.menubkstyle, 4);
    EXPECT_EQ(frame.inv_supermenu.registeredWindowHandle(), frame.handle());

    const HMENU bar = GetMenu(frame.handle());
    for (int position = 0; position < GetMenuItemCount(bar); ++position) {
        EXPECT_EQ(entryInfo(bar, position).fType & MFT_OWNERDRAW, 0u) << "bar " << position;
    }
    const std::vector<host::MenuItem*> items = {
        &menu.m_openfile,         &menu.m_closefile,      &menu.m_1,    &menu.m_quit,
        &menu.m_helpforvarnelook, &menu.m_help_separator, &menu.m_about};
    EXPECT_EQ(frame.inv_supermenu.menuinfoCount(), static_cast<int>(items.size()));
    std::size_t next = 0;
    for (const host::MenuItem* title : {&menu.m_file, &menu.m_help}) {
        for (int position = 0; position < GetMenuItemCount(title->menuHandle()); ++position) {
            const MENUITEMINFOA info = entryInfo(title->menuHandle(), position);
            EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u) << title->text() << " " << position;
            const auto row =
                frame.inv_supermenu.of_find_byid(static_cast<std::int32_t>(info.dwItemData));
            ASSERT_GT(row, 0);
            const auto* record = frame.inv_supermenu.menuinfo(row);
            ASSERT_LT(next, items.size());
            EXPECT_EQ(record->menupt, items[next++]);
            EXPECT_EQ(record->level, 1);
        }
    }
    EXPECT_EQ(next, items.size());
    // The separators are disabled by registration, as the engine paints them.
    EXPECT_FALSE(menu.m_1.enabled());
}

// Paints every item of a shown popup through the engine into an image, the way the popup asks
// for it: the expected look of the popup.
QImage paintedByEngine(w_main& frame, host::OwnerDrawMenu& popup)
{
    QImage image(popup.size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    for (std::size_t i = 0; i < popup.entryActions().size(); ++i) {
        QAction* action = popup.entryActions()[i];
        const QRect rect = popup.actionGeometry(action);
        MENUITEMINFOA info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_DATA | MIIM_STATE;
        GetMenuItemInfoA(popup.menuHandle(), static_cast<UINT>(i), 1, &info);
        // Each request comes with a device context of its own.
        const ScopedSurfaceDC dc(image);
        DRAWITEMSTRUCT request;
        request.CtlType = ODT_MENU;
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = (action == popup.activeAction() ? ODS_SELECTED : 0) |
                            ((info.fState & MFS_GRAYED) != 0 ? ODS_GRAYED | ODS_DISABLED : 0);
        request.hDC = dc.handle();
        request.rcItem = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
        request.itemData = info.dwItemData;
        frame.inv_supermenu.of_drawitem(0, &request);
    }
    return image;
}

// Pixels whose colours differ by more than blending's rounding (icons are blended onto the
// popup's own surface and onto the test's image in different pixel formats).
int pixelsApart(const QImage& shown, const QImage& expected)
{
    if (shown.size() != expected.size()) {
        return shown.width() * shown.height();
    }
    int apart = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor a = shown.pixelColor(x, y);
            const QColor b = expected.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) > 2 || std::abs(a.green() - b.green()) > 2 ||
                std::abs(a.blue() - b.blue()) > 2) {
                ++apart;
            }
        }
    }
    return apart;
}

void expectEngineSizesAndLook(w_main& frame, host::OwnerDrawMenu& popup)
{
    ASSERT_TRUE(popup.isVisible());
    int width = 0;
    int height = 0;
    for (std::size_t i = 0; i < popup.entryActions().size(); ++i) {
        const MENUITEMINFOA info = entryInfo(popup.menuHandle(), static_cast<int>(i));
        const MEASUREITEMSTRUCT size = engineSize(frame.inv_supermenu, info.dwItemData);
        EXPECT_EQ(popup.actionGeometry(popup.entryActions()[i]).height(),
                  static_cast<int>(size.itemHeight));
        width = std::max(width, static_cast<int>(size.itemWidth));
        height += static_cast<int>(size.itemHeight);
    }
    EXPECT_EQ(popup.width(), width);
    EXPECT_EQ(popup.height(), height);
    EXPECT_EQ(pixelsApart(popup.grab().toImage(), paintedByEngine(frame, popup)), 0);
}

TEST(FrameOwnerDraw, MenusOpenedByMouseAreMeasuredAndPaintedByTheEngine)
{
    Running run;
    QMenuBar* bar = run.frame().menuBar();
    host::OwnerDrawMenu& file = run.popup(run.menu().m_file);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file.menuAction()).center());
    expectEngineSizesAndLook(run.frame(), file);
    file.close();
}

TEST(FrameOwnerDraw, MenusOpenedByKeyboardAreMeasuredAndPaintedByTheEngine)
{
    Running run;
    host::OwnerDrawMenu& help = run.popup(run.menu().m_help);
    QTest::keyClick(&run.frame(), Qt::Key_H, Qt::AltModifier);
    ASSERT_NE(help.activeAction(), nullptr); // the first item is highlighted
    expectEngineSizesAndLook(run.frame(), help);
    QTest::keyClick(&help, Qt::Key_Down); // the separator is passed over
    expectEngineSizesAndLook(run.frame(), help);
}

} // namespace
