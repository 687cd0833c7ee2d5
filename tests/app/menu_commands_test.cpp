// The frame's menu commands as the user reaches them: plain keys from anywhere in the frame,
// the toolbar and the menu; and the window menu's list of sheets.
#include "about/w_about.h"
#include "app/m_main.h"
#include "app/menu_commands.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/menus.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace win32;
using testing_support::AnsweredMessageBoxes;
using testing_support::letClosedWindowsGo;
using testing_support::ModalWindowsClosed;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;

struct Running {
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    std::unique_ptr<RunningViewer> viewer;

    explicit Running(bool withArchive = true)
    {
        if (withArchive) {
            folder.addArchive("a.zqr", {{"one.txt", "1"}, {"two.txt", "2"}});
        }
        viewer = std::make_unique<RunningViewer>();
        w_main* main = frame();
        if (main != nullptr) {
            QApplication::setActiveWindow(&host::widgetOf(*main));
            EXPECT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(*main)));
        }
    }
    ~Running()
    {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }
    [[nodiscard]] w_main* frame() const { return viewer->frame(); }
    [[nodiscard]] w_brow* sheet() const { return viewer->sheet(); }
    [[nodiscard]] m_main& menu() const { return dynamic_cast<m_main&>(*frame()->menuid()); }
    [[nodiscard]] host::OwnerDrawMenu* popup(const host::MenuItem& title) const
    {
        return frame()->frameMenu()->view().popup(title.menuHandle());
    }
    [[nodiscard]] QAction* toolbarButton(const QString& text) const
    {
        for (QAction* action : frame()->frameMenu()->toolbar().actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        ADD_FAILURE() << "no toolbar button " << text.toStdString();
        return nullptr;
    }
    void clickToolbar(const QString& text) const
    {
        QToolBar& toolbar = frame()->frameMenu()->toolbar();
        QTest::mouseClick(toolbar.widgetForAction(toolbarButton(text)), Qt::LeftButton);
        letClosedWindowsGo();
    }
    // Opens a menu-bar title by its Alt key; the frame is made the active window first, as a
    // closed popup may leave the offscreen platform without one.
    void openTitle(Qt::Key key) const
    {
        QApplication::setActiveWindow(&host::widgetOf(*frame()));
        QTest::keyClick(&host::widgetOf(*frame()), key, Qt::AltModifier);
    }
    void key(QWidget* target, Qt::Key key) const
    {
        QTest::keyClick(target, key);
        letClosedWindowsGo();
    }
};

void pressKey(QWidget* target, Qt::Key key)
{
    QTest::keyClick(target, key);
    letClosedWindowsGo();
}

void expectHelpShown(const AnsweredMessageBoxes& boxes, std::size_t count)
{
    ASSERT_EQ(boxes.shown.size(), count);
    EXPECT_EQ(boxes.shown.back().title, "帮助信息");
    EXPECT_EQ(boxes.shown.back().text,
              "     哈哈很简单的!\r\n在左边单击选择文件库后,在右边双击要浏览的文件");
    EXPECT_EQ(boxes.shown.back().icon, host::Icon::Information);
}

TEST(MenuCommands, PlainKeysWorkFromAnywhereInTheFrameTheMemberListIncluded)
{
    Running run;
    w_brow* sheet = run.sheet();
    ASSERT_NE(sheet, nullptr);
    QWidget* members = sheet->lv_fileico->widget();
    members->setFocus();
    run.key(members, Qt::Key_H);
    expectHelpShown(run.boxes, 1);
    run.key(host::frameWidgetOf(*run.frame()).statusBar(), Qt::Key_H);
    expectHelpShown(run.boxes, 2);

    // C closes the sheet; with none open it does nothing; O then brings a fresh one with a
    // catalogue read anew.
    run.key(members, Qt::Key_C);
    EXPECT_TRUE(run.frame()->sheets().empty());
    run.key(&host::widgetOf(*run.frame()), Qt::Key_C);
    EXPECT_TRUE(run.frame()->sheets().empty());
    EXPECT_EQ(run.boxes.shown.size(), 2u);
    run.folder.addArchive("b.zqr", {{"x.txt", "x"}});
    run.key(&host::widgetOf(*run.frame()), Qt::Key_O);
    ASSERT_NE(run.sheet(), nullptr);
    EXPECT_EQ(run.sheet()->lv_zip->totalitems(), 2);
    EXPECT_EQ(run.sheet()->menuPosition(), app::kSheetMenuPosition);

    run.key(run.sheet()->lv_zip->widget(), Qt::Key_Q);
    EXPECT_EQ(run.frame(), nullptr);
}

