#include "app/w_main.h"
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/window_functions.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace std::string_literals;
using testing_support::AnsweredMessageBoxes;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;

// A double of the library's listing entry: writes the text kept for the archive's file name
// over the start of the buffer, leaving the rest of the spaces as they are.
std::map<std::string, std::string>& listTexts()
{
    static std::map<std::string, std::string> texts;
    return texts;
}
std::vector<std::string>& listedPaths()
{
    static std::vector<std::string> paths;
    return paths;
}

std::int32_t listDouble(char* zip, char* list)
{
    listedPaths().emplace_back(zip);
    const std::string name = QFileInfo(QString::fromUtf8(zip)).fileName().toStdString();
    const std::string& text = listTexts()[name];
    // Over the spaces, without a zero byte: the list ends where the spaces begin, as the library
    // leaves it when its text fills only part of the buffer.
    std::memcpy(list, text.data(), text.size()); // NOLINT(bugprone-not-null-terminated-result)
    return 0;
}

struct WithListDouble : testing::Test {
    WithListDouble() { browse::useKarvexEntries(listDouble, nullptr); }
    ~WithListDouble() override
    {
        browse::useKarvexEntries(nullptr, nullptr);
        listTexts().clear();
        listedPaths().clear();
    }
    ScratchFolder folder;
};

struct ListCase {
    std::string text;
    std::vector<std::string> members;
};

// Names the case by its list text in test names.
void PrintTo(const ListCase& listCase, std::ostream* out)
{
    std::string shown;
    for (const char c : listCase.text) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    *out << '"' << shown << '"';
}

struct SplittingTheList : WithListDouble, testing::WithParamInterface<ListCase> {};

TEST_P(SplittingTheList, ShowsTheNamesBeforeEachSeparatorAndTheirCount)
{
    folder.writeFile("a.zqr", "");
    listTexts()["a.zqr"] = GetParam().text;
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);

    EXPECT_EQ(RunningViewer::shownMembers(sheet), GetParam().members);
    EXPECT_EQ(viewer.statusLine(), "总共:" + std::to_string(GetParam().members.size()) + "个文件");
    EXPECT_EQ(sheet.title(), "在浏览<a.zqr>");
    const std::string path = QDir::currentPath().toStdString() + "/a.zqr";
    EXPECT_EQ(sheet.zipFilePathName(), path);
    EXPECT_EQ(listedPaths(), std::vector<std::string>{path});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the arrow is back
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, SplittingTheList,
    testing::Values(ListCase{"", {}}, ListCase{"no separator at all", {}},
                    ListCase{"b.txt@@a.doc@@", {"a.doc", "b.txt"}},
                    ListCase{"a.doc@@b.txt", {"a.doc"}},        // text after the last @@
                    ListCase{"@@a.doc@@", {"", "a.doc"}},       // leading @@
                    ListCase{"@@@@", {"", ""}},                 // one item per separator
                    ListCase{"me@home.txt@@", {"me@home.txt"}}, // a single @ stays
                    ListCase{"a.doc@@b.txt@@\0c.txt@@"s, {"a.doc", "b.txt"}})); // ends at a zero

TEST_F(WithListDouble, AClickBesideTheArchivesChangesNothing)
{
    folder.writeFile("a.zqr", "");
    listTexts()["a.zqr"] = "x.txt@@";
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    const std::string title = sheet.title();
    const std::string status = viewer.statusLine();

    listTexts()["a.zqr"] = "changed.txt@@";
    RunningViewer::clickItem(sheet, true, -1);
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"x.txt"});
    EXPECT_EQ(sheet.title(), title);
    EXPECT_EQ(viewer.statusLine(), status);
    EXPECT_EQ(listedPaths().size(), 1u);
}

TEST_F(WithListDouble, MovingTheSelectionWithTheKeyboardListsNothing)
{
    folder.writeFile("a.zqr", "");
    folder.writeFile("b.zqr", "");
    listTexts()["a.zqr"] = "x.txt@@";
    listTexts()["b.zqr"] = "y.txt@@";
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    const std::string title = sheet.title();
    auto* view = sheet.lv_zip->listWidget();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_TRUE(view->currentIndex().isValid());
    EXPECT_TRUE(listedPaths().empty());
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(sheet.title(), title);
}

