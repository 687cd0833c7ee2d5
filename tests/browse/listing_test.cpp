#include "app/w_main.h"
#include "browse/karvex_causes.h"
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/window_functions.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>

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

std::string fileNameOf(const char* path)
{
    return QFileInfo(QString::fromUtf8(path)).fileName().toStdString();
}

std::int32_t listDouble(char* zip, char* list)
{
    listedPaths().emplace_back(zip);
    const std::string& text = listTexts()[fileNameOf(zip)];
    // Over the spaces, without a zero byte: the list ends where the spaces begin, as the library
    // leaves it when its text fills only part of the buffer.
    std::memcpy(list, text.data(), text.size()); // NOLINT(bugprone-not-null-terminated-result)
    return 0;
}

// A double of the unbounded listing: the names and the summary kept for the archive's file name.
struct UnboundedList {
    std::vector<std::string> names;
    KarvexListSummary summary{};
    std::size_t pauseAfter = 0; // names handed over before waiting for resumeListing(); 0: none
};
std::atomic<bool>& listingResumed()
{
    static std::atomic<bool> resumed{false};
    return resumed;
}
// Set by the double when it starts waiting for resumeListing().
std::atomic<bool>& listingPaused()
{
    static std::atomic<bool> paused{false};
    return paused;
}
std::map<std::string, UnboundedList>& unboundedLists()
{
    static std::map<std::string, UnboundedList> lists;
    return lists;
}

std::int32_t listMembersDouble(const char* zip, KarvexMemberCallback each, void* context,
                               KarvexListSummary* summary)
{
    listedPaths().emplace_back(zip);
    const UnboundedList& list = unboundedLists()[fileNameOf(zip)];
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        if (i == list.pauseAfter && i > 0) {
            // The reader is slow from here on: the window shows what it has so far.
            const QDeadlineTimer deadline(20000);
            listingPaused() = true;
            while (!listingResumed() && !deadline.hasExpired()) {
                QThread::msleep(1);
            }
        }
        const std::string& name = list.names[i];
        const KarvexMemberInfo member{
            name.c_str(), static_cast<std::uint32_t>(name.size()), 0, 0, 0, -1, i, -1};
        if (each(context, &member) != 0) {
            return KARVEX_E_CANCELLED;
        }
    }
    if (summary != nullptr) {
        *summary = list.summary;
    }
    return KARVEX_OK;
}

// A double of the unpacking entry that keeps the member names it was asked for and unpacks
// nothing.
std::vector<std::string>& requestedMembers()
{
    static std::vector<std::string> members;
    return members;
}

std::int32_t extractDouble(char* /*zip*/, char* member, char* /*save*/)
{
    requestedMembers().emplace_back(member);
    return KARVEX_E_NO_MEMBER;
}

struct WithListDouble : testing::Test {
    WithListDouble() { browse::useKarvexEntries(listDouble, extractDouble); }
    ~WithListDouble() override
    {
        browse::useKarvexEntries(nullptr, nullptr);
        browse::useKarvexListMembers(nullptr);
        listTexts().clear();
        listedPaths().clear();
        unboundedLists().clear();
        requestedMembers().clear();
        listingResumed() = false;
        listingPaused() = false;
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
    QTimer::singleShot(0, [&viewer] { host::widgetOf(*viewer.frame()).close(); });
    RunningViewer::clickItem(*sheet, true, 0);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.frame(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WithListDouble, OpeningAnotherFolderDuringAListingEndsItAndNothingOfItArrives)
{
    browse::useKarvexListMembers(listMembersDouble);
    folder.writeFile("a.zqr", "");
    ASSERT_TRUE(QDir(folder.path()).mkpath("other"));
    folder.writeFile("other/b.zqr", "");
    UnboundedList& list = unboundedLists()["a.zqr"];
    for (int i = 0; i < 10; ++i) {
        list.names.push_back("m" + std::to_string(i) + ".txt");
    }
    list.pauseAfter = 3;
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    host::ListViewWidget& catalogue = *sheet.lv_zip->listWidget();
    QTest::mouseClick(catalogue.viewport(), Qt::LeftButton, {},
                      catalogue.visualRect(catalogue.model()->index(0, 0)).center());
    ASSERT_TRUE(QTest::qWaitFor([] { return listingPaused().load(); }));

    sheet.openFolder(folder.filePath("other"));
    listingResumed() = true;
    RunningViewer::waitWhileBusy();
    QTest::qWait(50); // time for anything of the old listing that could still arrive
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(RunningViewer::shownArchives(sheet), std::vector<std::string>{"b.zqr"});
    EXPECT_EQ(viewer.statusLine(), "");
    EXPECT_EQ(sheet.title(), "");
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
                                   {"notes/x.txt", "x"},
                                   // Names that cannot be shown or written safely.
                                   {"../outside.txt", "o"},
                                   {"/etc/absolute.txt", "e"},
                                   {"two@@parts.txt", "t"}});
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    EXPECT_EQ(
        RunningViewer::shownMembers(sheet),
        (std::vector<std::string>{"a.doc", "B.doc", "notes/x.txt", "第2章.txt", "第10章.txt"}));
    EXPECT_EQ(viewer.statusLine(), "总共:5个文件 (另有3个名称无法安全显示,未列出)");
    EXPECT_EQ(sheet.title(), "在浏览<文库.zqr>");
}

