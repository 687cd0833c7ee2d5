// The utility against the frame's real toolbar, in the running viewer.
#include "app/w_main.h"
#include "host/toolkit/fonts_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/frame_toolbar.h"
#include "host/win32/icons.h"
#include "host/win32/system.h"
#include "host/win32/windows.h"
#include "toolbar/uo_toolbarutil.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QLayout>
#include <QToolButton>
#include <gtest/gtest.h>
#include <vector>

namespace {

using testing_support::RunningViewer;
using testing_support::ScratchFolder;

QRgb systemColor(int index)
{
    const win32::DWORD c = win32::GetSysColor(index);
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

std::vector<QToolButton*> buttons(host::FrameToolbar& toolbar)
{
    std::vector<QToolButton*> found;
    for (QAction* action : toolbar.actions()) {
        if (auto* button = qobject_cast<QToolButton*>(toolbar.widgetForAction(action))) {
            found.push_back(button);
        }
    }
    return found;
}

class FrameToolbarUtility : public testing::Test {
protected:
    FrameToolbarUtility() { util.is_toolclassname = host::kFrameToolbarClassName; }

    host::FrameToolbar& toolbar() const { return viewer.frame()->frameMenu()->toolbar(); }
    void settle() const
    {
        toolbar().layout()->activate();
        QApplication::processEvents();
    }

    ScratchFolder folder;
    RunningViewer viewer;
    uo_toolbarutil util;
};

TEST_F(FrameToolbarUtility, TheToolbarWindowIsFoundByItsClassAndHoldsItsRecord)
{
    const win32::HWND window =
        win32::FindWindowExA(viewer.frame()->handle(), 0, host::kFrameToolbarClassName, nullptr);
    ASSERT_NE(window, 0u);
    EXPECT_EQ(win32::windowFromHandle(window), &toolbar());
    EXPECT_EQ(win32::GetWindowLongA(window, 0), toolbar().address());

    ASSERT_TRUE(util.of_inittoolbar(viewer.frame(), 24));
    EXPECT_EQ(util.il_ptoolbar, toolbar().address());
    EXPECT_EQ(util.il_hwndtoolbar, static_cast<std::int32_t>(window));
}

TEST_F(FrameToolbarUtility, HidingTextsShowsBiggerIconsAloneAndShowingThemSpacesTheButtons)
{
    // 32 rather than 24: the style's own toolbar icons may already be 24 pixels.
    ASSERT_FALSE(buttons(toolbar()).empty());
    const QSize before = toolbar().iconSize();
    ASSERT_NE(before, QSize(32, 32));
    ASSERT_TRUE(util.of_inittoolbar(viewer.frame(), 32));

    util.of_toolbarshowtext(false);
    settle();
    EXPECT_FALSE(toolbar().textsShown());
    EXPECT_EQ(toolbar().iconSize(), QSize(32, 32));
    for (QToolButton* button : buttons(toolbar())) {
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
        EXPECT_GE(button->width(), 32 + 11);
        EXPECT_GE(button->height(), 32 + 10);
    }

    util.of_toolbarshowtext(true);
    settle();
    EXPECT_TRUE(toolbar().textsShown());
    // Buttons and the gaps before some of them lie 4 pixels apart.
    int neighbours = 0;
    QWidget* previous = nullptr;
    for (QAction* action : toolbar().actions()) {
        QWidget* widget = toolbar().widgetForAction(action);
        if (auto* button = qobject_cast<QToolButton*>(widget)) {
            EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        }
        if (widget == nullptr || !widget->isVisible()) {
            previous = nullptr;
            continue;
        }
        if (previous != nullptr) {
            EXPECT_EQ(widget->x() - (previous->x() + previous->width()), 4)
                << action->text().toStdString();
            ++neighbours;
        }
        previous = widget;
    }
    EXPECT_GT(neighbours, 0);
}

TEST_F(FrameToolbarUtility, TheFontOperationChangesTheLabels)
{
    ASSERT_TRUE(util.of_inittoolbar(viewer.frame(), 16));
    const QFont wanted = host::font("Arial", 15);
    ASSERT_NE(buttons(toolbar()).front()->font().pointSize(), 15);

    util.of_settoolbarfont("Arial", 15, "");
    for (QToolButton* button : buttons(toolbar())) {
        EXPECT_EQ(button->font().family(), wanted.family());
        EXPECT_EQ(button->font().pointSize(), 15);
    }
}

TEST_F(FrameToolbarUtility, TheButtonFacesHoldTheRaisedAndSunkenFacesAndTheButtonsPaintThem)
{
    ASSERT_TRUE(util.of_inittoolbar(viewer.frame(), 24));
    util.of_toolbarshowtext(false);
    settle();

    const QImage normal = win32::bitmapImage(static_cast<win32::HBITMAP>(
        toolbar().record().longAt(host::ToolbarRecord::kNormalFaceOffset)));
    const QImage pressed = win32::bitmapImage(static_cast<win32::HBITMAP>(
        toolbar().record().longAt(host::ToolbarRecord::kPressedFaceOffset)));
    ASSERT_EQ(normal.size(), QSize(31, 30));
    ASSERT_EQ(pressed.size(), QSize(31, 30));

    const QRgb face = systemColor(win32::COLOR_BTNFACE);
    const QRgb light = systemColor(win32::COLOR_BTNHIGHLIGHT);
    const QRgb shadow = systemColor(win32::COLOR_BTNSHADOW);
    ASSERT_NE(light, shadow);
    // The normal face is the raised edge's middle only; the pressed face is sunken all round.
    EXPECT_EQ(normal.pixel(0, 0) & 0xFFFFFF, face & 0xFFFFFF);
    EXPECT_EQ(normal.pixel(15, 15) & 0xFFFFFF, face & 0xFFFFFF);
    EXPECT_EQ(pressed.pixel(0, 0) & 0xFFFFFF, shadow & 0xFFFFFF);
    EXPECT_EQ(pressed.pixel(15, 0) & 0xFFFFFF, shadow & 0xFFFFFF);
    EXPECT_EQ(pressed.pixel(30, 29) & 0xFFFFFF, light & 0xFFFFFF);
    EXPECT_EQ(pressed.pixel(15, 15) & 0xFFFFFF, face & 0xFFFFFF);

    // A button paints the face of its state under its picture: a pressed one's corners show
    // the sunken edge.
    QToolButton* button = buttons(toolbar()).front();
    EXPECT_EQ(button->grab().toImage().pixel(0, 0) & 0xFFFFFF, face & 0xFFFFFF);
    button->setDown(true);
    const QImage shown = button->grab().toImage();
    button->setDown(false);
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, shadow & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1) & 0xFFFFFF, light & 0xFFFFFF);
}

} // namespace
