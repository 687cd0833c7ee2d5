#include "app/w_main.h"
#include "browse/w_brow.h"
#include "contrast.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/layout_units.h"
#include "host/toolkit/list_view_widget.h"
#include "viewer_fixture.h"

#include <QAccessible>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using testing_support::RunningViewer;
using testing_support::ScratchFolder;

// A sheet on its own, sized in pixels, so the workspace is exactly known.
struct LoneSheet : testing::Test {
    ScratchFolder folder;
    w_brow sheet;

    void resizeTo(int width, int height)
    {
        host::widgetOf(sheet).resize(width, height);
        host::widgetOf(sheet).show();
        QCoreApplication::processEvents();
    }
};

TEST_F(LoneSheet, ResizeLaysTheControlsOutByTheWorkspaceAtEverySize)
{
    for (const QSize size : {QSize(1200, 700), QSize(900, 500)}) {
        resizeTo(size.width(), size.height());
        const int W = sheet.workspacewidth();
        const int H = sheet.workspaceheight();
        ASSERT_EQ(W, host::pixelsToUnitsX(size.width()));
        EXPECT_EQ(sheet.phl_1->x(), W - 3109);
        EXPECT_EQ(sheet.gb_2->height(), H - 452);
        EXPECT_EQ(sheet.lv_zip->height(), H - 452 - 100);
        EXPECT_EQ(sheet.lv_fileico->x(), 841 + 5);
        EXPECT_EQ(sheet.gb_1->width(), W - 841);
        EXPECT_EQ(sheet.lv_fileico->width(), W - 841);
        EXPECT_EQ(sheet.lv_fileico->height(), H - 452 - 200);
        // Nothing else moves.
        EXPECT_EQ(sheet.lv_zip->width(), 818);
        EXPECT_EQ(sheet.gb_2->width(), 841);
        EXPECT_EQ(sheet.rb_3->x(), 2039);
        EXPECT_EQ(sheet.lv_fileico->y(), 652);
        // The logo's widget is flush with the right edge of the workspace.
        EXPECT_EQ(sheet.phl_1->widget()->geometry().right() + 1, size.width());
    }
}

TEST_F(LoneSheet, BelowTheLogosHeightTheListsShrinkToNothingNotBelow)
{
    resizeTo(1000, 90); // 360 units, lower than the 452-unit logo
    EXPECT_EQ(sheet.gb_2->height(), 0);
    EXPECT_EQ(sheet.lv_zip->height(), 0);
    EXPECT_EQ(sheet.lv_fileico->height(), 0);
    EXPECT_EQ(sheet.lv_fileico->widget()->height(), 0);
    resizeTo(1000, 140); // 560 units: the group box has room, the lists do not yet
    EXPECT_EQ(sheet.gb_2->height(), 108);
    EXPECT_EQ(sheet.lv_zip->height(), 8);
    EXPECT_EQ(sheet.lv_fileico->height(), 0);
}

// Where the logo's picture is drawn in the sheet: the label lays its picture out by its
// alignment (flush right).
QRect logoPicture(const w_brow& sheet)
{
    const auto* label = qobject_cast<const QLabel*>(sheet.phl_1->widget());
    return QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                               label->pixmap().deviceIndependentSize().toSize(), label->geometry());
}

// The brand texts and the logo never overlap, however narrow the sheet (a small window, or a
// screen at a scale factor of 2): the logo is drawn whole where the sheet shows it, nothing
// painted over it, and where there is room it keeps its place at the right edge.
TEST_F(LoneSheet, TheLogoNeverRunsUnderTheBrandTexts)
{
    const QSize design(host::unitsToPixelsX(3653), host::unitsToPixelsY(1772));
    for (const QSize size :
         {design, QSize(900, 500), QSize(640, 400), QSize(500, 350), QSize(300, 200)}) {
        resizeTo(size.width(), size.height());
        const QRect picture = logoPicture(sheet);
        const QRect sheetRect(QPoint(0, 0), size);
        for (const host::StaticText* text : {sheet.st_1.get(), sheet.st_2.get()}) {
            EXPECT_FALSE(picture.intersects(text->widget()->geometry()))
                << size.width() << "x" << size.height();
            EXPECT_TRUE(sheetRect.contains(text->widget()->geometry()));
        }
        if (size.width() >= 900 || size == design) {
            EXPECT_EQ(picture.right() + 1, size.width()) << "flush right when there is room";
        }

        // What the sheet shows of the logo is the logo itself, pixel for pixel.
        const QImage shown =
            host::widgetOf(sheet).grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const auto* label = qobject_cast<const QLabel*>(sheet.phl_1->widget());
        const QImage logo = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        int compared = 0;
        int differing = 0;
        const QRect visible = picture.intersected(sheetRect);
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            for (int x = visible.left(); x <= visible.right(); ++x) {
                const QRgb own = logo.pixel(x - picture.left(), y - picture.top());
                if (qAlpha(own) == 255) {
                    ++compared;
                    differing += shown.pixel(x, y) != own ? 1 : 0;
                }
            }
        }
        EXPECT_GT(compared, 0) << "some of the logo shows at " << size.width();
        EXPECT_EQ(differing, 0) << size.width() << "x" << size.height();
    }
}