TEST(MemberListing, TheRealLibraryListsEveryMemberOfALongArchive)
{
    // 20,000 names whose list text would be four times the old 100,000-byte bound.
    ScratchFolder folder;
    std::vector<std::pair<std::string, std::string>> members;
    for (int i = 0; i < 20000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "chapter-%05d-text.txt", i);
        members.emplace_back(name, "");
    }
    folder.addArchive("long.zqr", members);
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    const std::vector<std::string> shown = RunningViewer::shownMembers(sheet);
    ASSERT_EQ(shown.size(), members.size());
    EXPECT_EQ(shown.back(), members.back().first);
    EXPECT_EQ(viewer.statusLine(), "总共:20000个文件");
}

TEST(MemberListing, AMissingLibraryOrEntryIsNamedAndChangesNothing)
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
    EXPECT_NE(boxes.shown[0].text.find("KarvexListMembers"), std::string::npos);
    EXPECT_EQ(sheet.title(), title);
    EXPECT_TRUE(sheet.zipFilePathName().empty());
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());

    // A library that loads but has neither listing entry (the viewer's own desktop-open module
    // stands in): the unbounded listing is looked for, then the list text, which is named.
    boxes.shown.clear();
    browse::useKarvexLibraryName("VarnelookDesktopOpen.dll");
    RunningViewer::clickItem(sheet, true, 0);
    browse::useKarvexLibraryName("");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("GetFileIndexList2"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("中没有这个入口"), std::string::npos);
    EXPECT_TRUE(sheet.zipFilePathName().empty());

    // The program goes on: with the library back, the same click lists the archive.
    RunningViewer::clickItem(sheet, true, 0);
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"a.txt"});
}

