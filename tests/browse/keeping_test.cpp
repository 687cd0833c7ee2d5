// Keeping a document: the right-click menus of the catalogue and of the member list, painted by
// the frame's owner-drawn menu engine like the frame's own menus.
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/menus.h"
#include "host/win32/system.h"
#include "viewer_fixture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testing_support::AnsweredMessageBoxes;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;
using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

std::vector<std::string> entryTexts(const host::OwnerDrawMenu& menu)
{
    std::vector<std::string> texts;
    for (const QAction* action : menu.entryActions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return texts;
}

// Every entry is owner-drawn, has a record in the frame's engine, and is as tall as the engine
// measures it.
void expectPaintedByEngine(w_main& frame, const host::OwnerDrawMenu& menu)
{
    ASSERT_EQ(menu.owner(), frame.handle());
    for (std::size_t i = 0; i < menu.entryActions().size(); ++i) {
        QAction* action = menu.entryActions()[i];
        EXPECT_TRUE(menu.isOwnerDrawn(action)) << i;
        win32::MENUITEMINFOA info;
        info.cbSize = win32::kMenuItemInfoSize;
        info.fMask = win32::MIIM_DATA;
        ASSERT_TRUE(
            win32::GetMenuItemInfoA(menu.menuHandle(), static_cast<win32::UINT>(i), 1, &info));
        ASSERT_GT(frame.inv_supermenu.of_find_byid(static_cast<std::int32_t>(info.dwItemData)), 0);
        win32::MEASUREITEMSTRUCT size;
        size.CtlType = win32::ODT_MENU;
        size.itemData = info.dwItemData;
        frame.inv_supermenu.of_measureitem(0, &size);
        EXPECT_EQ(menu.actionGeometry(action).height(), static_cast<int>(size.itemHeight)) << i;
    }
}

int pixelsOfColour(const QImage& image, const QRect& area, win32::COLORREF colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += win32::RGB(qRed(pixel), qGreen(pixel), qBlue(pixel)) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(Keeping, RightClickMenusListAnArchiveOpenAMemberAndDescribeIt)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    folder.addArchive("a.zqr", {{"a.txt", "from a, eleven and more"}, {"b.txt", "b"}});
    folder.addArchive("b.zqr", {{"other.txt", "other"}});
    RunningViewer viewer;
    w_main& frame = *viewer.frame();
    w_brow& sheet = *viewer.sheet();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const int registered = frame.inv_supermenu.menuinfoCount();

    // The catalogue's menu lists the archive right-clicked, as a click would.
    auto* archiveMenu =
        dynamic_cast<host::OwnerDrawMenu*>(RunningViewer::rightClickItem(sheet, true, 0));
    ASSERT_NE(archiveMenu, nullptr);
    EXPECT_EQ(entryTexts(*archiveMenu), std::vector<std::string>{"列出"});
    expectPaintedByEngine(frame, *archiveMenu);
    archiveMenu->entryActions()[0]->trigger();
    archiveMenu->close();
    RunningViewer::waitWhileBusy();
    EXPECT_EQ(RunningViewer::shownMembers(sheet), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(sheet.zipFilePathName(), folder.filePath("a.zqr"));

    // The member's menu: open it, and a disabled line with its sizes and date.
    auto* memberMenu =
        dynamic_cast<host::OwnerDrawMenu*>(RunningViewer::rightClickItem(sheet, false, 0));
    ASSERT_NE(memberMenu, nullptr);
    const std::vector<std::string> texts = entryTexts(*memberMenu);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "打开");
    EXPECT_EQ(texts[1], "-");
    EXPECT_TRUE(QRegularExpression(R"(^大小 23 字节  压缩后 \d+ 字节  \d{4}-\d\d-\d\d \d\d:\d\d$)")
                    .match(QString::fromStdString(texts[2]))
                    .hasMatch())
        << texts[2];
    EXPECT_TRUE(memberMenu->entryActions()[0]->isEnabled());
    EXPECT_FALSE(memberMenu->entryActions()[2]->isEnabled());
    expectPaintedByEngine(frame, *memberMenu);
    // The engine paints the open entry in the menu text colour and the line greyed.
    const QImage shown = memberMenu->grab().toImage();
    const QRect openRow = memberMenu->actionGeometry(memberMenu->entryActions()[0]);
    const QRect lineRow = memberMenu->actionGeometry(memberMenu->entryActions()[2]);
    EXPECT_GT(pixelsOfColour(shown, openRow, win32::GetSysColor(win32::COLOR_MENUTEXT)), 3);
    EXPECT_GT(pixelsOfColour(shown, lineRow, win32::GetSysColor(win32::COLOR_GRAYTEXT)), 3);
    EXPECT_EQ(pixelsOfColour(shown, lineRow, win32::GetSysColor(win32::COLOR_MENUTEXT)), 0);
    memberMenu->close();

    // Another member's menu describes that member; the menus are registered once, not again
    // at each right-click.
    memberMenu = dynamic_cast<host::OwnerDrawMenu*>(RunningViewer::rightClickItem(sheet, false, 1));
    ASSERT_NE(memberMenu, nullptr);
    EXPECT_TRUE(entryTexts(*memberMenu)[2].starts_with("大小 1 字节  压缩后 "));
    EXPECT_EQ(frame.inv_supermenu.menuinfoCount(), registered + 4);
    memberMenu->entryActions()[0]->trigger();
    memberMenu->close();
    RunningViewer::waitForUnpack(sheet);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("b.txt"));
    EXPECT_EQ(sheet.openFileName(), folder.filePath("b.txt"));
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
