// Packing: names flagged UTF-8 by default, GBK without the flag on request, and the same name
// rules as the listing, so that whatever zqr packs the viewer can list and open.
#include "central_directory.h"
#include "packer.h"
#include "test_support.h"
#include "unique_fd.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace karvex_test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct StoredEntry {
    std::string name;
    karvex::RecordFields record;
};

// The central records exactly as stored, read by the library's own directory reader.
std::vector<StoredEntry> rawEntries(const std::string& path)
{
    karvex::UniqueFd fd(::open(path.c_str(), O_RDONLY));
    std::vector<StoredEntry> entries;
    const auto layout = karvex::locateCentralDirectory(fd.get(), std::filesystem::file_size(path));
    if (!layout) {
        return entries;
    }
    karvex::DirectoryCursor cursor(fd.get(), *layout);
    karvex::RecordView record;
    while (cursor.next(record) == karvex::DirectoryCursor::Step::Record) {
        entries.push_back({std::string(record.name), record.fields});
    }
    return entries;
}

class Packing : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFile(dir / "one.txt", "first document");
        writeFile(dir / "two.txt", "second document");
    }

    TempDir dir;
};

TEST_F(Packing, GbkNamesAreStoredAsGbkBytesWithoutTheUtf8Flag)
{
    const std::string zip = dir / "gbk.zqr";
    ASSERT_EQ(
        karvex::packArchive(zip, {{dir / "one.txt", "说明/简介.txt"}}, karvex::NameEncoding::Gbk),
        "");
    const auto entries = rawEntries(zip);
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].name, "\xCB\xB5\xC3\xF7/\xBC\xF2\xBD\xE9.txt");
    EXPECT_EQ(entries[0].record.flags & karvex::kUtf8NameFlag, 0);
    EXPECT_THAT(listArchive(zip).names, ElementsAre("说明/简介.txt"));
}

TEST_F(Packing, Utf8NamesCarryTheFlagAndUnpackToTheSameBytes)
{
    const std::string zip = dir / "utf8.zqr";
    ASSERT_EQ(karvex::packArchive(zip,
                                  {{dir / "one.txt", "资料/一.txt"}, {dir / "two.txt", "二.txt"}},
                                  karvex::NameEncoding::Utf8),
              "");
    const auto entries = rawEntries(zip);
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_NE(entries[0].record.flags & karvex::kUtf8NameFlag, 0);
    EXPECT_EQ(entries[0].name, "资料/一.txt");

    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    ASSERT_EQ(extract(zip, "资料/一.txt", out), 0);
    EXPECT_EQ(readFile(out + "/资料/一.txt"), "first document");
}

TEST_F(Packing, NamesTheViewerCouldNotListAreRefusedAndNoArchiveIsMade)
{
    const std::string zip = dir / "bad.zqr";
    const std::string one = dir / "one.txt";
    EXPECT_THAT(karvex::packArchive(zip, {{one, "../up.txt"}}, karvex::NameEncoding::Utf8),
                HasSubstr(".."));
    EXPECT_THAT(karvex::packArchive(zip, {{one, "a@@b.txt"}}, karvex::NameEncoding::Utf8),
                HasSubstr("@@"));
    EXPECT_THAT(karvex::packArchive(zip, {{one, "x.txt"}, {dir / "two.txt", "x.txt"}},
                                    karvex::NameEncoding::Utf8),
                HasSubstr("twice"));
    // A character with no GBK form cannot be written as GBK.
    EXPECT_THAT(
        karvex::packArchive(zip, {{one, "\xF0\x9F\x93\x84.txt"}}, karvex::NameEncoding::Gbk),
        HasSubstr("GBK"));
    EXPECT_THAT(
        karvex::packArchive(zip, {{dir / "missing.txt", "m.txt"}}, karvex::NameEncoding::Utf8),
        HasSubstr("missing.txt"));
    EXPECT_FALSE(std::filesystem::exists(zip));
}

TEST_F(Packing, ExistingArchiveIsNotReplaced)
{
    const std::string zip = dir / "keep.zqr";
    writeFile(zip, "not to be touched");
    EXPECT_THAT(
        karvex::packArchive(zip, {{dir / "one.txt", "one.txt"}}, karvex::NameEncoding::Utf8),
        HasSubstr("exists"));
    EXPECT_EQ(readFile(zip), "not to be touched");
}

} // namespace
} // namespace karvex_test
