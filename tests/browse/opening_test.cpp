#include "app/w_main.h"
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/progress_window.h"
#include "host/toolkit/save_dialog.h"
#include "host/toolkit/termination_signals.h"
#include "host/toolkit/window_functions.h"
#include "viewer_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <thread>

namespace {

using testing_support::AnsweredMessageBoxes;
using testing_support::RunningViewer;
using testing_support::ScratchCache;
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
    // The message names the file in the way, by its full path, and the way to the member anyway.
    EXPECT_EQ(boxes.shown[0].text,
              kCannotExtract +
                  "\r\n原因: 文件夹中已有一个同名的不同文件,它原样保留,没有被改动。"
                  "\r\n已有的文件: " +
                  folder.filePath("a.txt") +
                  "\r\n要取出该文件,可在它的右键菜单中选择“另存为...”,另存到别处。"
                  "\r\n错误代码: -10");
    EXPECT_TRUE(sheet.openFileName().empty());

    // And that way works: the member's menu saves it elsewhere, the user's file untouched.
    QTemporaryDir elsewhere;
    const host::SaveDialogHandler previous = host::setSaveDialogHandler(
        [&elsewhere](const host::SaveDialogRequest& request) -> std::optional<host::SaveChoice> {
            return host::SaveChoice{
                elsewhere.filePath(QString::fromStdString(request.name)).toStdString(), false};
        });
    RunningViewer::saveMemberAs(sheet, 0);
    host::setSaveDialogHandler(previous);
    QFile saved(elsewhere.filePath(QStringLiteral("a.txt")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), "from a");
    EXPECT_EQ(folder.read("a.txt"), "the user's own");
    EXPECT_EQ(boxes.shown.size(), 1u);

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

// ---- Unpacking off the GUI thread -------------------------------------------------------------

// Doubles of the library's two unpack entries. "slow.txt" reports progress until the test lets
// it finish (or, unless it is stubborn, until it is cancelled); every other member is written at
// once. `codes` makes a member fail with the code given for it.
struct UnpackDouble {
    static inline std::atomic<bool> release = false;
    static inline std::atomic<bool> stubborn = false;
    static inline std::map<std::string, std::int32_t> codes;
    // Saves under this folder fail as a read-only folder does.
    static inline std::string readOnlyFolder;

    static std::int32_t extract(const char* /*zip*/, const char* member, const char* save,
                                std::uint32_t /*flags*/, KarvexProgressCallback progress,
                                void* context)
    {
        const std::string name = member;
        const std::string path = save;
        if (const auto code = codes.find(name); code != codes.end()) {
            return code->second;
        }
        if (!readOnlyFolder.empty() && path.rfind(readOnlyFolder + "/", 0) == 0) {
            return KARVEX_E_PERMISSION;
        }
        constexpr std::uint64_t kTotal = 768ULL << 20;
        std::uint64_t done = 0;
        while (name == "slow.txt" && !release) {
            done = std::min(kTotal, done + (1 << 20));
            if (progress(context, done, kTotal) != 0 && !stubborn) {
                return KARVEX_E_CANCELLED;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        QFile file(QString::fromStdString(path));
        if (file.exists() || !file.open(QIODevice::NewOnly)) {
            return KARVEX_E_EXISTS;
        }
        file.write("unpacked by the double");
        return KARVEX_OK;
    }
    static std::int32_t plain(char* zip, char* member, char* save)
    {
        return extract(
            zip, member, save, 0, [](void*, std::uint64_t, std::uint64_t) { return 0; }, nullptr);
    }

    UnpackDouble()
    {
        release = false;
        stubborn = false;
        browse::useKarvexEntries(nullptr, plain);
        browse::useKarvexExtractMember(extract);
    }
    UnpackDouble(const UnpackDouble&) = delete;
    UnpackDouble& operator=(const UnpackDouble&) = delete;
    ~UnpackDouble()
    {
        browse::useKarvexEntries(nullptr, nullptr);
        browse::useKarvexExtractMember(nullptr);
        codes.clear();
        readOnlyFolder.clear();
    }
};

QWidget* progressWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == host::ProgressWindow::kObjectName && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

std::string labelsOf(const QWidget& window)
{
    std::string text;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        text += label->text().toStdString() + "\n";
    }
    return text;
}

struct Unpacking : Opening {
    UnpackDouble unpack;
    Unpacking() { folder.addArchive("big.zqr", {{"slow.txt", "s"}, {"quick.txt", "q"}}); }

