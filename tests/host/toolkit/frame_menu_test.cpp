// The frame's menu as the user meets it: the QMenuBar and popups built from the Win32 menu
// model, owner-drawn entries sized and painted by the owner window, plain shortcut keys, the
// toolbar, micro-help and the window list.
#include "host/toolkit/frame.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/frame_toolbar.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/menu_item.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/sheet.h"
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/menus.h"
#include "host/win32/owner_draw.h"
#include "host/win32/shapes.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace win32;

class CountingItem : public host::MenuItem {
public:
    CountingItem(std::string className, int& clicks)
        : host::MenuItem(std::move(className)), clicks_(clicks)
    {
    }
    void clicked() override { ++clicks_; }

private:
    int& clicks_;
};

class PlainSheet : public host::Sheet {};

// A frame whose File popup is owner-drawn by the frame itself: every request is recorded and
// answered with a size of its own (wider for later entries), and each paint fills the item.
class TestFrame : public host::Frame {
public:
    int opens = 0;
    int closes = 0;
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;

    host::MenuItem* file = nullptr;
    host::MenuItem* open = nullptr;
    host::MenuItem* hidden = nullptr;
    host::MenuItem* close = nullptr;
    host::MenuItem* window = nullptr;

    TestFrame()
    {
        auto root = host::MenuItem::create();
        file = &root->addItem<host::MenuItem>("m_file");
        file->setText("[&F]File");
        open = &file->addItem<CountingItem>("m_open", opens);
        open->setText("Open\tO");
        open->setShortcut({79});
        open->setmicrohelp("Opens one");
        open->settoolbaritemname("Custom050!");
        open->settoolbaritemtext("Open...");
        hidden = &file->addItem<host::MenuItem>("m_hidden");
        hidden->setText("Hidden");
        hidden->setVisible(false);
        close = &file->addItem<CountingItem>("m_close", closes);
        close->setText("Close\tC");
        close->setShortcut({67});
        close->settoolbaritemname("Custom039!");
        close->settoolbaritemtext("Close");
        close->settoolbaritemspace(2);
        window = &root->addItem<host::MenuItem>("m_window");
        window->setText("[&W]Window");
        setmenuid(std::move(root));
        bindUserEvent(WM_MEASUREITEM, [this](WPARAM, LPARAM lParam) {
            auto* request = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measured.push_back(*request);
            request->itemWidth = 100 + 10 * request->itemData;
            request->itemHeight = 20 + request->itemData;
        });
        bindUserEvent(WM_DRAWITEM, [this](WPARAM, LPARAM lParam) {
            auto* request = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            drawn.push_back(*request);
            const HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(request->hDC, &request->rcItem, brush);
            DeleteObject(brush);
        });
        mainWindow().resize(640, 480);
    }

    QMainWindow& mainWindow() const { return host::frameWidgetOf(*this); }

    HMENU filePopup() const { return GetSubMenu(GetMenu(handle()), 0); }
    host::OwnerDrawMenu* popup(HMENU menu) const { return frameMenu()->view().popup(menu); }

    // Marks every entry of the File popup owner-drawn with data 1, 2, ...
    void ownerDrawFile()
    {
        for (int i = 0; i < GetMenuItemCount(filePopup()); ++i) {
            MENUITEMINFOA info;
            info.cbSize = kMenuItemInfoSize;
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            GetMenuItemInfoA(filePopup(), static_cast<UINT>(i), 1, &info);
            info.fType |= MFT_OWNERDRAW;
            info.dwItemData = static_cast<DWORD>(i + 1);
            SetMenuItemInfoA(filePopup(), static_cast<UINT>(i), 1, &info);
        }
        frameMenu()->view().sync();
    }
};

struct Shown {
    std::unique_ptr<TestFrame> frame = std::make_unique<TestFrame>();
    Shown()
    {
        frame->mainWindow().show();
        QApplication::setActiveWindow(&frame->mainWindow());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frame->mainWindow()));
        frame->frameMenu()->view().sync();
    }
    ~Shown()
    {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }
    QAction* title(int index) const
    {
        return frame->mainWindow().menuBar()->actions().value(index);
    }
    void clickTitle(int index) const
    {
        QTest::mouseClick(frame->mainWindow().menuBar(), Qt::LeftButton, {},
                          frame->mainWindow().menuBar()->actionGeometry(title(index)).center());
    }
};

