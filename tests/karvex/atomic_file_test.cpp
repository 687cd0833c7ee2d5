// The file writer behind extraction, in both of its ways to stay nameless until complete: the
// name appears only on publish, replaces an existing file only when asked, and nothing is left
// otherwise.
#include "atomic_file.h"
#include "test_support.h"
#include "unique_fd.h"

#include <ctime>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace karvex_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AtomicFileTest : public ::testing::TestWithParam<karvex::Temporary> {
protected:
    std::unique_ptr<karvex::AtomicFile> start(const std::string& content)
    {
        std::unique_ptr<karvex::AtomicFile> file;
        EXPECT_EQ(karvex::AtomicFile::create(folder.get(), file, GetParam()), karvex::Error::None);
        EXPECT_EQ(file->write(content.data(), content.size()), karvex::Error::None);
        return file;
    }

    TempDir dir;
    karvex::UniqueFd folder{::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY)};
};

TEST_P(AtomicFileTest, NameAppearsOnlyWhenPublished)
{
    auto file = start("complete");
    EXPECT_FALSE(std::filesystem::exists(dir / "done.txt"));
    ASSERT_EQ(file->publish("done.txt"), karvex::Error::None);
    file.reset();
    EXPECT_THAT(folderContents(dir.path().string()), ElementsAre("done.txt"));
    EXPECT_EQ(readFile(dir / "done.txt"), "complete");
}

TEST_P(AtomicFileTest, AbandonedFileLeavesNothing)
{
    auto file = start("half of it");
    file.reset();
    EXPECT_THAT(folderContents(dir.path().string()), IsEmpty());
}

TEST_P(AtomicFileTest, PublishingOverAnExistingFileFailsAndKeepsIt)
{
    writeFile(dir / "mine.txt", "the user's");
    auto file = start("from the archive");
    EXPECT_EQ(file->publish("mine.txt"), karvex::Error::Exists);
    file.reset();
    EXPECT_THAT(folderContents(dir.path().string()), ElementsAre("mine.txt"));
    EXPECT_EQ(readFile(dir / "mine.txt"), "the user's");

    // Replacing, when asked for, swaps the whole file in one step and leaves no temporary name.
    auto replacement = start("the new copy");
    EXPECT_EQ(replacement->publishReplacing("mine.txt"), karvex::Error::None);
    replacement.reset();
    EXPECT_THAT(folderContents(dir.path().string()), ElementsAre("mine.txt"));
    EXPECT_EQ(readFile(dir / "mine.txt"), "the new copy");
}

TEST(AtomicFile, NamedTemporaryFilesOfDeadProcessesAreRemovedByTheNextOne)
{
    // A process that is gone for sure: a child that has exited and been waited for.
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    TempDir dir;
    const auto debris = [&](pid_t pid, const std::string& tail, bool old) {
        const std::string name = ".karvex-" + std::to_string(pid) + tail;
        writeFile(dir / name, "half a file");
        if (old) {
            const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
            ::utimensat(AT_FDCWD, (dir / name).c_str(), times, 0);
        }
        return name;
    };
    const std::string stale = debris(child, "-0123456789abcdef.part", true);
    const std::string running = debris(1, "-0123456789abcdef.part", true); // init never dies
    // Just left by a kill -9: nobody holds it, so a retry need not wait for it to age.
    const std::string justKilled = debris(child, "-00112233445566ff.part", false);
    // Written by a process in another PID namespace, whose number means nothing here: it holds
    // its lock.
    const std::string held = debris(child, "-fedcba9876543210.part", false);
    const karvex::UniqueFd holder(::open((dir / held).c_str(), O_WRONLY));
    ASSERT_EQ(::flock(holder.get(), LOCK_EX), 0);
    const std::string notOurs = debris(child, "-0123456789abcdef.partial", true);

    karvex::UniqueFd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY));
    std::unique_ptr<karvex::AtomicFile> file;
    ASSERT_EQ(karvex::AtomicFile::create(folder.get(), file, karvex::Temporary::Named),
              karvex::Error::None);
    ASSERT_EQ(file->publish("new.txt"), karvex::Error::None);
    file.reset();
    EXPECT_THAT(folderContents(dir.path().string()),
                ::testing::UnorderedElementsAre(running, held, notOurs, "new.txt"));
}

TEST(AtomicFile, SignalTimeRemovalTakesThePartsBeingWrittenAndNothingElse)
{
    // What a handler of SIGINT runs before the process ends: two unpacks half-way, one whose
    // file already has its name, and the user's own file.
    TempDir dir;
    writeFile(dir / "mine.txt", "the user's");
    karvex::UniqueFd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY));
    std::unique_ptr<karvex::AtomicFile> first;
    std::unique_ptr<karvex::AtomicFile> second;
    std::unique_ptr<karvex::AtomicFile> done;
    for (auto* file : {&first, &second, &done}) {
        ASSERT_EQ(karvex::AtomicFile::create(folder.get(), *file, karvex::Temporary::Named),
                  karvex::Error::None);
        ASSERT_EQ((*file)->write("data", 4), karvex::Error::None);
    }
    ASSERT_EQ(done->publish("done.txt"), karvex::Error::None);
    EXPECT_EQ(folderContents(dir.path().string()).size(), 5U); // three parts and two names

    karvex::removeTemporaryFilesNow();
    EXPECT_THAT(folderContents(dir.path().string()),
                ::testing::UnorderedElementsAre("done.txt", "mine.txt"));
    // A part that was taken away is never published under its name afterwards.
    EXPECT_NE(first->publish("first.txt"), karvex::Error::None);
    first.reset();
    second.reset();
    done.reset();
    EXPECT_THAT(folderContents(dir.path().string()),
                ::testing::UnorderedElementsAre("done.txt", "mine.txt"));
    EXPECT_EQ(readFile(dir / "done.txt"), "data");

    // Files finished or abandoned give up their place on the list: after a hundred more, the
    // part of a new one is still found and removed.
    for (int i = 0; i < 100; ++i) {
        std::unique_ptr<karvex::AtomicFile> file;
        ASSERT_EQ(karvex::AtomicFile::create(folder.get(), file, karvex::Temporary::Named),
                  karvex::Error::None);
    }
    karvex::removeTemporaryFilesNow();
    std::unique_ptr<karvex::AtomicFile> last;
    ASSERT_EQ(karvex::AtomicFile::create(folder.get(), last, karvex::Temporary::Named),
              karvex::Error::None);
    ASSERT_EQ(last->write("x", 1), karvex::Error::None);
    karvex::removeTemporaryFilesNow();
    EXPECT_THAT(folderContents(dir.path().string()),
                ::testing::UnorderedElementsAre("done.txt", "mine.txt"));
}

INSTANTIATE_TEST_SUITE_P(Ways, AtomicFileTest,
                         ::testing::Values(karvex::Temporary::Unnamed, karvex::Temporary::Named),
                         [](const ::testing::TestParamInfo<karvex::Temporary>& info) {
                             return info.param == karvex::Temporary::Unnamed ? "Unnamed" : "Named";
                         });

} // namespace
} // namespace karvex_test