    static int rowOf(const w_brow& sheet, const std::string& member)
    {
        const auto members = RunningViewer::shownMembers(sheet);
        return static_cast<int>(std::find(members.begin(), members.end(), member) -
                                members.begin());
    }
};

TEST_F(Unpacking, ALongUnpackShowsItsProgressAndIsCancelledSupersededOrEndedByAClose)
{
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 2); // big.zqr, after a.zqr and b.zqr
    ASSERT_EQ(sheet.title(), "在浏览<big.zqr>");

    // Runs off the GUI thread: the busy pointer shows, and after a moment the progress window
    // with the member's name and its figures, modal to the sheet alone.
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "slow.txt"), RunningViewer::Unpack::Running);
    EXPECT_TRUE(sheet.unpacking());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ASSERT_TRUE(QTest::qWaitFor([] { return progressWindow() != nullptr; }, 20000));
    QWidget& window = *progressWindow();
    EXPECT_NE(labelsOf(window).find("slow.txt"), std::string::npos);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return labelsOf(window).find(" / 768.0 MB (") != std::string::npos; }));
    EXPECT_FALSE(host::widgetOf(sheet).isEnabled());
    EXPECT_TRUE(host::widgetOf(*viewer.frame()).isEnabled());
    // Assistive technology announces the bar by the window's title.
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(window.findChild<QProgressBar*>());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Name), window.windowTitle());
    EXPECT_FALSE(window.windowTitle().isEmpty());

    // Cancel: nothing on disk, nothing opened, the status line says so, the sheet is back.
    auto* cancel = window.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text().toStdString(), "取消");
    QTest::mouseClick(cancel, Qt::LeftButton);
    RunningViewer::waitForUnpack(sheet);
    EXPECT_FALSE(folder.exists("slow.txt"));
    EXPECT_TRUE(sheet.openFileName().empty());
    EXPECT_EQ(viewer.statusLine(), "已取消取出文件: slow.txt");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(progressWindow(), nullptr);
    EXPECT_TRUE(host::widgetOf(sheet).isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A second double-click while the first unpack runs: the first stops, the second is opened.
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "slow.txt"), RunningViewer::Unpack::Running);
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "quick.txt"));
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("quick.txt"));
    EXPECT_FALSE(folder.exists("slow.txt"));
    EXPECT_EQ(sheet.openFileName(), folder.filePath("quick.txt"));

    // Closing the sheet during an unpack that finishes regardless of the cancel: the sheet
    // closes at once, and the file written after it went is removed too.
    UnpackDouble::stubborn = true;
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "slow.txt"), RunningViewer::Unpack::Running);
    EXPECT_FALSE(folder.exists("quick.txt")); // the previous file goes before the next unpack
    host::close(sheet);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.sheet(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(progressWindow(), nullptr);
    UnpackDouble::release = true;
    viewer.closeFrame();
    EXPECT_FALSE(folder.exists("slow.txt"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Unpacking, ACopyToSaveOrToDragShowsItsProgressAndIsCancelledOrEndedByAClose)
{
    const ScratchCache scratchCache;
    // Listed larger than a drag copies at once; the double writes it slowly.
    folder.addArchive("huge.zqr", {{"slow.txt", std::string(5 << 20, 's')}});
    const std::string saved = folder.filePath("saved.txt");
    const host::SaveDialogHandler previousDialog = host::setSaveDialogHandler(
        [&](const host::SaveDialogRequest&) -> std::optional<host::SaveChoice> {
            return host::SaveChoice{saved, false};
        });
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 3);
    ASSERT_EQ(sheet.title(), "在浏览<huge.zqr>");
    const auto cancelShownWork = [] {
        ASSERT_TRUE(QTest::qWaitFor([] { return progressWindow() != nullptr; }, 20000));
        QTest::mouseClick(progressWindow()->findChild<QPushButton*>(), Qt::LeftButton);
        RunningViewer::waitWhileBusy();
    };

    // Save-as writes off the GUI thread under the hourglass, with the progress window once it
    // lasts; a second copy asked for meanwhile is refused with a word, and the cancel leaves
    // nothing.
    RunningViewer::saveMemberAs(sheet, 0, RunningViewer::Unpack::Running);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([] { return progressWindow() != nullptr; }, 20000));
    EXPECT_EQ(progressWindow()->windowTitle().toStdString(), "另存为");
    EXPECT_NE(labelsOf(*progressWindow()).find("slow.txt"), std::string::npos);
    EXPECT_TRUE(RunningViewer::dragUrls(sheet, 0).isEmpty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "另一个文件正在取出,请等它完成或取消后再试。");
    boxes.shown.clear();
    cancelShownWork();
    EXPECT_EQ(viewer.statusLine(), "已取消另存为 " + saved);
    EXPECT_FALSE(folder.exists("saved.txt"));
    EXPECT_EQ(progressWindow(), nullptr);

    // A drag copy is prepared the same way; cancelled, it leaves nothing in the cache. Let
    // through, the next drag carries it.
    EXPECT_TRUE(RunningViewer::dragUrls(sheet, 0).isEmpty());
    EXPECT_EQ(viewer.statusLine(), "正在准备拖出的文件: slow.txt");
    cancelShownWork();
    EXPECT_EQ(viewer.statusLine(), "已取消准备拖出的文件: slow.txt");
    EXPECT_TRUE(scratchCache.entries().isEmpty());
    EXPECT_TRUE(RunningViewer::dragUrls(sheet, 0).isEmpty());
    UnpackDouble::release = true;
    RunningViewer::waitWhileBusy();
    const QList<QUrl> copy = RunningViewer::dragUrls(sheet, 0);
    ASSERT_EQ(copy.size(), 1);
    EXPECT_TRUE(copy[0].toLocalFile().startsWith(scratchCache.folder() + "/"));
    EXPECT_TRUE(boxes.shown.empty());

    // A copy a drop target took away (moved) is prepared anew. The sheet closing while that copy
    // finishes regardless of the cancel: it goes with the sheet, and so does the folder of the
    // copy taken away.
    UnpackDouble::release = false;
    UnpackDouble::stubborn = true;
    ASSERT_TRUE(QFile::remove(copy[0].toLocalFile()));
    EXPECT_TRUE(RunningViewer::dragUrls(sheet, 0).isEmpty());
    host::close(sheet);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(progressWindow(), nullptr);
    UnpackDouble::release = true;
    viewer.closeFrame();
    EXPECT_EQ(scratchCache.entries(), QStringList());
    host::setSaveDialogHandler(previousDialog);
}