TEST_F(WithListDouble, ALongListShowsEveryMemberItsProgressAndWhatItLeftOut)
{
    browse::useKarvexListMembers(listMembersDouble);
    folder.writeFile("big.zqr", "");
    folder.writeFile("small.zqr", "");
    constexpr int kMembers = 20000;
    UnboundedList& big = unboundedLists()["big.zqr"];
    for (int i = 0; i < kMembers; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "doc-%05d.txt", (i * 7919) % kMembers);
        big.names.emplace_back(name);
    }
    big.summary.listed = kMembers;
    big.summary.unsafeNames = 4;
    big.summary.separators = 2;
    big.summary.undecodable = 1;
    big.pauseAfter = kMembers / 2;
    AnsweredMessageBoxes boxes;
    RunningViewer viewer;
    w_main& frame = *viewer.frame();
    w_brow& sheet = *viewer.sheet();
    auto* members = sheet.lv_fileico->listWidget();

    // What the user sees on every turn of the event loop while the list is read; once part of it
    // is shown, a double-click on a member, and then the rest may come.
    std::vector<std::string> progress;
    bool hourglassThroughout = true;
    std::string shownUnderThePointer;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        const std::string status = frame.microhelp();
        if (status.rfind("正在读取文件: ", 0) != 0) {
            return;
        }
        progress.push_back(status);
        // Until the double-click below: the unpack it starts has a pointer of its own.
        const QCursor* cursor = QApplication::overrideCursor();
        hourglassThroughout =
            hourglassThroughout && (!shownUnderThePointer.empty() ||
                                    (cursor != nullptr && cursor->shape() == Qt::WaitCursor));
        // The reader waits halfway until this has been done: the listing is still running.
        if (shownUnderThePointer.empty() && members->model()->rowCount() >= 1000) {
            shownUnderThePointer = members->model()->index(100, 0).data().toString().toStdString();
            RunningViewer::doubleClickItem(sheet, 100, RunningViewer::Unpack::Running);
            listingResumed() = true;
        }
    });
    watcher.start();
    RunningViewer::clickItem(sheet, true, 0);
    // The unpack that ends first puts the arrow back: the listing has ended with its total.
    EXPECT_TRUE(
        QTest::qWaitFor([&frame] { return frame.microhelp().rfind("总共:", 0) == 0; }, 30000));
    watcher.stop();
    RunningViewer::waitForUnpack(sheet);

    const std::vector<std::string> shown = RunningViewer::shownMembers(sheet);
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(kMembers));
    EXPECT_EQ(shown.front(), "doc-00000.txt");
    EXPECT_EQ(shown.back(), "doc-19999.txt");
    EXPECT_EQ(viewer.statusLine(), "总共:20000个文件 (另有7个名称无法安全显示,未列出)");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Progress counted the members as they arrived, under the hourglass.
    const bool countedPartOfTheList =
        std::any_of(progress.begin(), progress.end(), [](const std::string& status) {
            const long count = std::stol(status.substr(std::string("正在读取文件: ").size()));
            return count > 0 && count < kMembers;
        });
    EXPECT_TRUE(countedPartOfTheList);
    EXPECT_TRUE(hourglassThroughout);
    // The double-click opened the member the user saw, not one that had moved there since.
    ASSERT_FALSE(shownUnderThePointer.empty());
    EXPECT_EQ(requestedMembers(), std::vector<std::string>{shownUnderThePointer});
    // The catalogue marks the listed archive, and only that one.
    const auto* catalogue = sheet.lv_zip->listWidget()->model();
    EXPECT_TRUE(catalogue->index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(catalogue->index(1, 0).data(Qt::BackgroundRole).isValid());

    // Closing the sheet takes its status with it.
    host::close(sheet);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.statusLine(), "");
}