TEST(MenuCommands, LettersTypedIntoTheFilterStayThereWhileElsewhereTheyAreCommands)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    folder.addArchive(
        "a.zqr", {{"doc1.txt", "1"}, {"team.txt", "2"}, {"quiet.txt", "3"}, {"Other.txt", "4"}});
    RunningViewer viewer;
    w_main& frame = *viewer.frame();
    QApplication::setActiveWindow(&host::widgetOf(frame));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(frame)));
    ModalWindowsClosed modals;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    ASSERT_EQ(RunningViewer::shownMembers(sheet).size(), 4u);

    // Typed into the field, the letters of the menu's keys (O, C, Q, H, A) are text: the sheet
    // stays, no about box or help shows, the program goes on, and the list is filtered.
    QLineEdit& field = *sheet.sle_find->lineEdit();
    QTest::mouseClick(&field, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), &field);
    const auto typeOver = [&field](const char* text) {
        QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier); // select all, replaced by typing
        QTest::keyClicks(&field, QString::fromUtf8(text));
        letClosedWindowsGo();
    };
    typeOver("doc");
    ASSERT_EQ(viewer.sheet(), &sheet) << "typing closed the sheet";
    EXPECT_EQ(field.text(), "doc");
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"doc1.txt"});
    typeOver("tea");
    EXPECT_EQ(field.text(), "tea");
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"team.txt"});
    typeOver("q");
    ASSERT_EQ(viewer.frame(), &frame) << "typing ended the program";
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"quiet.txt"});
    typeOver("OtHer");
    EXPECT_EQ(field.text(), "OtHer");
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"Other.txt"});
    EXPECT_TRUE(modals.titles.empty());
    EXPECT_TRUE(boxes.shown.empty());

    // F1 is the help key in the field too.
    QTest::keyClick(&field, Qt::Key_F1);
    expectHelpShown(boxes, 1);
    EXPECT_EQ(field.text(), "OtHer");

    // Ctrl+F takes the focus from the member list to the field and selects its text, and
    // selects it again when the field has the focus already.
    QWidget* members = sheet.lv_fileico->widget();
    members->setFocus();
    QTest::keyClick(members, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), &field);
    EXPECT_EQ(field.selectedText(), "OtHer");
    QTest::keyClick(&field, Qt::Key_End);
    ASSERT_FALSE(field.hasSelectedText());
    QTest::keyClick(&field, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(field.selectedText(), "OtHer");

    // Outside the field the letters are the menu's keys: in the member list H shows the help,
    // F1 too, and C closes the sheet.
    members->setFocus();
    pressKey(members, Qt::Key_H);
    expectHelpShown(boxes, 2);
    pressKey(members, Qt::Key_F1);
    expectHelpShown(boxes, 3);
    pressKey(members, Qt::Key_C);
    EXPECT_TRUE(frame.sheets().empty());
    EXPECT_TRUE(modals.titles.empty());
}

// Runs `open`, which opens the modal about box, and answers whether the box came up over the
// frame; the box is closed from inside its modal loop.
bool opensAboutOverTheFrame(w_main& frame, const std::function<void()>& open)
{
    bool shown = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* about = dynamic_cast<w_about*>(host::windowOf(modal));
        shown = about != nullptr && host::widgetOf(*about).parentWidget() == &host::widgetOf(frame);
        if (modal != nullptr) {
            modal->close(); // leave the modal loop whatever it is, so a fault fails, not hangs
        }
    });
    timer.start(0);
    open();
    letClosedWindowsGo();
    return shown && host::windowOf(host::widgetOf(frame).findChild<QDialog*>()) == nullptr;
}

TEST(MenuCommands, TheAboutBoxOpensOverTheFrameFromKeyToolbarAndMenu)
{
    Running run;
    w_main& frame = *run.frame();
    QWidget* members = run.sheet()->lv_fileico->widget();
    members->setFocus();
    EXPECT_TRUE(opensAboutOverTheFrame(frame, [&] { QTest::keyClick(members, Qt::Key_A); }));
    EXPECT_TRUE(opensAboutOverTheFrame(frame, [&] { run.clickToolbar("关于..."); }));
    host::OwnerDrawMenu* help = run.popup(run.menu().m_help);
    run.openTitle(Qt::Key_H);
    ASSERT_TRUE(help->isVisible());
    EXPECT_TRUE(opensAboutOverTheFrame(frame, [&] {
        QTest::mouseClick(help, Qt::LeftButton, {},
                          help->actionGeometry(help->actions()[2]).center());
    }));
    EXPECT_TRUE(run.boxes.shown.empty());
}

TEST(MenuCommands, OpenWhileTheSheetIsOpenOnlyActivatesItKeepingItsListAndTitle)
{
    Running run;
    w_brow* sheet = run.sheet();
    ASSERT_NE(sheet, nullptr);
    RunningViewer::clickItem(*sheet, true, 0);
    const std::string title = sheet->title();
    const auto members = RunningViewer::shownMembers(*sheet);
    ASSERT_EQ(members.size(), 2u);
    run.key(sheet->lv_fileico->widget(), Qt::Key_O);
    run.clickToolbar("打开...");
    EXPECT_EQ(run.sheet(), sheet);
    EXPECT_EQ(run.frame()->sheets().size(), 1u);
    EXPECT_EQ(sheet->title(), title);
    EXPECT_EQ(RunningViewer::shownMembers(*sheet), members);
}

