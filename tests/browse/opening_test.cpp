#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/window_functions.h"
#include "viewer_fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testing_support::AnsweredMessageBoxes;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;
using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

const std::string kNoApplication = "没有跟这类文件关联的软件,请安装相关软件。";
const std::string kCannotExtract = "无法从文件库中取出该文件。";

struct Opening : testing::Test {
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;

    Opening()
    {
        folder.addArchive("a.zqr", {{"a.txt", "from a"}, {"blob.varnelook-unknown", "\x01\x02"}});
        folder.addArchive("b.zqr", {{"b.txt", "from b"}, {"a.txt", "a again, from b"}});
    }

    // Lists archive `row` of the catalogue and double-clicks the member called `member`.
    static void open(w_brow& sheet, int row, const std::string& member)
    {
        RunningViewer::clickItem(sheet, true, row);
        const auto members = RunningViewer::shownMembers(sheet);
        const auto at = std::find(members.begin(), members.end(), member);
        ASSERT_NE(at, members.end()) << member;
        RunningViewer::doubleClickItem(sheet, static_cast<int>(at - members.begin()));
    }
};

TEST_F(Opening, ADoubleClickUnpacksTheMemberAndOpensItWithItsApplication)
{
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    open(sheet, 0, "a.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("a.txt"));
    EXPECT_EQ(folder.read("a.txt"), "from a");
    EXPECT_EQ(sheet.openFileName(), folder.filePath("a.txt"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Opening, ATypeWithoutApplicationShowsCode31)
{
    RunningViewer viewer;
    open(*viewer.sheet(), 0, "blob.varnelook-unknown");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "信息提示!错误代码为31");
    EXPECT_EQ(boxes.shown[0].text, kNoApplication);
    EXPECT_EQ(boxes.shown[0].icon, host::Icon::Information);
    EXPECT_TRUE(folder.exists("blob.varnelook-unknown")); // unpacked, kept until the next open
}

TEST_F(Opening, OpeningAMemberOfAnotherArchiveDeletesTheFileUnpackedBefore)
{
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    open(sheet, 0, "blob.varnelook-unknown");
    ASSERT_TRUE(folder.exists("blob.varnelook-unknown"));
    open(sheet, 1, "b.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("b.txt"));
    EXPECT_FALSE(folder.exists("blob.varnelook-unknown"));
    EXPECT_TRUE(folder.exists("b.txt"));

    // The same name again: the earlier file goes, the new member takes its place.
    open(sheet, 0, "a.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("a.txt"));
    open(sheet, 1, "a.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("a.txt"));
    EXPECT_EQ(folder.read("a.txt"), "a again, from b");
    EXPECT_FALSE(folder.exists("b.txt"));
}

TEST_F(Opening, ClosingTheSheetRemovesTheUnpackedFileAndNothingElse)
{
    const auto before = folder.names();
    RunningViewer viewer;
    w_brow* sheet = viewer.sheet();
    open(*sheet, 0, "blob.varnelook-unknown");
    ASSERT_TRUE(folder.exists("blob.varnelook-unknown"));
    host::close(*sheet);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.sheet(), nullptr);
    EXPECT_EQ(folder.names(), before);
}

TEST_F(Opening, ClosingWithoutHavingOpenedAMemberDeletesNothing)
{
    folder.writeFile("a.txt", "the user's own");
    const auto before = folder.names();
    RunningViewer viewer;
    RunningViewer::clickItem(*viewer.sheet(), true, 0);
    viewer.closeFrame();
    EXPECT_EQ(folder.names(), before);
    EXPECT_EQ(folder.read("a.txt"), "the user's own");
}

TEST_F(Opening, AFailedExtractionShowsTheLibrarysCodeAndLeavesTheUsersFileAlone)
{
    folder.writeFile("a.txt", "the user's own");
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    open(sheet, 0, "a.txt");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "信息提示!错误代码为-10"); // the file exists already
    EXPECT_EQ(boxes.shown[0].text, kCannotExtract);
    EXPECT_TRUE(sheet.openFileName().empty());

    // Nothing of that name is the viewer's: neither the next open nor the close deletes it.
    open(sheet, 1, "b.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("b.txt"));
    viewer.closeFrame();
    EXPECT_EQ(folder.read("a.txt"), "the user's own");
    EXPECT_FALSE(folder.exists("b.txt"));
}

TEST_F(Opening, AFileTheUserPutInPlaceOfTheUnpackedOneIsLeftAlone)
{
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    open(sheet, 0, "blob.varnelook-unknown");
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folder.filePath("blob.varnelook-unknown"))));
    folder.writeFile("blob.varnelook-unknown", "saved by the user");
    viewer.closeFrame();
    EXPECT_EQ(folder.read("blob.varnelook-unknown"), "saved by the user");
}

TEST_F(Opening, ADoubleClickBesideTheMembersOrMovingTheSelectionOpensNothing)
{
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    const auto before = folder.names();
    RunningViewer::doubleClickItem(sheet, -1);
    auto* view = sheet.lv_fileico->listWidget();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(folder.names(), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(sheet.openFileName().empty());
}

TEST_F(Opening, AMissingExtractionEntryIsNamedAndDeletesNothing)
{
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    open(sheet, 0, "blob.varnelook-unknown");
    ASSERT_EQ(boxes.shown.size(), 1u);
    browse::useKarvexLibraryName("NoSuchArchiveLibrary.dll");
    const auto members = RunningViewer::shownMembers(sheet);
    const auto row = std::find(members.begin(), members.end(), "a.txt") - members.begin();
    RunningViewer::doubleClickItem(sheet, static_cast<int>(row));
    browse::useKarvexLibraryName("");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[1].text.find("GetFileFromZipFile2"), std::string::npos);
    EXPECT_NE(boxes.shown[1].text.find("NoSuchArchiveLibrary.dll"), std::string::npos);
    EXPECT_TRUE(folder.exists("blob.varnelook-unknown")); // the event ended before any delete
    EXPECT_FALSE(folder.exists("a.txt"));

    // A library that loads but lacks the entry (Qt's own core library here) is named as such.
    browse::useKarvexLibraryName("Qt6Core.dll");
    RunningViewer::doubleClickItem(sheet, static_cast<int>(row));
    browse::useKarvexLibraryName("");
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_NE(boxes.shown[2].text.find("GetFileFromZipFile2"), std::string::npos);
    EXPECT_NE(boxes.shown[2].text.find("库 Qt6Core.dll 中没有这个入口"), std::string::npos)
        << boxes.shown[2].text;
    EXPECT_TRUE(folder.exists("blob.varnelook-unknown"));
    EXPECT_FALSE(folder.exists("a.txt"));
}

} // namespace
