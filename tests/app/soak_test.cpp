// Long use: a thousand rounds of what a reader does all day (click an archive, double-click a
// member, switch the view, close the sheet and open it again) over sound and damaged archives.
// Every round checks what the user would see on disk; at the end the host's objects are back
// where they started and the heap has stopped growing. Run under the sanitizers, a leak fails
// the run when the process exits.
#include "app/w_main.h"
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/list_view.h"
#include "host/toolkit/radio_button.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/handles.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <malloc.h>
#include <string>
#include <vector>
#include <zip.h>

#if defined(__SANITIZE_ADDRESS__)
#define VARNELOOK_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARNELOOK_SOAK_ASAN 1
#endif
#endif
#ifdef VARNELOOK_SOAK_ASAN
// The sanitizer runtime's count of live heap bytes (GCC ships no header declaring it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using testing_support::AnsweredMessageBoxes;
using testing_support::letClosedWindowsGo;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;
using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

constexpr int kRounds = 1000;
constexpr int kFirstMeasuredRound = 100;
// What the heap may grow by between the two measured rounds: far less than one round's
// listing, unpacking and sheet (each several KiB), so anything kept per round shows.
constexpr long long kAllowedHeapGrowth = 256 * 1024;

// Bytes the program holds on the heap now.
long long heapInUse()
{
#ifdef VARNELOOK_SOAK_ASAN
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long long>(mallinfo2().uordblks);
#endif
}

// Resident set size in KiB, printed beside the heap figure.
long long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            long long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return -1;
}

std::array<std::size_t, win32::kHandleKindCount> liveHandleCounts()
{
    std::array<std::size_t, win32::kHandleKindCount> counts{};
    for (std::size_t kind = 1; kind < win32::kHandleKindCount; ++kind) {
        counts.at(kind) = win32::liveHandles(static_cast<win32::HandleKind>(kind));
    }
    return counts;
}

// What double-clicking a member should lead to.
enum class Outcome { OpensInItsApplication, NoApplication, CannotExtract };

struct Member {
    std::string name;
    Outcome outcome;
};

struct Archive {
    std::string name;
    std::vector<Member> members; // empty: the archive is too damaged to list
};

// Stores `name` uncompressed, then flips one byte of its data, so the archive still lists but
// the member's checksum no longer matches.
void addArchiveWithBadChecksum(ScratchFolder& folder, const std::string& archive,
                               const std::string& name, const std::string& content)
{
    int error = 0;
    zip_t* zip = zip_open(folder.filePath(archive).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
    ASSERT_NE(source, nullptr);
    const zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    ASSERT_GE(index, 0);
    ASSERT_EQ(zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0), 0);
    ASSERT_EQ(zip_close(zip), 0);

    std::string bytes = folder.read(archive);
    const std::size_t at = bytes.find(content);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
    folder.writeFile(archive, bytes);
}

// Regular files under the folder that are not archives: what the viewer has unpacked.
std::vector<std::string> unpackedFiles(const ScratchFolder& folder)
{
    std::vector<std::string> files;
    QDirIterator walk(folder.path(), QDir::Files | QDir::Hidden | QDir::System,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        if (!path.endsWith(".zqr")) {
            files.push_back(path.toStdString());
        }
    }
    return files;
}

