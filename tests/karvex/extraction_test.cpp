// Extraction as the viewer uses it: the member lands at the save path complete or not at all,
// only inside the save folder, never through a symbolic link and never over an existing file.
#include "karvex/karvex.h"
#include "test_support.h"

#include <climits>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace karvex_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

ZipEntry file(const std::string& name, const std::string& data, std::uint16_t method = 8)
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    entry.method = method;
    return entry;
}

class Extraction : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(out); }

    TempDir dir;
    const std::string out = dir / "out";
};

TEST_F(Extraction, NestedMemberIsWrittenWithItsFoldersAndTheArgumentsComeBackUnchanged)
{
    const std::string text(300000, 'x');
    const auto zipPath = makeArchive(dir, {file("资料/第一章/正文.txt", text)});
    std::string zip = zipPath;
    std::string member = "资料/第一章/正文.txt";
    std::string save = out + "/" + member;
    const std::string zipBefore = zip, memberBefore = member, saveBefore = save;

    EXPECT_EQ(GetFileFromZipFile2(zip.data(), member.data(), save.data()), KARVEX_OK);
    EXPECT_EQ(readFile(save), text);
    EXPECT_EQ(zip, zipBefore);
    EXPECT_EQ(member, memberBefore);
    EXPECT_EQ(save, saveBefore);
}