TEST_F(WithListDouble, OnlyReturnListsOrOpensFromTheKeyboardAndTheListedArchiveStaysMarked)
{
    folder.writeFile("a.zqr", "");
    folder.writeFile("b.zqr", "");
    listTexts()["a.zqr"] = "a1.txt@@";
    listTexts()["b.zqr"] = "b2.txt@@b1.txt@@b3.txt@@";
    AnsweredMessageBoxes boxes;
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    QApplication::setActiveWindow(&host::widgetOf(*viewer.frame()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(*viewer.frame())));
    auto* catalogue = sheet.lv_zip->listWidget();
    const auto marked = [catalogue](int row) {
        return catalogue->model()->index(row, 0).data(Qt::BackgroundRole).isValid();
    };

    // Moving the selection lists nothing; Return lists what is highlighted.
    const std::string untitled = sheet.title();
    catalogue->setFocus();
    QTest::keyClick(catalogue, Qt::Key_Down);
    QTest::keyClick(catalogue, Qt::Key_Down);
    QTest::keyClick(catalogue, Qt::Key_Space);
    EXPECT_TRUE(catalogue->currentIndex().isValid());
    EXPECT_TRUE(listedPaths().empty());
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(sheet.title(), untitled);
    QTest::keyClick(catalogue, Qt::Key_Return);
    RunningViewer::waitWhileBusy();
    EXPECT_EQ(listedPaths(), std::vector<std::string>{sheet.zipFilePathName()});
    EXPECT_EQ(RunningViewer::shownMembers(sheet),
              (std::vector<std::string>{"b1.txt", "b2.txt", "b3.txt"}));
    EXPECT_EQ(sheet.title(), "在浏览<b.zqr>");
    EXPECT_TRUE(marked(1));

    // Moving away lists nothing; the mark stays on the archive the members belong to.
    QTest::keyClick(catalogue, Qt::Key_Up);
    EXPECT_EQ(listedPaths().size(), 1u);
    EXPECT_TRUE(marked(1));
    EXPECT_FALSE(marked(0));

    // Tab goes on from the catalogue to the view buttons, at the checked one (列表); the arrows
    // move the check, and Tab then comes back to the button checked last.
    QTest::keyClick(catalogue, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), sheet.rb_3->widget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_TRUE(sheet.rb_2->checked());
    EXPECT_EQ(sheet.lv_fileico->view(), host::ListView::View::SmallIcon);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), sheet.sle_find->widget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), sheet.rb_2->widget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(sheet.lv_fileico->view(), host::ListView::View::List);

    // Return and keypad Enter on a member open it, as a double-click does.
    auto* members = sheet.lv_fileico->listWidget();
    members->setFocus();
    QTest::keyClick(members, Qt::Key_Home);
    QTest::keyClick(members, Qt::Key_Down);
    QTest::keyClick(members, Qt::Key_Return);
    RunningViewer::waitForUnpack(sheet);
    QTest::keyClick(members, Qt::Key_Enter, Qt::KeypadModifier);
    RunningViewer::waitForUnpack(sheet);
    EXPECT_EQ(requestedMembers(), (std::vector<std::string>{"b2.txt", "b2.txt"}));
}

TEST(MemberListing, ADamagedArchiveSaysSoAndIsNotShownAsEmpty)
{
    ScratchFolder folder;
    folder.addArchive("a-sound.zqr", {{"x.txt", "x"}});
    const std::string whole = folder.read("a-sound.zqr");
    folder.writeFile("b-text.zqr", "plain text, not an archive\n");
    folder.writeFile("c-empty-file.zqr", "");
    folder.writeFile("d-cut-in-half.zqr", whole.substr(0, whole.size() / 2));
    // Nothing but the end record: a sound archive without members.
    folder.writeFile("e-no-members.zqr", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    AnsweredMessageBoxes boxes;
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();

    for (int row = 1; row <= 3; ++row) {
        RunningViewer::clickItem(sheet, true, 0);
        ASSERT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"x.txt"});
        RunningViewer::clickItem(sheet, true, row);
        const std::string archive = RunningViewer::shownArchives(sheet)[row];
        EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty()) << archive;
        EXPECT_EQ(viewer.statusLine(), "无法读取文件清单,错误代码为-3") << archive;
        EXPECT_EQ(sheet.title(), "在浏览<" + archive + ">");
        ASSERT_EQ(boxes.shown.size(), 1u) << archive;
        EXPECT_EQ(boxes.shown[0].title, "信息提示!错误代码为-3");
        EXPECT_EQ(boxes.shown[0].text,
                  "该文件不是可读的文件库: 它已损坏、不完整,或根本不是文件库。(错误代码 -3)");
        boxes.shown.clear();
        // Nothing is left to open.
        RunningViewer::doubleClickItem(sheet, -1);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(folder.names().size(), 5u);
    }

    RunningViewer::clickItem(sheet, true, 4);
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(viewer.statusLine(), "总共:0个文件");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

// Whether row `row` of a list view is shown marked apart.
bool markedRow(const host::ListViewWidget& view, int row)
{
    return view.model()->index(row, 0).data(Qt::BackgroundRole).isValid();
}

// How long a test waits for the catalogue to follow a change in its folder, at most.
constexpr int kFolderChangeWait = 5000;

} // namespace