TEST_F(Unpacking, EachFailureSaysWhyAnIdenticalFileOpensAndAReadOnlyFolderUsesThePrivateCache)
{
    const ScratchCache scratchCache;
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 2);

    // Every code of the library has a cause of its own, with the code in the text.
    std::set<std::string> causes;
    for (std::int32_t code = KARVEX_E_ARGUMENT; code >= KARVEX_E_BAD_RECORD; --code) {
        if (code == KARVEX_E_CANCELLED) {
            continue;
        }
        UnpackDouble::codes["quick.txt"] = code;
        RunningViewer::doubleClickItem(sheet, rowOf(sheet, "quick.txt"));
        ASSERT_EQ(boxes.shown.size(), 1u) << code;
        EXPECT_EQ(boxes.shown[0].title, "信息提示!错误代码为" + std::to_string(code));
        const std::string& text = boxes.shown[0].text;
        EXPECT_EQ(text.rfind(kCannotExtract + "\r\n原因: ", 0), 0u) << text;
        EXPECT_NE(text.find("错误代码: " + std::to_string(code)), std::string::npos) << text;
        causes.insert(text.substr(0, text.find("\r\n错误代码")));
        boxes.shown.clear();
    }
    EXPECT_EQ(causes.size(), 22u); // no two codes share a text
    EXPECT_TRUE(sheet.openFileName().empty());

    // A file already there with exactly the member's content is opened as it is, and stays.
    folder.writeFile("quick.txt", "left from an earlier run");
    UnpackDouble::codes["quick.txt"] = KARVEX_IDENTICAL_EXISTS;
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "quick.txt"));
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("quick.txt"));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(sheet.openFileName().empty());
    UnpackDouble::codes.clear();

    // A folder that cannot be written: the member goes to the viewer's private cache folder,
    // which only the user may enter, and is opened there; it goes at the next open as usual.
    UnpackDouble::readOnlyFolder = folder.path().toStdString();
    const std::string cache = scratchCache.folder().toStdString();
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "slow.txt"), RunningViewer::Unpack::Running);
    UnpackDouble::release = true;
    RunningViewer::waitForUnpack(sheet);
    EXPECT_EQ(TestDesktop::waitForOpen(), cache + "/slow.txt");
    EXPECT_EQ(sheet.openFileName(), cache + "/slow.txt");
    EXPECT_EQ(QFileInfo(QString::fromStdString(cache)).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser |
                  QFile::WriteUser | QFile::ExeUser);
    RunningViewer::doubleClickItem(sheet, rowOf(sheet, "quick.txt"));
    EXPECT_EQ(TestDesktop::waitForOpen(), cache + "/quick.txt");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cache + "/slow.txt")));
    viewer.closeFrame();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cache + "/quick.txt")));
    EXPECT_EQ(folder.read("quick.txt"), "left from an earlier run");
}