TEST(FrameMenu, TheBarAndPopupsFollowTheModelAndInvisibleItemsHaveNoAction)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    ASSERT_EQ(frame.mainWindow().menuBar()->actions().size(), 2);
    EXPECT_EQ(shown.title(0)->text(), "[&F]File");
    host::OwnerDrawMenu* file = frame.popup(frame.filePopup());
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->actions().size(), 2); // the hidden item has no entry and no action
    EXPECT_EQ(file->actions()[0]->text(), "Open\tO");
    EXPECT_EQ(file->actions()[1]->text(), "Close\tC");

    frame.hidden->setVisible(true);
    frame.open->setText("Open now\tO");
    frame.close->setEnabled(false);
    QCoreApplication::processEvents();
    ASSERT_EQ(file->actions().size(), 3);
    EXPECT_EQ(file->actions()[0]->text(), "Open now\tO");
    EXPECT_EQ(file->actions()[1]->text(), "Hidden");
    EXPECT_FALSE(file->actions()[2]->isEnabled());
}

TEST(FrameMenu, OwnerDrawnPopupsTakeTheOwnersSizesByMouseAndByKeyboard)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    frame.ownerDrawFile();
    host::OwnerDrawMenu* file = frame.popup(frame.filePopup());

    QTest::keyClick(&frame.mainWindow(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(file->isVisible());
    ASSERT_FALSE(frame.measured.empty());
    for (const MEASUREITEMSTRUCT& request : frame.measured) {
        EXPECT_EQ(request.CtlType, ODT_MENU);
        EXPECT_TRUE(request.itemData == 1 || request.itemData == 2);
    }
    // No panel, no margins: the popup is as wide as the widest entry, as high as all of them.
    EXPECT_EQ(file->width(), 120);
    EXPECT_EQ(file->height(), 21 + 22);
    EXPECT_EQ(file->actionGeometry(file->actions()[0]), QRect(0, 0, 120, 21));
    EXPECT_EQ(file->actionGeometry(file->actions()[1]), QRect(0, 21, 120, 22));
    QTest::keyClick(file, Qt::Key_Escape);
    QTest::keyClick(frame.mainWindow().menuBar(), Qt::Key_Escape);
    ASSERT_FALSE(file->isVisible());

    frame.measured.clear();
    frame.open->setText("Open again\tO"); // a change makes the popup lay itself out again
    QCoreApplication::processEvents();
    shown.clickTitle(0);
    ASSERT_TRUE(file->isVisible());
    EXPECT_FALSE(frame.measured.empty());
    EXPECT_EQ(file->width(), 120);
}

TEST(FrameMenu, OwnerDrawnEntriesArePaintedThroughTheOwnerWithStatesAndItemRectangles)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    frame.open->setChecked(true);
    frame.close->setEnabled(false);
    frame.ownerDrawFile();
    host::OwnerDrawMenu* file = frame.popup(frame.filePopup());
    QTest::keyClick(&frame.mainWindow(), Qt::Key_F,
                    Qt::AltModifier); // opens with the first item highlighted
    ASSERT_TRUE(file->isVisible());
    frame.drawn.clear();
    const QImage shot = file->grab().toImage();
    // The highlighted entry is painted whole first, then asked for its highlight over that
    // picture, through the same device context, as a Win32 popup's screen keeps it.
    ASSERT_EQ(frame.drawn.size(), 3u);
    const DRAWITEMSTRUCT& openWhole = frame.drawn[0];
    const DRAWITEMSTRUCT& open = frame.drawn[1];
    const DRAWITEMSTRUCT& close = frame.drawn[2];
    EXPECT_EQ(openWhole.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(openWhole.itemState, ODS_CHECKED);
    EXPECT_EQ(open.itemAction, ODA_SELECT);
    EXPECT_EQ(open.itemState, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(open.hDC, openWhole.hDC);
    EXPECT_EQ(openWhole.rcItem.top, open.rcItem.top);
    EXPECT_EQ(openWhole.rcItem.right, open.rcItem.right);
    EXPECT_EQ(open.CtlType, ODT_MENU);
    EXPECT_EQ(open.itemData, 1u);
    EXPECT_EQ(open.itemID, frame.open->commandId());
    EXPECT_EQ(open.hwndItem, frame.filePopup());
    EXPECT_EQ(close.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(close.itemState, ODS_GRAYED | ODS_DISABLED);
    EXPECT_EQ(open.rcItem.top, 0);
    EXPECT_EQ(open.rcItem.bottom, 21);
    EXPECT_EQ(close.rcItem.top, 21);
    EXPECT_EQ(close.rcItem.right, 120);
    // The device context's origin is the popup's client area: the owner's fill covers it all.
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(119, 42), QColor(255, 0, 0));
}

TEST(FrameMenu, EntriesThatAreNotOwnerDrawnKeepTheStylesLookAndAskNothing)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    host::OwnerDrawMenu* file = frame.popup(frame.filePopup());
    shown.clickTitle(0);
    ASSERT_TRUE(file->isVisible());
    (void)file->grab();
    EXPECT_TRUE(frame.measured.empty());
    EXPECT_TRUE(frame.drawn.empty());
    EXPECT_GT(file->width(), 0);
}

TEST(FrameMenu, PlainShortcutKeysWorkInTheFrameOnlyAndWithoutModifiers)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    QTest::keyClick(&frame.mainWindow(), Qt::Key_O);
    EXPECT_EQ(frame.opens, 1);
    QTest::keyClick(frame.mainWindow().statusBar(), Qt::Key_C);
    EXPECT_EQ(frame.closes, 1);
    QTest::keyClick(&frame.mainWindow(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&frame.mainWindow(), Qt::Key_O, Qt::ShiftModifier);
    EXPECT_EQ(frame.opens, 1);

    // Another top-level window of the program (a dialog over the frame) keeps its keys.
    QDialog dialog(&frame.mainWindow());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_O);
    EXPECT_EQ(frame.opens, 1);
    dialog.close();

    frame.open->setEnabled(false);
    QTest::keyClick(&frame.mainWindow(), Qt::Key_O);
    EXPECT_EQ(frame.opens, 1);
}