int rowOf(const std::vector<std::string>& labels, const std::string& label)
{
    for (std::size_t row = 0; row < labels.size(); ++row) {
        if (labels[row] == label) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

std::vector<std::string> sortedMembers(const w_brow& sheet)
{
    std::vector<std::string> labels = RunningViewer::shownMembers(sheet);
    std::sort(labels.begin(), labels.end());
    return labels;
}

struct Soak : testing::Test {
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    std::vector<Archive> archives;

    Soak()
    {
        const std::string poem(4000, 'x');
        folder.addArchive("诗集.zqr", {{"序言.txt", "春眠不觉晓\n"}, {"卷一/静夜思.txt", poem}});
        folder.addArchive("mixed.zqr",
                          {{"readme.txt", "read me\n"}, {"data.varnelook-unknown", "\x01\x02"}});
        addArchiveWithBadChecksum(folder, "bad-checksum.zqr", "broken.txt", "a damaged member\n");
        folder.writeFile("not-an-archive.zqr", "this is plain text, not a ZIP archive\n");
        const std::string whole = folder.read("mixed.zqr");
        folder.writeFile("cut-short.zqr", whole.substr(0, whole.size() / 2));

        archives = {
            {"诗集.zqr",
             {{"序言.txt", Outcome::OpensInItsApplication},
              {"卷一/静夜思.txt", Outcome::OpensInItsApplication}}},
            {"mixed.zqr",
             {{"readme.txt", Outcome::OpensInItsApplication},
              {"data.varnelook-unknown", Outcome::NoApplication}}},
            {"bad-checksum.zqr", {{"broken.txt", Outcome::CannotExtract}}},
            {"not-an-archive.zqr", {}},
            {"cut-short.zqr", {}},
        };
    }

    // One round; false once something went wrong, so the loop stops at the first fault.
    bool round(RunningViewer& viewer, int number)
    {
        w_main* frame = viewer.frame();
        w_brow* sheet = viewer.sheet();
        EXPECT_NE(sheet, nullptr) << "round " << number;
        if (sheet == nullptr) {
            return false;
        }
        const Archive& archive = archives[static_cast<std::size_t>(number) % archives.size()];
        const int archiveRow = rowOf(RunningViewer::shownArchives(*sheet), archive.name);
        EXPECT_GE(archiveRow, 0) << archive.name;
        RunningViewer::clickItem(*sheet, true, archiveRow);

        std::vector<std::string> expectedLabels;
        for (const Member& member : archive.members) {
            expectedLabels.push_back(member.name);
        }
        std::sort(expectedLabels.begin(), expectedLabels.end());
        EXPECT_EQ(sortedMembers(*sheet), expectedLabels) << archive.name;
        if (archive.members.empty()) {
            // A damaged archive says so; it does not pass for an empty one.
            EXPECT_EQ(viewer.statusLine(), "无法读取文件清单,错误代码为-3") << archive.name;
            EXPECT_EQ(boxes.shown.size(), 1u) << archive.name;
            EXPECT_TRUE(!boxes.shown.empty() && boxes.shown[0].title == "信息提示!错误代码为-3");
            boxes.shown.clear();
        } else {
            EXPECT_EQ(viewer.statusLine(),
                      "总共:" + std::to_string(archive.members.size()) + "个文件");
        }

        std::size_t expectedUnpacked = 0;
        if (archive.members.empty()) {
            RunningViewer::doubleClickItem(*sheet, -1); // beside the items: nothing happens
        } else {
            const auto choice = static_cast<std::size_t>(number) / archives.size();
            const Member& member = archive.members[choice % archive.members.size()];
            RunningViewer::doubleClickItem(*sheet,
                                           rowOf(RunningViewer::shownMembers(*sheet), member.name));
            expectedUnpacked = checkOpened(member);
        }
        EXPECT_EQ(unpackedFiles(folder).size(), expectedUnpacked) << "round " << number;

        // Switch the view by mouse; the members stay as they were.
        const std::array<host::RadioButton*, 3> views = {sheet->rb_1.get(), sheet->rb_2.get(),
                                                         sheet->rb_3.get()};
        QTest::mouseClick(views.at(static_cast<std::size_t>(number) % views.size())->button(),
                          Qt::LeftButton);
        EXPECT_EQ(sortedMembers(*sheet), expectedLabels);

        // Close the sheet (its unpacked file goes with it) and open a fresh one.
        QTest::keyClick(&host::widgetOf(*frame), Qt::Key_C);
        letClosedWindowsGo();
        EXPECT_TRUE(frame->sheets().empty());
        EXPECT_TRUE(unpackedFiles(folder).empty()) << "round " << number;
        QTest::keyClick(&host::widgetOf(*frame), Qt::Key_O);
        letClosedWindowsGo();
        EXPECT_NE(viewer.sheet(), nullptr);
        return !HasFailure();
    }

    // Checks what a double-click on `member` did; the number of files it left unpacked.
    std::size_t checkOpened(const Member& member)
    {
        switch (member.outcome) {
        case Outcome::OpensInItsApplication:
            EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath(member.name));
            EXPECT_TRUE(boxes.shown.empty());
            return 1;
        case Outcome::NoApplication:
            EXPECT_EQ(boxes.shown.size(), 1u);
            EXPECT_TRUE(!boxes.shown.empty() && boxes.shown[0].title == "信息提示!错误代码为31");
            boxes.shown.clear();
            return 1;
        case Outcome::CannotExtract:
            EXPECT_EQ(boxes.shown.size(), 1u);
            EXPECT_TRUE(!boxes.shown.empty() &&
                        boxes.shown[0].text.rfind("无法从文件库中取出该文件。", 0) == 0);
            boxes.shown.clear();
            return 0;
        }
        return 0;
    }
};

TEST_F(Soak, AThousandRoundsLeaveNothingBehindAndStopGrowing)
{
    // The archive library, once bound, stays loaded for the rest of the run as an import would:
    // bound first, it counts among the starting figures.
    (void)browse::bindGetFileIndexList2();
    const auto handlesBeforeStart = liveHandleCounts();
    std::vector<long long> heapByHundredRounds;
    long long heapAtFirstMeasure = 0;
    long long residentAtFirstMeasure = 0;
    {
        RunningViewer viewer;
        w_main* frame = viewer.frame();
        ASSERT_NE(frame, nullptr);
        QApplication::setActiveWindow(&host::widgetOf(*frame));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(*frame)));
        const auto handlesAtStart = liveHandleCounts();

        int completed = 0;
        while (completed < kRounds && round(viewer, completed)) {
            ++completed;
            if (completed % 100 == 0) {
                letClosedWindowsGo();
                heapByHundredRounds.push_back(heapInUse());
            }
            if (completed == kFirstMeasuredRound) {
                heapAtFirstMeasure = heapByHundredRounds.back();
                residentAtFirstMeasure = residentKiB();
            }
        }
        ASSERT_EQ(completed, kRounds) << "stopped in round " << completed;
        const long long heapAtLast = heapByHundredRounds.back();
        const long long residentAtLast = residentKiB();
        std::printf("soak: %d rounds; heap in use at round %d: %lld bytes, at round %d: %lld bytes "
                    "(%+lld); resident: %lld KiB -> %lld KiB\nsoak: heap every 100 rounds:",
                    kRounds, kFirstMeasuredRound, heapAtFirstMeasure, kRounds, heapAtLast,
                    heapAtLast - heapAtFirstMeasure, residentAtFirstMeasure, residentAtLast);
        for (const long long bytes : heapByHundredRounds) {
            std::printf(" %lld", bytes);
        }
        std::printf("\n");
        EXPECT_LT(heapAtLast - heapAtFirstMeasure, kAllowedHeapGrowth);
        EXPECT_EQ(liveHandleCounts(), handlesAtStart);

        // The last close: one unpacked file before it, none after.
        w_brow* sheet = viewer.sheet();
        ASSERT_NE(sheet, nullptr);
        RunningViewer::clickItem(*sheet, true,
                                 rowOf(RunningViewer::shownArchives(*sheet), "诗集.zqr"));
        RunningViewer::doubleClickItem(*sheet,
                                       rowOf(RunningViewer::shownMembers(*sheet), "序言.txt"));
        EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("序言.txt"));
        EXPECT_EQ(unpackedFiles(folder).size(), 1u);
        viewer.closeFrame();
        EXPECT_TRUE(unpackedFiles(folder).empty());
    }
    letClosedWindowsGo();
    EXPECT_EQ(liveHandleCounts(), handlesBeforeStart);
}

} // namespace