TEST_F(Opening, AnIdenticalLeftoverOpensFoldersMadeForAFileGoAndATerminationSignalClosesCleanly)
{
    folder.addArchive("books.zqr",
                      {{"第一卷/插图/河流.txt", "river"}, {"第二卷/序.txt", "preface"}});
    ASSERT_TRUE(QDir(folder.path()).mkdir("第一卷"));
    folder.writeFile("第一卷/目录.txt", "the user's own");
    // Left by a run that was killed: exactly the member's content.
    folder.writeFile("a.txt", "from a");
    host::closeWindowsOnTerminationSignals();
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    // It opens as it is, and stays the user's.
    open(sheet, 0, "a.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("a.txt"));
    EXPECT_TRUE(sheet.openFileName().empty());

    open(sheet, 2, "第一卷/插图/河流.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("第一卷/插图/河流.txt"));
    // The next open removes it and the folder made for it, not the one that was there before.
    open(sheet, 2, "第二卷/序.txt");
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("第二卷/序.txt"));
    EXPECT_FALSE(folder.exists("第一卷/插图"));
    EXPECT_EQ(folder.read("第一卷/目录.txt"), "the user's own");

    // Asked to end, the viewer closes its frame as the user would: the sheet cleans up.
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.frame() == nullptr; }, 20000));
    testing_support::letClosedWindowsGo();
    EXPECT_FALSE(folder.exists("第二卷"));
    EXPECT_TRUE(folder.exists("第一卷/目录.txt"));
    EXPECT_EQ(folder.read("a.txt"), "from a");
    EXPECT_TRUE(boxes.shown.empty());
}