TEST(MenuCommands, TheToolbarRunsTheSameCommands)
{
    Running run;
    QToolBar& toolbar = run.frame()->frameMenu()->toolbar();
    QStringList labels;
    for (QAction* action : toolbar.actions()) {
        if (!action->text().isEmpty()) {
            labels << qobject_cast<QToolButton*>(toolbar.widgetForAction(action))->text() + "|" +
                          action->toolTip();
        }
    }
    EXPECT_EQ(labels, QStringList({"打开...|打开...", "关闭|关闭", "退出|退出", "帮助|帮助",
                                   "关于...|关于..."}));
    run.clickToolbar("帮助");
    expectHelpShown(run.boxes, 1);
    run.clickToolbar("关闭");
    EXPECT_TRUE(run.frame()->sheets().empty());
    run.clickToolbar("打开...");
    EXPECT_EQ(run.frame()->sheets().size(), 1u);
    run.clickToolbar("退出");
    EXPECT_EQ(run.frame(), nullptr);
}

TEST(MenuCommands, TheMenuRunsTheSameCommandsAndShowsMicrohelp)
{
    Running run;
    m_main& menu = run.menu();
    host::OwnerDrawMenu* file = run.popup(menu.m_file);
    ASSERT_NE(file, nullptr);
    run.openTitle(Qt::Key_F);
    ASSERT_TRUE(file->isVisible());
    // The first item is highlighted: its micro-help is in the status line.
    EXPECT_EQ(host::frameWidgetOf(*run.frame()).statusBar()->currentMessage(),
              "打开要浏览的文件库");
    QTest::keyClick(file, Qt::Key_Down);
    QTest::keyClick(file, Qt::Key_Return); // 关闭
    letClosedWindowsGo();
    EXPECT_TRUE(run.frame()->sheets().empty());

    host::OwnerDrawMenu* help = run.popup(menu.m_help);
    run.openTitle(Qt::Key_H);
    ASSERT_TRUE(help->isVisible());
    QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(help->actions()[0]).center());
    expectHelpShown(run.boxes, 1);

    run.openTitle(Qt::Key_F);
    ASSERT_TRUE(file->isVisible());
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(file->actions()[3]).center());
    letClosedWindowsGo();
    EXPECT_EQ(run.frame(), nullptr);
}

std::vector<std::string> entryTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char buffer[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), buffer, sizeof buffer, MF_BYPOSITION);
        MENUITEMINFOA info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_STATE | MIIM_FTYPE;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), 1, &info);
        const std::string text = (info.fType & MFT_SEPARATOR) != 0 ? "-" : buffer;
        texts.push_back(text + ((info.fState & MFS_CHECKED) != 0 ? " [x]" : ""));
    }
    return texts;
}

TEST(MenuCommands, TheWindowMenuListsTheSheetAndFollowsItsTitle)
{
    Running run;
    m_main& menu = run.menu();
    const HMENU windowMenu = menu.m_w窗口.menuHandle();
    // The window menu is the second title of the bar, behind the sheet's system menu.
    const HMENU bar = GetMenu(run.frame()->handle());
    EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(run.sheet()->handle(), 0));
    EXPECT_EQ(GetSubMenu(bar, 2), windowMenu);
    ASSERT_EQ(entryTexts(windowMenu),
              (std::vector<std::string>{"-", "&1 " + run.sheet()->title() + " [x]"}));

    RunningViewer::clickItem(*run.sheet(), true, 0);
    run.openTitle(Qt::Key_W);
    host::OwnerDrawMenu* popup = run.popup(menu.m_w窗口);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(entryTexts(windowMenu), (std::vector<std::string>{"-", "&1 在浏览<a.zqr> [x]"}));
    ASSERT_EQ(popup->actions().size(), 2);
    EXPECT_EQ(popup->actions()[1]->text(), "&1 在浏览<a.zqr>");
    EXPECT_TRUE(popup->actions()[1]->isChecked());
    QTest::keyClick(popup, Qt::Key_Escape);
    QTest::keyClick(host::frameWidgetOf(*run.frame()).menuBar(), Qt::Key_Escape);

    run.key(&host::widgetOf(*run.frame()), Qt::Key_C);
    EXPECT_TRUE(entryTexts(windowMenu).empty());
    EXPECT_EQ(GetSubMenu(bar, 1), windowMenu); // no sheet, no system menu in front
    run.key(&host::widgetOf(*run.frame()), Qt::Key_O);
    EXPECT_EQ(entryTexts(windowMenu).size(), 2u);
}

} // namespace
