// Archives that other ZIP readers all read although their end record or names are not quite as
// the format has them: a 16-bit member count that overflowed, names carried in an Info-ZIP
// Unicode Path field, a comment cut short, a wrong directory offset. Each is read in one way
// only; what could be read two ways stays refused.
#include "archive.h"
#include "karvex/karvex.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace karvex_test {
namespace {

using ::testing::ElementsAre;

ZipEntry file(const std::string& name, const std::string& data = "")
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

// The end record of an archive without a comment is its last 22 bytes.
constexpr std::size_t kEndRecordSize = 22;

std::uint32_t readLe(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

void writeLe(std::string& bytes, std::size_t at, int size, std::uint32_t value)
{
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Sets both member counts of the end record at `end`.
void setCounts(std::string& bytes, std::size_t end, std::uint16_t count)
{
    writeLe(bytes, end + 8, 2, count);
    writeLe(bytes, end + 10, 2, count);
}

int collectName(void* context, const KarvexMemberInfo* member)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(member->name, member->nameLength);
    return 0;
}

struct Listed {
    std::int32_t result = 0;
    std::vector<std::string> names;
    KarvexListSummary summary{};
};

Listed listEvery(const std::string& archive)
{
    Listed listed;
    listed.result = KarvexListMembers(archive.c_str(), collectName, &listed.names, &listed.summary);
    return listed;
}

std::unique_ptr<karvex::Archive> openArchive(const std::string& path)
{
    karvex::Error error = karvex::Error::None;
    return karvex::Archive::open(path.c_str(), error);
}

TEST(PeerArchives, MoreThan65535MembersWithAClassicCountAreAllRead)
{
    constexpr std::size_t kMembers = 100000;
    std::vector<ZipEntry> entries;
    for (std::size_t i = 0; i < kMembers; ++i) {
        entries.push_back(
            file("m/" + std::to_string(1000000 + i), i + 1 == kMembers ? "last" : ""));
    }
    const std::string wrapped = buildZip(entries);
    const std::size_t end = wrapped.size() - kEndRecordSize;
    // The only count in the file is the end record's, 100,000 modulo 65,536; the directory's size
    // and offset are exact.
    ASSERT_EQ(readLe(wrapped, end, 4), 0x06054b50U);
    ASSERT_EQ(readLe(wrapped, end + 10, 2), kMembers % 65536);
    ASSERT_EQ(wrapped.find("PK\x06\x07"), std::string::npos);
    ASSERT_EQ(readLe(wrapped, end + 16, 4) + readLe(wrapped, end + 12, 4), end);
    std::string capped = wrapped;
    setCounts(capped, end, 0xFFFF);

    TempDir dir;
    for (const auto& [name, bytes] : {std::pair{"wrapped.zqr", wrapped}, {"capped.zqr", capped}}) {
        const std::string path = dir / name;
        writeFile(path, bytes);
        const Listed listed = listEvery(path);
        ASSERT_EQ(listed.result, KARVEX_OK) << name;
        EXPECT_EQ(listed.summary.entries, kMembers) << name;
        EXPECT_EQ(listed.summary.listed, kMembers) << name;
        ASSERT_EQ(listed.names.size(), kMembers) << name;
        EXPECT_EQ(listed.names.front(), "m/1000000");
        EXPECT_EQ(listed.names.back(), "m/1099999");
        EXPECT_TRUE(listArchive(path).result & KARVEX_LIST_LEFT_OUT) << name;
        // Nothing unusual to report.
        const auto archive = openArchive(path);
        ASSERT_TRUE(archive);
        EXPECT_FALSE(archive->layout().commentCut || archive->layout().offsetCorrected);
        const std::string out = dir / (std::string(name) + ".out");
        std::filesystem::create_directory(out);
        ASSERT_EQ(extract(path, "m/1099999", out), KARVEX_OK) << name;
        EXPECT_EQ(readFile(out + "/m/1099999"), "last");
    }

    // Counts that fit neither way are a damaged directory.
    std::string offByOne = wrapped;
    setCounts(offByOne, end, kMembers % 65536 + 1);
    std::string tooFew = buildZip({file("a.txt"), file("b.txt"), file("c.txt")});
    setCounts(tooFew, tooFew.size() - kEndRecordSize, 0xFFFF);
    for (const auto& [name, bytes] : {std::pair{"off-by-one.zqr", offByOne}, {"few.zqr", tooFew}}) {
        writeFile(dir / name, bytes);
        EXPECT_EQ(listArchive(dir / name).result, KARVEX_E_NOT_AN_ARCHIVE) << name;
    }
}

TEST(PeerArchives, UnicodePathFieldNamesTheMemberWhenItsChecksumMatches)
{
    const std::string shiftJis = "\x93\xFA\x96\x7B\x8C\xEA.txt"; // 日本語.txt
    ZipEntry japanese = file(shiftJis, "nihongo");
    japanese.extra = unicodePathField(shiftJis, "日本語.txt");
    ZipEntry questionMarks = file("????.txt", "bunsho");
    questionMarks.extra = unicodePathField("????.txt", "文書.txt");
    // Renamed since the field was written: the field no longer speaks for this name.
    ZipEntry renamed = file("old.txt", "old");
    renamed.extra = unicodePathField("older.txt", "新.txt");
    // A name flagged UTF-8 needs no other.
    ZipEntry flagged = file("flag.txt", "flag");
    flagged.flags = kUtf8Flag;
    flagged.extra = unicodePathField("flag.txt", "其他.txt");
    // The name that is used is the one checked.
    ZipEntry escaping = file("evil.txt", "evil");
    escaping.extra = unicodePathField("evil.txt", "../evil.txt");
    ZipEntry separator = file("x.txt", "x");
    separator.extra = unicodePathField("x.txt", "a@@b.txt");
    // A field that speaks for the name but is not UTF-8: the name is known to be wrong.
    ZipEntry notUtf8 = file("latin.txt", "l");
    notUtf8.extra = unicodePathField("latin.txt", "caf\xE9.txt");
    TempDir dir;
    const auto zip =
        makeArchive(dir, {japanese, questionMarks, renamed, flagged, escaping, separator, notUtf8});
    // The field is stored as written: its CRC is that of the stored bytes.
    ASSERT_NE(readFile(zip).find(japanese.extra), std::string::npos);

    const Listing listing = listArchive(zip);
    EXPECT_THAT(listing.names, ElementsAre("日本語.txt", "文書.txt", "old.txt", "flag.txt"));
    const Listed listed = listEvery(zip);
    EXPECT_EQ(listed.names, listing.names);
    EXPECT_EQ(listed.summary.unsafeNames, 1U);
    EXPECT_EQ(listed.summary.separators, 1U);
    EXPECT_EQ(listed.summary.undecodable, 1U);

    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    EXPECT_EQ(extract(zip, "日本語.txt", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "文書.txt", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "old.txt", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/日本語.txt"), "nihongo");
    EXPECT_EQ(readFile(out + "/文書.txt"), "bunsho");
    EXPECT_EQ(extract(zip, "../evil.txt", out), KARVEX_E_UNSAFE_NAME);
    EXPECT_EQ(extract(zip, "evil.txt", out), KARVEX_E_NO_MEMBER);
    EXPECT_EQ(extract(zip, "????.txt", out), KARVEX_E_NO_MEMBER);
    EXPECT_EQ(extract(zip, "latin.txt", out), KARVEX_E_NO_MEMBER);
    EXPECT_THAT(folderContents(out), ElementsAre("old.txt", "文書.txt", "日本語.txt"));
}

TEST(PeerArchives, CommentCutShortIsReadAndReported)
{
    std::string bytes = buildZip({file("a.txt", "first"), file("docs/b.txt", "second")});
    const std::size_t end = bytes.size() - kEndRecordSize;
    writeLe(bytes, end + 20, 2, 100);
    bytes += "Downloaded from the pub"; // 23 of the 100 bytes it declares
    TempDir dir;
    writeFile(dir / "cut.zqr", bytes);
    EXPECT_THAT(listArchive(dir / "cut.zqr").names, ElementsAre("a.txt", "docs/b.txt"));
    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    ASSERT_EQ(extract(dir / "cut.zqr", "docs/b.txt", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/docs/b.txt"), "second");
    const auto archive = openArchive(dir / "cut.zqr");
    ASSERT_TRUE(archive);
    EXPECT_TRUE(archive->layout().commentCut);
    EXPECT_EQ(archive->layout().commentDeclared, 100U);
    EXPECT_EQ(archive->layout().commentPresent, 23U);

    // A whole end record inside the cut comment of another, each with a directory of its own:
    // either could be meant, so neither is taken.
    std::string first = buildZip({file("readme.txt", "harmless")});
    const std::string second = buildZip({file("payload.exe", "MZ")});
    std::string twice = first.substr(0, first.size() - kEndRecordSize);
    const std::size_t secondStart = twice.size();
    twice += second;
    // The second archive's offsets as seen from the start of the file.
    const std::size_t secondEnd = twice.size() - kEndRecordSize;
    writeLe(twice, secondEnd + 16, 4, readLe(twice, secondEnd + 16, 4) + secondStart);
    std::string firstEnd = first.substr(first.size() - kEndRecordSize);
    writeLe(firstEnd, 20, 2, 200);
    twice.insert(secondEnd, firstEnd); // the first end record, its comment running on past the end
    writeFile(dir / "hidden.zqr", twice);
    EXPECT_EQ(listArchive(dir / "hidden.zqr").result, KARVEX_E_NOT_AN_ARCHIVE);
}

TEST(PeerArchives, WrongDirectoryOffsetIsCorrectedWhenTheDirectoryEndsAtTheEndRecord)
{
    const std::string good = buildZip({file("a.txt", "first"), file("docs/b.txt", "second")});
    const std::size_t end = good.size() - kEndRecordSize;
    const std::uint32_t directory = readLe(good, end + 16, 4);
    TempDir dir;
    for (const std::uint32_t recorded : {7U, directory - 3, directory + 5, 0x7FFFFFFFU}) {
        std::string bytes = good;
        writeLe(bytes, end + 16, 4, recorded);
        const std::string path = dir / ("offset-" + std::to_string(recorded) + ".zqr");
        writeFile(path, bytes);
        const Listed listed = listEvery(path);
        ASSERT_EQ(listed.result, KARVEX_OK) << recorded;
        EXPECT_THAT(listed.names, ElementsAre("a.txt", "docs/b.txt")) << recorded;
        EXPECT_EQ(listed.summary.badRecords, 0U) << recorded;
        const std::string out = path + ".out";
        std::filesystem::create_directory(out);
        EXPECT_EQ(extract(path, "a.txt", out), KARVEX_OK) << recorded;
        EXPECT_EQ(extract(path, "docs/b.txt", out), KARVEX_OK) << recorded;
        EXPECT_EQ(readFile(out + "/docs/b.txt"), "second");
        const auto archive = openArchive(path);
        ASSERT_TRUE(archive);
        EXPECT_TRUE(archive->layout().offsetCorrected);
        EXPECT_EQ(archive->layout().recordedOffset, recorded);
        EXPECT_EQ(archive->layout().start, directory);
    }

    // Bytes in front of an archive shift every offset alike: read behind them, nothing to note.
    const std::string stub = "#!/bin/sh\nexec viewer \"$0\"\n";
    writeFile(dir / "stub.zqr", stub + good);
    EXPECT_THAT(listArchive(dir / "stub.zqr").names, ElementsAre("a.txt", "docs/b.txt"));
    const std::string out = dir / "stub.out";
    std::filesystem::create_directory(out);
    EXPECT_EQ(extract(dir / "stub.zqr", "docs/b.txt", out), KARVEX_OK);
    const auto archive = openArchive(dir / "stub.zqr");
    ASSERT_TRUE(archive);
    EXPECT_FALSE(archive->layout().offsetCorrected);
    EXPECT_EQ(archive->layout().bias, stub.size());
}

} // namespace
} // namespace karvex_test