TEST_F(LoneSheet, ViewButtonsSwitchTheMemberListAndKeepItsItems)
{
    resizeTo(1200, 700);
    EXPECT_TRUE(sheet.rb_3->checked());
    EXPECT_FALSE(sheet.rb_4->widget()->isVisible());
    for (const char* label : {"b.txt", "a.doc", "c.pdf"}) {
        sheet.lv_fileico->additem(label, 1);
    }
    const auto before = RunningViewer::shownMembers(sheet);
    ASSERT_EQ(before, (std::vector<std::string>{"a.doc", "b.txt", "c.pdf"}));
    // The user's choice of member survives every switch of the view.
    auto* members = sheet.lv_fileico->listWidget();
    QTest::mouseClick(members->viewport(), Qt::LeftButton, {},
                      members->visualRect(members->model()->index(1, 0)).center());

    const struct {
        host::RadioButton* button;
        host::ListView::View view;
    } cases[] = {{sheet.rb_1.get(), host::ListView::View::LargeIcon},
                 {sheet.rb_2.get(), host::ListView::View::SmallIcon},
                 {sheet.rb_3.get(), host::ListView::View::List}};
    for (const auto& [button, view] : cases) {
        // On the indicator: a radio button answers clicks on its indicator and text only.
        QTest::mouseClick(button->button(), Qt::LeftButton, {},
                          QPoint(6, button->button()->height() / 2));
        EXPECT_EQ(sheet.lv_fileico->view(), view);
        EXPECT_TRUE(button->checked());
        EXPECT_EQ(RunningViewer::shownMembers(sheet), before);
        EXPECT_EQ(members->currentIndex().data().toString(), "b.txt");
        const auto selected = members->selectionModel()->selectedIndexes();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.front().data().toString(), "b.txt");
    }
    // Only one button of the group is checked at a time, the hidden report button included.
    int checked = 0;
    for (auto* button : {&sheet.rb_1, &sheet.rb_2, &sheet.rb_3, &sheet.rb_4}) {
        checked += (*button)->checked() ? 1 : 0;
    }
    EXPECT_EQ(checked, 1);
}

TEST_F(LoneSheet, LargeIconsShortenLongNamesInTheMiddleSoTheirEndsStayApart)
{
    resizeTo(1200, 700);
    // Names with no break point that differ only at their end.
    const std::vector<std::string> names = {"doc0000000000000000000001.txt",
                                            "doc0000000000000000000002.txt",
                                            "doc0000000000000000000003.txt"};
    for (const std::string& name : names) {
        sheet.lv_fileico->additem(name, 1);
    }
    QTest::mouseClick(sheet.rb_1->button(), Qt::LeftButton, {},
                      QPoint(6, sheet.rb_1->button()->height() / 2));
    ASSERT_EQ(sheet.lv_fileico->view(), host::ListView::View::LargeIcon);
    auto* members = sheet.lv_fileico->listWidget();
    members->clearSelection();
    members->setCurrentIndex(QModelIndex());
    QCoreApplication::processEvents();

    // What the user sees of each label: the cell below its picture.
    const QImage shown = members->viewport()->grab().toImage();
    std::vector<QImage> labels;
    for (int row = 0; row < 3; ++row) {
        const QRect cell = members->visualRect(members->model()->index(row, 0));
        labels.push_back(shown.copy(cell.adjusted(0, 36, 0, 0)));
    }
    ASSERT_FALSE(labels[0].isNull());
    EXPECT_NE(labels[0], labels[1]);
    EXPECT_NE(labels[1], labels[2]);
    EXPECT_NE(labels[0], labels[2]);
}