TEST_F(WithListDouble, AClickDuringAListingTakesOverWithoutMixingTheArchives)
{
    folder.writeFile("a.zqr", "");
    folder.writeFile("b.zqr", "");
    std::string many;
    for (int i = 0; i < 200; ++i) {
        many += "a" + std::to_string(i) + ".txt@@";
    }
    listTexts()["a.zqr"] = many;
    listTexts()["b.zqr"] = "b1.txt@@b2.txt@@";
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    // The second click arrives while the first listing yields.
    QTimer::singleShot(0, [&sheet] { RunningViewer::clickItem(sheet, true, 1); });
    RunningViewer::clickItem(sheet, true, 0);
    QCoreApplication::processEvents();

    EXPECT_EQ(listedPaths().size(), 2u);
    EXPECT_EQ(RunningViewer::shownMembers(sheet), (std::vector<std::string>{"b1.txt", "b2.txt"}));
    EXPECT_EQ(viewer.statusLine(), "总共:2个文件");
    EXPECT_EQ(sheet.title(), "在浏览<b.zqr>");
    EXPECT_EQ(sheet.zipFilePathName(), QDir::currentPath().toStdString() + "/b.zqr");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WithListDouble, ClosingTheSheetDuringAListingEndsItSafely)
{
    folder.writeFile("a.zqr", "");
    listTexts()["a.zqr"] = std::string(1000, 'x') + "@@" + "a.txt@@b.txt@@c.txt@@";
    RunningViewer viewer;
    w_brow* sheet = viewer.sheet();
    QTimer::singleShot(0, [sheet] { host::close(*sheet); });
    RunningViewer::clickItem(*sheet, true, 0);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.sheet(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_NE(viewer.frame(), nullptr); // the frame goes on without its sheet
    EXPECT_NE(viewer.statusLine(), "总共:4个文件");
}

TEST_F(WithListDouble, ClosingTheFrameDuringAListingEndsItSafely)
{
    folder.writeFile("a.zqr", "");
    listTexts()["a.zqr"] = "a.txt@@b.txt@@c.txt@@";
    RunningViewer viewer;
    w_brow* sheet = viewer.sheet();
    QTimer::singleShot(0, [&viewer] { viewer.frame()->close(); });
    RunningViewer::clickItem(*sheet, true, 0);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.frame(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MemberListing, TheRealLibraryListsARealArchiveInNaturalOrder)
{
    ScratchFolder folder;
    folder.addArchive("文库.zqr", {{"第10章.txt", "ten"},
                                   {"第2章.txt", "two"},
                                   {"B.doc", "b"},
                                   {"a.doc", "a"},
                                   {"notes/", ""},
                                   {"notes/x.txt", "x"}});
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    EXPECT_EQ(
        RunningViewer::shownMembers(sheet),
        (std::vector<std::string>{"a.doc", "B.doc", "notes/x.txt", "第2章.txt", "第10章.txt"}));
    EXPECT_EQ(viewer.statusLine(), "总共:5个文件");
    EXPECT_EQ(sheet.title(), "在浏览<文库.zqr>");
}

TEST(MemberListing, AMissingLibraryIsNamedAndChangesNothing)
{
    ScratchFolder folder;
    folder.addArchive("a.zqr", {{"a.txt", "a"}});
    AnsweredMessageBoxes boxes;
    browse::useKarvexLibraryName("NoSuchArchiveLibrary.dll");
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    const std::string title = sheet.title();
    RunningViewer::clickItem(sheet, true, 0);
    browse::useKarvexLibraryName("");

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("NoSuchArchiveLibrary.dll"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("GetFileIndexList2"), std::string::npos);
    EXPECT_EQ(sheet.title(), title);
    EXPECT_TRUE(sheet.zipFilePathName().empty());
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());

    // The program goes on: with the library back, the same click lists the archive.
    RunningViewer::clickItem(sheet, true, 0);
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"a.txt"});
}

} // namespace