TEST(FrameMenu, MenuAndToolbarRunTheItemsCommands)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    host::OwnerDrawMenu* file = frame.popup(frame.filePopup());
    shown.clickTitle(0);
    ASSERT_TRUE(file->isVisible());
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(file->actions()[1]).center());
    EXPECT_EQ(frame.closes, 1);
    EXPECT_FALSE(file->isVisible());

    QToolBar& toolbar = frame.frameMenu()->toolbar();
    std::vector<QAction*> buttons;
    std::vector<int> gaps;
    int gap = 0;
    for (QAction* action : toolbar.actions()) {
        if (QWidget* widget = toolbar.widgetForAction(action);
            widget != nullptr && qobject_cast<QToolButton*>(widget) == nullptr) {
            gap += widget->width();
            continue;
        }
        buttons.push_back(action);
        gaps.push_back(std::exchange(gap, 0));
    }
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->text(), "Open...");
    EXPECT_EQ(buttons[0]->toolTip(), "Open...");
    EXPECT_FALSE(buttons[0]->icon().isNull());
    EXPECT_EQ(buttons[1]->text(), "Close");
    EXPECT_EQ(gaps, (std::vector<int>{0, 2 * host::kToolbarSpaceUnit}));
    QTest::mouseClick(toolbar.widgetForAction(buttons[0]), Qt::LeftButton);
    EXPECT_EQ(frame.opens, 1);
}

