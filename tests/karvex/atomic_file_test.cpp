// The file writer behind extraction, in both of its ways to stay nameless until complete: the
// name appears only on publish, replaces an existing file only when asked, and nothing is left
// otherwise.
#include "atomic_file.h"
#include "test_support.h"
#include "unique_fd.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

INSTANTIATE_TEST_SUITE_P(Ways, AtomicFileTest,
                         ::testing::Values(karvex::Temporary::Unnamed, karvex::Temporary::Named),
                         [](const ::testing::TestParamInfo<karvex::Temporary>& info) {
                             return info.param == karvex::Temporary::Unnamed ? "Unnamed" : "Named";
                         });

} // namespace
} // namespace karvex_test