// What assistive technology announces for a widget: its role and its name.
std::pair<QAccessible::Role, std::string> announced(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (face == nullptr) {
        return {QAccessible::NoRole, {}};
    }
    return {face->role(), face->text(QAccessible::Name).toStdString()};
}

TEST_F(LoneSheet, EveryControlIsAnnouncedByTheNameAUserSeesBesideIt)
{
    resizeTo(1200, 700);
    using Role = QAccessible::Role;
    const std::vector<std::pair<QWidget*, std::pair<Role, std::string>>> expected = {
        {sheet.lv_zip->listWidget(), {Role::List, "文件清单"}},
        {sheet.lv_fileico->listWidget(), {Role::List, "文件"}},
        {sheet.sle_find->widget(), {Role::EditableText, "查找文件名"}},
        {sheet.gb_1->widget(), {Role::Grouping, "明细显示类型"}},
        {sheet.gb_2->widget(), {Role::Grouping, "文件清单"}},
        {sheet.rb_1->widget(), {Role::RadioButton, "大图标"}},
        {sheet.rb_2->widget(), {Role::RadioButton, "小图标"}},
        {sheet.rb_3->widget(), {Role::RadioButton, "列表"}},
        {sheet.st_1->widget(), {Role::StaticText, sheet.st_1->text()}},
        {sheet.st_2->widget(), {Role::StaticText, sheet.st_2->text()}},
    };
    for (const auto& [widget, what] : expected) {
        EXPECT_EQ(announced(widget), what) << what.second;
    }
    // The logo is a link to the publisher, named as its tooltip names it.
    EXPECT_EQ(announced(sheet.phl_1->widget()).second,
              sheet.phl_1->widget()->toolTip().toStdString());
    EXPECT_FALSE(announced(sheet.phl_1->widget()).second.empty());
}

TEST(SheetWindow, TheRestoreButtonGivesTheSheetItsDesignSizeCentred)
{
    ScratchFolder folder;
    RunningViewer viewer;
    w_brow* sheet = viewer.sheet();
    ASSERT_NE(sheet, nullptr);
    auto* window = qobject_cast<QMdiSubWindow*>(host::widgetOf(*sheet).parentWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(host::unitsToPixelsX(3653), host::unitsToPixelsY(1772)));
    // Centred in the frame's workspace; kept inside it when the workspace is the smaller.
    const QRect area = window->mdiArea()->viewport()->rect();
    EXPECT_NEAR(window->x(), std::max(0, (area.width() - window->width()) / 2), 1);
    EXPECT_NEAR(window->y(), std::max(0, (area.height() - window->height()) / 2), 1);
}

TEST(SheetWindow, BrandTextsListsAndStatusLineStayLegibleInADarkPalette)
{
    const test::ScopedPalette dark(test::darkPalette());
    ScratchFolder folder;
    folder.addArchive("tea.zqr", {{"a.txt", "a"}, {"b.txt", "b"}});
    RunningViewer viewer;
    w_brow* sheet = viewer.sheet();
    ASSERT_NE(sheet, nullptr);
    RunningViewer::clickItem(*sheet, true, 0);
    ASSERT_EQ(RunningViewer::shownMembers(*sheet).size(), 2u);
    QCoreApplication::processEvents(); // the member list lays its items out
    const auto contrastOf = [](QWidget* widget) {
        const QImage shown = widget->grab().toImage();
        return test::textContrast(shown, shown.rect());
    };
    // The brand texts keep their green, so they take a light face: 20-point bold text is large
    // text, for which 3:1 is the least.
    EXPECT_GE(contrastOf(sheet->st_1->widget()), 3.0);
    EXPECT_GE(contrastOf(sheet->st_2->widget()), 3.0);
    EXPECT_GE(contrastOf(sheet->lv_zip->listWidget()->viewport()), 4.5);
    EXPECT_GE(contrastOf(sheet->lv_fileico->listWidget()->viewport()), 4.5);
    EXPECT_GE(contrastOf(host::frameWidgetOf(*viewer.frame()).statusBar()), 4.5);
}

} // namespace