TEST(FrameMenu, MicrohelpShowsWhileTheItemIsHighlighted)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    frame.setmicrohelp("Ready");
    host::OwnerDrawMenu* file = frame.popup(frame.filePopup());
    QTest::keyClick(&frame.mainWindow(), Qt::Key_F,
                    Qt::AltModifier); // opens with the first item highlighted
    ASSERT_TRUE(file->isVisible());
    EXPECT_EQ(frame.mainWindow().statusBar()->currentMessage(), "Opens one");
    QTest::keyClick(file, Qt::Key_Down);
    EXPECT_EQ(frame.mainWindow().statusBar()->currentMessage(), "");
    QTest::keyClick(file, Qt::Key_Up);
    EXPECT_EQ(frame.mainWindow().statusBar()->currentMessage(), "Opens one");
    QTest::keyClick(file, Qt::Key_Escape);
    EXPECT_EQ(frame.mainWindow().statusBar()->currentMessage(), "");
    // The status text the frame had shows again, untouched.
    EXPECT_EQ(frame.microhelp(), "Ready");
}

std::vector<std::string> entryTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char buffer[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), buffer, sizeof buffer, MF_BYPOSITION);
        MENUITEMINFOA info;
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_STATE | MIIM_FTYPE;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), 1, &info);
        std::string text = (info.fType & MFT_SEPARATOR) != 0 ? "-" : buffer;
        texts.push_back(text + ((info.fState & MFS_CHECKED) != 0 ? " [x]" : ""));
    }
    return texts;
}

TEST(FrameMenu, TheWindowMenuListsTheOpenSheetsAndChecksTheActiveOne)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    const HMENU windowMenu = frame.window->menuHandle();
    EXPECT_TRUE(entryTexts(windowMenu).empty());

    PlainSheet* first = frame.opensheet<PlainSheet>(2);
    first->setTitle("one");
    QCoreApplication::processEvents();
    // A second sheet of another type, so the frame holds two.
    struct OtherSheet : host::Sheet {};
    auto* second = frame.opensheet<OtherSheet>(2);
    second->setTitle("two");
    frame.mdiArea()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow*>(host::widgetOf(*first).parentWidget()));
    QCoreApplication::processEvents();

    // The titles are read again when the menu is about to show.
    QTest::keyClick(&frame.mainWindow(), Qt::Key_W, Qt::AltModifier);
    host::OwnerDrawMenu* popup = frame.popup(windowMenu);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(entryTexts(windowMenu), (std::vector<std::string>{"-", "&1 one [x]", "&2 two"}));
    ASSERT_EQ(popup->actions().size(), 3);
    EXPECT_TRUE(popup->actions()[0]->isSeparator());
    EXPECT_EQ(popup->actions()[2]->text(), "&2 two");
    EXPECT_TRUE(popup->actions()[1]->isChecked());

    // Choosing an entry activates its sheet.
    QTest::mouseClick(popup, Qt::LeftButton, {},
                      popup->actionGeometry(popup->actions()[2]).center());
    EXPECT_EQ(frame.getactivesheet(), second);
    QTest::keyClick(&frame.mainWindow(), Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(entryTexts(windowMenu), (std::vector<std::string>{"-", "&1 one", "&2 two [x]"}));
    popup->close();

    frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(&frame.mainWindow(), Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(entryTexts(windowMenu).empty());
    EXPECT_TRUE(popup->actions().isEmpty());
}

TEST(FrameMenu, AMaximisedSheetsSystemMenuSitsAtBarPositionZeroAndIsNotATitle)
{
    Shown shown;
    TestFrame& frame = *shown.frame;
    const HMENU bar = GetMenu(frame.handle());
    PlainSheet* sheet = frame.opensheet<PlainSheet>(2);
    QCoreApplication::processEvents();
    ASSERT_TRUE(qobject_cast<QMdiSubWindow*>(host::widgetOf(*sheet).parentWidget())->isMaximized());
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(sheet->handle(), 0));
    EXPECT_EQ(GetSubMenu(bar, 1), frame.file->menuHandle());
    EXPECT_EQ(frame.mainWindow().menuBar()->actions().size(), 2);
    EXPECT_EQ(frame.mainWindow().menuBar()->actions()[0]->text(), "[&F]File");

    qobject_cast<QMdiSubWindow*>(host::widgetOf(*sheet).parentWidget())->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetSubMenu(bar, 0), frame.file->menuHandle());
}

} // namespace
