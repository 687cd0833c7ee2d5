#include "host/toolkit/event_boundary.h"
#include "host/toolkit/list_view.h"
#include "host/toolkit/list_view_widget.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ListViewFixture : testing::Test {
    ListViewFixture()
    {
        window.resize(400, 300);
        list = std::make_unique<host::ListView>(&window);
        list->move(0, 0);
        list->resize(1600, 1200);
        list->onClicked([this](long index) { clicks.push_back(index); });
        list->onDoubleClicked([this](long index) { doubleClicks.push_back(index); });
        window.show();
    }

    QPoint centreOf(int row) const
    {
        auto* view = list->listWidget();
        return view->visualRect(view->model()->index(row, 0)).center();
    }

    std::vector<std::string> labels() const
    {
        std::vector<std::string> shown;
        const auto* model = list->listWidget()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            shown.push_back(model->index(row, 0).data().toString().toStdString());
        }
        return shown;
    }

    QWidget window;
    std::unique_ptr<host::ListView> list;
    std::vector<long> clicks;
    std::vector<long> doubleClicks;
};

TEST_F(ListViewFixture, MouseClicksReportTheItemNumberAndZeroBesideTheItems)
{
    list->additem("first", 1);
    list->additem("second", 1);
    auto* viewport = list->listWidget()->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(1));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(390, 290));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centreOf(0));
    QTest::mouseClick(viewport, Qt::RightButton, {}, centreOf(0));

    EXPECT_EQ(clicks, (std::vector<long>{2, 0}));
    EXPECT_EQ(doubleClicks, (std::vector<long>{1}));
}

TEST_F(ListViewFixture, KeyboardSelectionRaisesNothingAndReturnReportsTheCurrentItem)
{
    std::vector<long> returns;
    list->onReturnPressed([&returns](long index) { returns.push_back(index); });
    list->additem("first", 1);
    list->additem("second", 1);
    auto* view = list->listWidget();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Home);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_TRUE(view->currentIndex().isValid()); // the keys did move the selection
    EXPECT_TRUE(returns.empty());
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(doubleClicks.empty());
    EXPECT_EQ(returns, (std::vector<long>{2, 2}));
}

TEST_F(ListViewFixture, AClickWhileTheScreenLagsBehindTheItemsReportsTheItemTheUserSaw)
{
    list->setSorting(host::ListView::Sort::Ascending);
    std::string seen;
    std::string reported;
    list->onDoubleClicked([this, &reported](long index) { reported = *list->getitem(index); });
    list->additem("m", 1);
    list->additem("n", 1);
    const auto* model = list->listWidget()->model();
    seen = model->index(1, 0).data().toString().toStdString();
    // Inside one event, items added within a frame of the last repaint reach the screen later;
    // items sorted in before the one under the pointer move it down the list in the meantime.
    host::raiseEvent([&] {
        for (const char* label : {"a", "b", "c"}) {
            list->additem(label, 1);
        }
        QTest::mouseDClick(list->listWidget()->viewport(), Qt::LeftButton, {}, centreOf(1));
    });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(reported, seen);
}

TEST_F(ListViewFixture, SortedListsShowLabelsInNaturalOrderAndNumberThemSo)
{
    list->setSorting(host::ListView::Sort::Ascending);
    EXPECT_EQ(list->additem("item10", 1), 1);
    EXPECT_EQ(list->additem("Item9", 1), 1);
    EXPECT_EQ(list->additem("item9", 1), 2);
    EXPECT_EQ(list->additem("a", 1), 1);
    EXPECT_EQ(labels(), (std::vector<std::string>{"a", "Item9", "item9", "item10"}));
    EXPECT_EQ(list->getitem(4), "item10");
    EXPECT_FALSE(list->getitem(5).has_value());
    EXPECT_FALSE(list->getitem(0).has_value());

    list->deleteitems();
    EXPECT_EQ(list->totalitems(), 0);
    EXPECT_TRUE(labels().empty());
}

TEST_F(ListViewFixture, EveryViewModeKeepsTheItemsAndTheirOrder)
{
    list->addLargePicture("file.bmp", 0xFFFFFF);
    list->addSmallPicture("file.bmp", 0xFFFFFF);
    for (const char* label : {"c", "a", "b"}) {
        list->additem(label, 1);
    }
    const auto before = labels();
    auto* view = list->listWidget();
    using View = host::ListView::View;
    for (const View mode : {View::LargeIcon, View::SmallIcon, View::Report, View::List}) {
        list->setView(mode);
        EXPECT_EQ(labels(), before);
    }
    list->setView(View::LargeIcon);
    EXPECT_EQ(view->viewMode(), QListView::IconMode);
    EXPECT_EQ(view->iconSize(), QSize(32, 32));
    list->setView(View::Report);
    EXPECT_EQ(view->viewMode(), QListView::ListMode);
    EXPECT_FALSE(view->isWrapping()); // one column
    list->setView(View::List);
    EXPECT_TRUE(view->isWrapping());
    EXPECT_EQ(view->flow(), QListView::TopToBottom);
}

TEST_F(ListViewFixture, PicturesShowTheirTransparentColourClear)
{
    list->addSmallPicture("file.bmp", 0xFFFFFF);
    list->additem("doc", 1);
    const auto picture =
        list->listWidget()->model()->index(0, 0).data(Qt::DecorationRole).value<QPixmap>();
    ASSERT_FALSE(picture.isNull());
    const QImage image = picture.toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0); // the white background corner
    bool anyOpaque = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            anyOpaque = anyOpaque || qAlpha(image.pixel(x, y)) == 255;
        }
    }
    EXPECT_TRUE(anyOpaque);
}

} // namespace