TEST(Catalogue, OneColumnInChineseOrderThatFollowsTheFolderAndKeepsTheListedMembers)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    // 300 archives: six whose order matters, and enough besides to fill the catalogue twice.
    folder.addArchive("茶.zqr", {{"泡.txt", "p"},
                                 {"简.txt", "j"},
                                 {"茶.txt", "c"},
                                 {"B.txt", "b"},
                                 {"a10.txt", "10"},
                                 {"a9.txt", "9"}});
    std::vector<std::string> expected = {"a9.zqr", "a10.zqr", "B.zqr"};
    for (int i = 1; i <= 294; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "volume %03d.zqr", i);
        expected.emplace_back(name);
    }
    expected.insert(expected.end(), {"茶.zqr", "简.zqr", "泡.zqr"});
    for (const std::string& name : expected) {
        if (!folder.exists(name)) {
            folder.writeFile(name, "");
        }
    }
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    QApplication::setActiveWindow(&host::widgetOf(*viewer.frame()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(*viewer.frame())));
    host::ListViewWidget& catalogue = *sheet.lv_zip->listWidget();

    // Numbers by value, letters without regard to case, Han by pinyin after the letters.
    EXPECT_EQ(RunningViewer::shownArchives(sheet), expected);

    // One column that scrolls down: every archive at the same x, no horizontal scroll bar.
    ASSERT_EQ(catalogue.model()->rowCount(), 300);
    EXPECT_TRUE(catalogue.verticalScrollBar()->isVisible());
    EXPECT_FALSE(catalogue.horizontalScrollBar()->isVisible());
    std::set<int> lefts;
    for (int row = 0; row < 300; ++row) {
        lefts.insert(catalogue.visualRect(catalogue.model()->index(row, 0)).x());
    }
    EXPECT_EQ(lefts.size(), 1u);

    // The member list is in the same order.
    catalogue.scrollToBottom();
    RunningViewer::clickItem(sheet, true, 297);
    EXPECT_EQ(sheet.title(), "在浏览<茶.zqr>");
    const std::vector<std::string> members = {"a9.txt", "a10.txt", "B.txt",
                                              "茶.txt", "简.txt",  "泡.txt"};
    EXPECT_EQ(RunningViewer::shownMembers(sheet), members);

    // An archive added and one removed show within moments, without a restart; the archive the
    // user chose stays selected and marked.
    folder.writeFile("a5.zqr", "");
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folder.filePath("B.zqr"))));
    expected.erase(expected.begin() + 2);
    expected.insert(expected.begin(), "a5.zqr");
    EXPECT_TRUE(QTest::qWaitFor([&] { return RunningViewer::shownArchives(sheet) == expected; },
                                kFolderChangeWait));
    EXPECT_EQ(catalogue.currentIndex().data().toString(), "茶.zqr");
    EXPECT_TRUE(markedRow(catalogue, 297));
    EXPECT_EQ(RunningViewer::shownMembers(sheet), members);

    // F5 reads the folder at once, before the watch has told of the change.
    folder.writeFile("a1.zqr", "");
    QTest::keyClick(&catalogue, Qt::Key_F5);
    expected.insert(expected.begin(), "a1.zqr");
    EXPECT_EQ(RunningViewer::shownArchives(sheet), expected);
    EXPECT_EQ(catalogue.currentIndex().data().toString(), "茶.zqr");
    EXPECT_TRUE(markedRow(catalogue, 298));

    // The listed archive removed: it leaves the catalogue, its members stay until the user
    // clicks elsewhere, and opening one says the archive is gone.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folder.filePath("茶.zqr"))));
    expected.erase(std::find(expected.begin(), expected.end(), "茶.zqr"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return RunningViewer::shownArchives(sheet) == expected; },
                                kFolderChangeWait));
    EXPECT_EQ(RunningViewer::shownMembers(sheet), members);
    EXPECT_EQ(sheet.title(), "在浏览<茶.zqr>");
    for (int row = 0; row < catalogue.model()->rowCount(); ++row) {
        EXPECT_FALSE(markedRow(catalogue, row)) << "row " << row;
    }
    RunningViewer::doubleClickItem(sheet, 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(browse::karvexCause(KARVEX_E_OPEN_ARCHIVE)),
              std::string::npos)
        << boxes.shown[0].text;
    EXPECT_FALSE(folder.exists("a9.txt"));
}