TEST_F(Extraction, StoredAndDeflatedMembersBothComeOutIntact)
{
    std::string bytes;
    for (int i = 0; i < 70000; ++i) {
        bytes += static_cast<char>((i * 7919) % 251);
    }
    const auto zip = makeArchive(dir, {file("stored.bin", bytes, 0), file("deflated.bin", bytes)});
    EXPECT_EQ(extract(zip, "stored.bin", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "deflated.bin", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/stored.bin"), bytes);
    EXPECT_EQ(readFile(out + "/deflated.bin"), bytes);
}

TEST_F(Extraction, SavePathOtherThanFolderPlusMemberNameIsRefused)
{
    const auto zipPath = makeArchive(dir, {file("a.txt", "A")});
    std::string zip = zipPath;
    std::string member = "a.txt";
    for (std::string save :
         {out + "/b.txt", out + "/xa.txt", out + "a.txt", std::string("a.txt"), out + "/a.txt/"}) {
        EXPECT_EQ(GetFileFromZipFile2(zip.data(), member.data(), save.data()), KARVEX_E_SAVE_PATH)
            << save;
    }
    EXPECT_EQ(GetFileFromZipFile2(zip.data(), member.data(), nullptr), KARVEX_E_ARGUMENT);
    EXPECT_THAT(folderContents(out), IsEmpty());
}

TEST_F(Extraction, ExistingFileIsNeverOverwritten)
{
    const auto zip = makeArchive(dir, {file("notes.txt", "from the archive")});
    writeFile(out + "/notes.txt", "the user's own notes");
    EXPECT_EQ(extract(zip, "notes.txt", out), KARVEX_E_EXISTS);
    EXPECT_EQ(readFile(out + "/notes.txt"), "the user's own notes");
    EXPECT_THAT(folderContents(out), ElementsAre("notes.txt"));
}

TEST_F(Extraction, SymlinkedSubFolderIsNotWrittenThrough)
{
    const std::string elsewhere = dir / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    std::filesystem::create_directory_symlink(elsewhere, out + "/docs");
    const auto zip = makeArchive(dir, {file("docs/a.txt", "A")});
    EXPECT_EQ(extract(zip, "docs/a.txt", out), KARVEX_E_SYMLINK);
    EXPECT_THAT(folderContents(elsewhere), IsEmpty());
}

TEST_F(Extraction, SymlinkAtTheSavePathIsNotWrittenThrough)
{
    const std::string target = dir / "target.txt";
    std::filesystem::create_symlink(target, out + "/a.txt"); // dangling: would create target
    const auto zip = makeArchive(dir, {file("a.txt", "A")});
    EXPECT_EQ(extract(zip, "a.txt", out), KARVEX_E_SYMLINK);
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(Extraction, MissingFolderOrFileInTheWayOfASubFolderIsRefused)
{
    const auto zip = makeArchive(dir, {file("docs/a.txt", "A"), file("b.txt", "B")});
    EXPECT_EQ(extract(zip, "b.txt", dir / "no/such/folder"), KARVEX_E_SAVE_FOLDER);
    writeFile(out + "/docs", "a file, not a folder");
    EXPECT_EQ(extract(zip, "docs/a.txt", out), KARVEX_E_SAVE_FOLDER);
    EXPECT_EQ(readFile(out + "/docs"), "a file, not a folder");
}

TEST_F(Extraction, UnknownMemberIsRefused)
{
    const auto zip = makeArchive(dir, {file("a.txt", "A")});
    EXPECT_EQ(extract(zip, "b.txt", out), KARVEX_E_NO_MEMBER);
    EXPECT_EQ(extract(zip, "./a.txt", out), KARVEX_E_NO_MEMBER); // not the listed form
    EXPECT_EQ(extract(dir / "missing.zqr", "a.txt", out), KARVEX_E_OPEN_ARCHIVE);
    EXPECT_THAT(folderContents(out), IsEmpty());
}

// Runs `work` in a child process and returns what it returned, negated into an exit status.
template <typename Work> std::int32_t inChild(Work work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(-work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? -WEXITSTATUS(status) : INT32_MIN;
}

TEST_F(Extraction, FailedExtractionRemovesTheFoldersItCreatedAtAnyDepth)
{
    // A hundred folders deep, with 50 descriptors: the unpack needs no descriptor per folder,
    // and a failure takes every folder it made with it.
    std::string deep;
    for (int i = 0; i < 100; ++i) {
        deep += "d" + std::to_string(i) + "/";
    }
    ZipEntry bad = file(deep + "bad.txt", "some text");
    bad.crc = 0x12345678;
    const auto zip = makeArchive(dir, {bad, file(deep + "good.txt", "good text")});
    const auto withFewDescriptors = [&](const std::string& member) {
        return inChild([&] {
            const rlimit limit{50, 50};
            ::setrlimit(RLIMIT_NOFILE, &limit);
            return extract(zip, member, out);
        });
    };
    EXPECT_EQ(withFewDescriptors(deep + "bad.txt"), KARVEX_E_BAD_CRC);
    EXPECT_THAT(folderContents(out), IsEmpty());
    EXPECT_EQ(withFewDescriptors(deep + "good.txt"), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/" + deep + "good.txt"), "good text");
}

// Two unpacks into a fresh folder, interleaved the way that once lost a file: the failing one
// creates "sub", the other finds it there and opens its still nameless file in it, and only
// then does the first one fail and clean up.
struct Interleaving {
    std::promise<void> subCreated;
    std::promise<void> goodFileOpen;
    std::promise<void> badFinished;
};

int badReachedItsData(void* context, std::uint64_t done, std::uint64_t)
{
    auto& steps = *static_cast<Interleaving*>(context);
    if (done == 0) {
        steps.subCreated.set_value();
        steps.goodFileOpen.get_future().wait();
    }
    return 0;
}

int goodReachedItsData(void* context, std::uint64_t done, std::uint64_t)
{
    auto& steps = *static_cast<Interleaving*>(context);
    if (done == 0) {
        steps.goodFileOpen.set_value();
        steps.badFinished.get_future().wait();
    }
    return 0;
}

TEST_F(Extraction, FailingUnpackNeverRemovesAFolderAnotherUnpackNeeds)
{
    ZipEntry bad = file("sub/bad.bin", "damaged");
    bad.crc = 0x1;
    const auto zip = makeArchive(dir, {bad, file("sub/good.bin", "intact")});
    Interleaving steps;
    std::int32_t badResult = 0;
    std::thread badUnpack([&] {
        const std::string save = out + "/sub/bad.bin";
        badResult = KarvexExtractMember(zip.c_str(), "sub/bad.bin", save.c_str(), 0,
                                        badReachedItsData, &steps);
        steps.badFinished.set_value();
    });
    steps.subCreated.get_future().wait();
    const std::string save = out + "/sub/good.bin";
    const std::int32_t goodResult = KarvexExtractMember(zip.c_str(), "sub/good.bin", save.c_str(),
                                                        0, goodReachedItsData, &steps);
    badUnpack.join();
    EXPECT_EQ(badResult, KARVEX_E_BAD_CRC);
    EXPECT_EQ(goodResult, KARVEX_OK);
    EXPECT_EQ(readFile(save), "intact");
    EXPECT_THAT(folderContents(out), ElementsAre("sub", "sub/good.bin"));
}

TEST_F(Extraction, FolderThatCannotBeWrittenIsAPermissionProblem)
{
    const auto zip = makeArchive(dir, {file("a.txt", "A"), file("docs/b.txt", "B")});
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                        std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                        std::filesystem::perms::others_exec);
    ::chmod(out.c_str(), 0555);
    // Root may write anywhere: the unpack runs as nobody then.
    const auto asUser = [&](const std::string& member) {
        return inChild([&]() -> std::int32_t {
            if (::geteuid() == 0 && ::setuid(65534) != 0) {
                return KARVEX_E_INTERNAL;
            }
            return extract(zip, member, out);
        });
    };
    EXPECT_EQ(asUser("a.txt"), KARVEX_E_PERMISSION);
    EXPECT_EQ(asUser("docs/b.txt"), KARVEX_E_PERMISSION);
    ::chmod(out.c_str(), 0755);
    EXPECT_THAT(folderContents(out), IsEmpty());
}

TEST_F(Extraction, BombsAndMembersThatWouldEatTheFreeSpaceReserveAreRefusedBeforeWriting)
{
    // Declared far beyond any disk, and at a ratio no honest packer reaches.
    ZipEntry huge = file("huge.bin", std::string(1000, 'h'));
    huge.zip64 = true;
    huge.size = 1ULL << 60;
    // 2 GiB from one packed KiB: a bomb, whatever the free space.
    ZipEntry bomb = file("bomb.bin", std::string(1000, 'b'));
    bomb.zip64 = true;
    bomb.size = 2ULL << 30;
    // Fits in the free space, but would leave less than the reserve (at a believable ratio).
    struct statvfs fs {};
    ASSERT_EQ(::statvfs(out.c_str(), &fs), 0);
    const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
    const std::uint64_t total = static_cast<std::uint64_t>(fs.f_blocks) * fs.f_frsize;
    const std::uint64_t reserve = std::min<std::uint64_t>(total / 100 * KARVEX_FREE_RESERVE_PERCENT,
                                                          KARVEX_FREE_RESERVE_BYTES);
    ASSERT_GT(free, reserve);
    ZipEntry greedy = file("greedy.bin", std::string(1000, 'g'));
    greedy.zip64 = true;
    greedy.size = free - reserve / 2;
    greedy.packedSize = *greedy.size / 100;
    const auto zip = makeArchive(dir, {huge, bomb, greedy});

    EXPECT_THAT(listArchive(zip).names, ElementsAre("huge.bin", "bomb.bin", "greedy.bin"));
    EXPECT_EQ(extract(zip, "huge.bin", out), KARVEX_E_TOO_BIG);
    EXPECT_EQ(extract(zip, "bomb.bin", out), KARVEX_E_TOO_BIG);
    EXPECT_EQ(extract(zip, "greedy.bin", out), KARVEX_E_NO_SPACE);
    EXPECT_THAT(folderContents(out), IsEmpty());
}

// Runs an extraction in a child process limited to 64 KiB per file, and returns its wait status.
int extractUnderFileSizeLimit(const std::string& zip, const std::string& member,
                              const std::string& folder, bool ignoreSignal)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (ignoreSignal) {
            ::signal(SIGXFSZ, SIG_IGN);
        }
        ::_exit(-extract(zip, member, folder));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST_F(Extraction, WriteCutShortByAFileSizeLimitLeavesNoFile)
{
    std::string bytes;
    for (int i = 0; i < 1 << 20; ++i) {
        bytes += static_cast<char>((i * 31) ^ (i >> 8));
    }
    const auto zip = makeArchive(dir, {file("big/member.bin", bytes, 0)});

    // Killed by SIGXFSZ in the middle of the write: the unnamed file dies with the process.
    const int killed = extractUnderFileSizeLimit(zip, "big/member.bin", out, false);
    ASSERT_TRUE(WIFSIGNALED(killed));
    EXPECT_EQ(WTERMSIG(killed), SIGXFSZ);
    EXPECT_FALSE(std::filesystem::exists(out + "/big/member.bin"));

    // With the signal ignored the write fails, the call says so, and nothing is left behind.
    const int failed = extractUnderFileSizeLimit(zip, "big/member.bin", out, true);
    ASSERT_TRUE(WIFEXITED(failed));
    EXPECT_EQ(-WEXITSTATUS(failed), KARVEX_E_WRITE);
    EXPECT_FALSE(std::filesystem::exists(out + "/big/member.bin"));

    // Without the limit the same member comes out whole.
    ASSERT_EQ(extract(zip, "big/member.bin", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/big/member.bin"), bytes);
}

struct ProgressLog {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
    bool cancelOnceStarted = false;
};

int logProgress(void* context, std::uint64_t done, std::uint64_t total)
{
    auto& log = *static_cast<ProgressLog*>(context);
    log.calls.emplace_back(done, total);
    return log.cancelOnceStarted && done > 0 ? 1 : 0;
}

std::int32_t extractWith(const std::string& zip, const std::string& member,
                         const std::string& savePath, std::uint32_t flags,
                         ProgressLog* log = nullptr)
{
    return KarvexExtractMember(zip.c_str(), member.c_str(), savePath.c_str(), flags,
                               log != nullptr ? logProgress : nullptr, log);
}

TEST_F(Extraction, ExtractMemberReportsProgressCancelsCleanlyAndHonoursItsFlags)
{
    std::string bytes;
    for (int i = 0; i < (7 << 19); ++i) { // 3.5 MiB
        bytes += static_cast<char>((static_cast<unsigned>(i) * 7919U) % 251U);
    }
    const auto zip = makeArchive(dir, {file("deep/big.bin", bytes)});
    const std::string savePath = out + "/deep/big.bin";

    // Cancelled part-way: no file and no folder left behind.
    ProgressLog cancelled;
    cancelled.cancelOnceStarted = true;
    EXPECT_EQ(extractWith(zip, "deep/big.bin", savePath, KARVEX_EXTRACT_DEFAULT, &cancelled),
              KARVEX_E_CANCELLED);
    EXPECT_THAT(folderContents(out), IsEmpty());

    // Progress from 0 to the member's size, rising, about once per MiB.
    ProgressLog log;
    ASSERT_EQ(extractWith(zip, "deep/big.bin", savePath, KARVEX_EXTRACT_DEFAULT, &log), KARVEX_OK);
    EXPECT_EQ(readFile(savePath), bytes);
    ASSERT_GE(log.calls.size(), 4U);
    EXPECT_EQ(log.calls.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{bytes.size()}));
    EXPECT_EQ(log.calls.back(),
              std::make_pair(std::uint64_t{bytes.size()}, std::uint64_t{bytes.size()}));
    for (std::size_t i = 1; i < log.calls.size(); ++i) {
        EXPECT_GE(log.calls[i].first, log.calls[i - 1].first);
    }

    // The same file again: identical is accepted only when asked for, a changed one never.
    EXPECT_EQ(extractWith(zip, "deep/big.bin", savePath, KARVEX_EXTRACT_DEFAULT), KARVEX_E_EXISTS);
    EXPECT_EQ(extractWith(zip, "deep/big.bin", savePath, KARVEX_EXTRACT_ACCEPT_IDENTICAL),
              KARVEX_IDENTICAL_EXISTS);
    std::string changed = bytes;
    changed[12345] ^= 1;
    writeFile(savePath, changed);
    EXPECT_EQ(extractWith(zip, "deep/big.bin", savePath, KARVEX_EXTRACT_ACCEPT_IDENTICAL),
              KARVEX_E_EXISTS);
    EXPECT_EQ(readFile(savePath), changed);

    // Saved as a name of the user's choice; replaced only when asked, and never through a link.
    const std::string copy = dir / "copy of big.bin";
    EXPECT_EQ(extractWith(zip, "deep/big.bin", copy, KARVEX_EXTRACT_SAVE_AS), KARVEX_OK);
    EXPECT_EQ(readFile(copy), bytes);
    writeFile(copy, "older copy");
    EXPECT_EQ(extractWith(zip, "deep/big.bin", copy, KARVEX_EXTRACT_SAVE_AS), KARVEX_E_EXISTS);
    EXPECT_EQ(readFile(copy), "older copy");
    EXPECT_EQ(
        extractWith(zip, "deep/big.bin", copy, KARVEX_EXTRACT_SAVE_AS | KARVEX_EXTRACT_REPLACE),
        KARVEX_OK);
    EXPECT_EQ(readFile(copy), bytes);
    const std::string link = dir / "link.bin";
    std::filesystem::create_symlink(dir / "target.bin", link);
    EXPECT_EQ(
        extractWith(zip, "deep/big.bin", link, KARVEX_EXTRACT_SAVE_AS | KARVEX_EXTRACT_REPLACE),
        KARVEX_E_SYMLINK);
    EXPECT_FALSE(std::filesystem::exists(dir / "target.bin"));
    EXPECT_EQ(extractWith(zip, "deep/big.bin", dir / "no/such/copy.bin", KARVEX_EXTRACT_SAVE_AS),
              KARVEX_E_SAVE_FOLDER);
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
    EXPECT_EQ(extractWith(zip, "deep/big.bin", savePath, KARVEX_EXTRACT_REPLACE),
              KARVEX_E_ARGUMENT);
    EXPECT_EQ(readFile(savePath), changed);
}

} // namespace
} // namespace karvex_test
