// The listing contract the viewer relies on: names in central-directory order, each followed by
// "@@", at most 100000 bytes and a zero byte, never a name cut in half, and a return value that
// tells how many names were listed and whether some were left out.
#include "karvex/karvex.h"
#include "test_support.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <vector>
#include <zlib.h>

namespace karvex_test {
namespace {

using ::testing::ElementsAre;

ZipEntry file(const std::string& name, const std::string& data = "content")
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

TEST(Listing, NamesComeInCentralDirectoryOrderEachFollowedBySeparator)
{
    TempDir dir;
    const auto zip =
        makeArchive(dir, {file("b.txt"), file("a.txt"), file("docs/"), file("docs/c.txt")});
    const Listing listing = listArchive(zip);
    EXPECT_EQ(listing.result, 3);
    EXPECT_EQ(listing.text, "b.txt@@a.txt@@docs/c.txt@@");
}

TEST(Listing, DotComponentsAreDroppedAndBackslashesSeparateFolders)
{
    TempDir dir;
    const auto zip =
        makeArchive(dir, {file("./a.txt", "A"), file("docs\\b.txt", "B"), file("x/./y.txt", "Y")});
    EXPECT_THAT(listArchive(zip).names, ElementsAre("a.txt", "docs/b.txt", "x/y.txt"));

    // Extraction finds each member by the name as listed.
    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    EXPECT_EQ(extract(zip, "a.txt", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "docs/b.txt", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "x/y.txt", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/a.txt"), "A");
    EXPECT_EQ(readFile(out + "/docs/b.txt"), "B");
    EXPECT_EQ(readFile(out + "/x/y.txt"), "Y");
}

TEST(Listing, NameOccurringTwiceIsListedOnceAndTheFirstEntryWins)
{
    TempDir dir;
    const auto zip =
        makeArchive(dir, {file("a.txt", "first"), file("b.txt"), file("./a.txt", "second")});
    const Listing listing = listArchive(zip);
    EXPECT_EQ(listing.result, 2);
    EXPECT_THAT(listing.names, ElementsAre("a.txt", "b.txt"));

    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    ASSERT_EQ(extract(zip, "a.txt", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/a.txt"), "first");
}

TEST(Listing, EmptyArchiveListsNothing)
{
    TempDir dir;
    const Listing listing = listArchive(makeArchive(dir, {}));
    EXPECT_EQ(listing.result, 0);
    EXPECT_EQ(listing.text, "");
}

// Names of `length` bytes, so that each takes `length` + 2 bytes of the list.
std::vector<ZipEntry> namesOfLength(std::size_t count, std::size_t length)
{
    std::vector<ZipEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = std::to_string(i);
        name.insert(0, length - name.size(), 'n');
        entries.push_back(file(name, ""));
    }
    return entries;
}

struct BoundCase {
    std::size_t nameLength; // each name takes nameLength + 2 bytes
    std::size_t members;
    std::size_t expectListed;
    bool expectLeftOut;
};

class ListingBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(ListingBound, ListEndsAtANameBoundaryWithinTheLimit)
{
    const BoundCase c = GetParam();
    TempDir dir;
    std::string zip = makeArchive(dir, namesOfLength(c.members, c.nameLength));

    // The caller's 100000 spaces and zero byte, then guard bytes that must survive.
    std::vector<char> buffer(KARVEX_LIST_LIMIT + 1 + 64, 'G');
    std::fill(buffer.begin(), buffer.begin() + KARVEX_LIST_LIMIT, ' ');
    buffer[KARVEX_LIST_LIMIT] = '\0';
    const std::int32_t result = GetFileIndexList2(zip.data(), buffer.data());

    ASSERT_GE(result, 0);
    EXPECT_EQ(KARVEX_LIST_COUNT(result), static_cast<std::int32_t>(c.expectListed));
    EXPECT_EQ((result & KARVEX_LIST_LEFT_OUT) != 0, c.expectLeftOut);
    const std::size_t listLength = c.expectListed * (c.nameLength + 2);
    ASSERT_LE(listLength, static_cast<std::size_t>(KARVEX_LIST_LIMIT));
    EXPECT_EQ(buffer[listLength], '\0');
    EXPECT_EQ(std::string(buffer.data() + listLength - 2, 2), "@@");
    for (std::size_t i = KARVEX_LIST_LIMIT + 1; i < buffer.size(); ++i) {
        ASSERT_EQ(buffer[i], 'G') << "written past the caller's buffer at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limit, ListingBound,
    ::testing::Values(BoundCase{98, 1000, 1000, false}, // exactly 100000 bytes: all fit
                      BoundCase{98, 1001, 1000, true},  // one more does not fit
                      BoundCase{97, 1011, 1010, true},  // 99990 used; 99 more would cross
                      BoundCase{97, 1010, 1010, false}),
    [](const ::testing::TestParamInfo<BoundCase>& info) {
        return std::to_string(info.param.members) + "NamesOf" +
               std::to_string(info.param.nameLength) + "Bytes";
    });

TEST(Listing, FailuresLeaveTheBufferAsItWasAndSayWhy)
{
    TempDir dir;
    writeFile(dir / "junk.zqr", std::string(5000, 'x'));
    std::filesystem::create_directory(dir / "folder.zqr");
    ASSERT_EQ(::mkfifo((dir / "fifo.zqr").c_str(), 0600), 0);

    const struct {
        std::string path;
        std::int32_t expected;
    } cases[] = {
        {dir / "missing.zqr", KARVEX_E_OPEN_ARCHIVE},
        {dir / "folder.zqr", KARVEX_E_OPEN_ARCHIVE},
        {dir / "fifo.zqr", KARVEX_E_OPEN_ARCHIVE}, // and must not block waiting for a writer
        {dir / "junk.zqr", KARVEX_E_NOT_AN_ARCHIVE},
    };
    for (const auto& c : cases) {
        std::string buffer(KARVEX_LIST_LIMIT, ' ');
        std::string path = c.path;
        EXPECT_EQ(GetFileIndexList2(path.data(), buffer.data()), c.expected) << c.path;
        EXPECT_EQ(buffer, std::string(KARVEX_LIST_LIMIT, ' ')) << c.path;
    }

    std::string buffer(KARVEX_LIST_LIMIT, ' ');
    std::string path = makeArchive(dir, {file("a.txt")});
    EXPECT_EQ(GetFileIndexList2(nullptr, buffer.data()), KARVEX_E_ARGUMENT);
    EXPECT_EQ(GetFileIndexList2(path.data(), nullptr), KARVEX_E_ARGUMENT);
    EXPECT_EQ(buffer, std::string(KARVEX_LIST_LIMIT, ' '));
}

} // namespace
} // namespace karvex_test

namespace karvex_test {
namespace {

TEST(Listing, NameEndingInAtIsLeftOutSoTheNextNameStaysWhole)
{
    // "a@" + "@@" + "b.txt" + "@@" would split as "a" and "@b.txt": both wrong, neither unpacks.
    TempDir dir;
    const auto zip = makeArchive(dir, {file("a@"), file("b.txt"), file("x@y.txt")});
    const Listing listing = listArchive(zip);
    EXPECT_EQ(listing.text, "b.txt@@x@y.txt@@");
    EXPECT_EQ(extract(zip, "a@", dir.path()), KARVEX_E_SEPARATOR_IN_NAME);
}

TEST(Listing, AMemberThatCannotBeReadCostsOnlyItself)
{
    // Each of these once made the whole archive unreadable, or was listed and never unpacked.
    ZipEntry flaggedNotUtf8 = file("bad\xFF\xFE.txt");
    flaggedNotUtf8.flags = kUtf8Flag;
    ZipEntry aesWithoutItsRecord = file("aes.bin");
    aesWithoutItsRecord.method = 99;
    ZipEntry unknownMethod = file("odd.bin");
    unknownMethod.method = 9;
    ZipEntry sizeInMissingZip64Field = file("huge.bin");
    sizeInMissingZip64Field.size = 0xFFFFFFFF;
    const std::string overlong = "docs/" + std::string(256, 'x') + ".txt";
    TempDir dir;
    const auto zip = makeArchive(dir, {file("ok.txt", "fine"), flaggedNotUtf8, aesWithoutItsRecord,
                                       unknownMethod, sizeInMissingZip64Field, file(overlong),
                                       file("docs/.karvex-77-0123456789abcdef.part"),
                                       file("last.txt", "also fine")});

    const Listing listing = listArchive(zip);
    EXPECT_EQ(listing.result, 2);
    EXPECT_THAT(listing.names, ElementsAre("ok.txt", "last.txt"));
    KarvexListSummary summary{};
    ASSERT_EQ(KarvexListMembers(zip.c_str(), nullptr, nullptr, &summary), KARVEX_OK);
    EXPECT_EQ(summary.entries, 8U);
    EXPECT_EQ(summary.listed, 2U);
    EXPECT_EQ(summary.undecodable, 1U);
    EXPECT_EQ(summary.badRecords, 3U);
    EXPECT_EQ(summary.unsafeNames, 2U);

    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    EXPECT_EQ(extract(zip, "ok.txt", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "last.txt", out), KARVEX_OK);
    EXPECT_EQ(readFile(out + "/last.txt"), "also fine");
    // Asked for by name anyway, each says why.
    EXPECT_EQ(extract(zip, "aes.bin", out), KARVEX_E_BAD_RECORD);
    EXPECT_EQ(extract(zip, "odd.bin", out), KARVEX_E_UNSUPPORTED_METHOD);
    EXPECT_EQ(extract(zip, "huge.bin", out), KARVEX_E_BAD_RECORD);
    EXPECT_EQ(extract(zip, overlong, out), KARVEX_E_NAME_TOO_LONG);
    EXPECT_EQ(extract(zip, "docs/.karvex-77-0123456789abcdef.part", out), KARVEX_E_UNSAFE_NAME);
    EXPECT_THAT(folderContents(out), ElementsAre("last.txt", "ok.txt"));
}

} // namespace
} // namespace karvex_test

namespace karvex_test {
namespace {

struct Collected {
    std::vector<KarvexMemberInfo> members; // with `name` pointing into `names`
    std::vector<std::string> names;
    std::size_t stopAfter = SIZE_MAX;
};

int collect(void* context, const KarvexMemberInfo* member)
{
    auto& collected = *static_cast<Collected*>(context);
    collected.names.emplace_back(member->name, member->nameLength);
    collected.members.push_back(*member);
    return collected.members.size() >= collected.stopAfter ? 1 : 0;
}

int throwSomethingOdd(void*, const KarvexMemberInfo*)
{
    throw 42; // not a std::exception: must not cross the C boundary either
}

TEST(DetailedListing, ListsEveryMemberWithItsDetailsAndCountsWhatIsLeftOut)
{
    // Far more names than the bounded list holds, and one of each kind of entry left out.
    std::vector<ZipEntry> entries;
    ZipEntry first = file("first.txt", std::string(5000, 'f'));
    first.method = 8;
    entries.push_back(first);
    entries.push_back(file("docs/"));
    entries.push_back(file("./first.txt", "a second first"));
    entries.push_back(file("../escape.txt"));
    entries.push_back(file("a@@b.txt"));
    entries.push_back(file("\xFF\xFF.txt"));
    // 65,535 entries in all: the count field holds 0xFFFF, and there is no ZIP64 record.
    for (int i = 0; i < 65529; ++i) {
        entries.push_back(file("n/" + std::to_string(100000 + i), ""));
    }
    TempDir dir;
    const auto zip = makeArchive(dir, entries);
    ASSERT_TRUE(KARVEX_LIST_LEFT_OUT & listArchive(zip).result);

    Collected collected;
    KarvexListSummary summary{};
    ASSERT_EQ(KarvexListMembers(zip.c_str(), collect, &collected, &summary), KARVEX_OK);
    ASSERT_EQ(collected.members.size(), 65530U);
    EXPECT_EQ(collected.names.front(), "first.txt");
    EXPECT_EQ(collected.names.back(), "n/165528");
    const KarvexMemberInfo& details = collected.members.front();
    EXPECT_EQ(details.size, 5000U);
    EXPECT_EQ(details.packedSize, deflateRaw(std::string(5000, 'f')).size());
    EXPECT_EQ(details.crc32, crc32(0, reinterpret_cast<const Bytef*>(first.data.data()), 5000));
    EXPECT_EQ(details.index, 0U);
    EXPECT_EQ(collected.members.back().index, 65534U);
    // The archive's DOS time is 2025-01-01 00:00 local time.
    std::tm local{};
    local.tm_year = 125;
    local.tm_mday = 1;
    local.tm_isdst = -1;
    EXPECT_EQ(details.modified, static_cast<std::int64_t>(std::mktime(&local)));

    EXPECT_EQ(summary.entries, 65535U);
    EXPECT_EQ(summary.listed, 65530U);
    EXPECT_EQ(summary.folders, 1U);
    EXPECT_EQ(summary.duplicates, 1U);
    EXPECT_EQ(summary.unsafeNames, 1U);
    EXPECT_EQ(summary.separators, 1U);
    EXPECT_EQ(summary.undecodable, 1U);
    EXPECT_EQ(summary.badRecords, 0U);

    // The callback can stop the listing; the summary is then left alone.
    Collected stopped;
    stopped.stopAfter = 3;
    KarvexListSummary untouched{};
    untouched.entries = 7;
    EXPECT_EQ(KarvexListMembers(zip.c_str(), collect, &stopped, &untouched), KARVEX_E_CANCELLED);
    EXPECT_EQ(stopped.members.size(), 3U);
    EXPECT_EQ(untouched.entries, 7U);

    EXPECT_EQ(KarvexListMembers(zip.c_str(), throwSomethingOdd, nullptr, nullptr),
              KARVEX_E_INTERNAL);
    EXPECT_EQ(KarvexListMembers(nullptr, collect, &collected, nullptr), KARVEX_E_ARGUMENT);
    EXPECT_EQ(KarvexListMembers((dir / "missing.zqr").c_str(), collect, &collected, nullptr),
              KARVEX_E_OPEN_ARCHIVE);
    EXPECT_THAT(KarvexVersion(), ::testing::MatchesRegex("[0-9]+\\.[0-9]+ \\(deflate: .+\\)"));
}

// Runs with TZ set to `zone`, then puts the old setting back.
class ZoneSetting {
public:
    explicit ZoneSetting(const char* zone)
    {
        if (const char* old = std::getenv("TZ"); old != nullptr) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ZoneSetting(const ZoneSetting&) = delete;
    ZoneSetting& operator=(const ZoneSetting&) = delete;
    ~ZoneSetting()
    {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};

TEST(DetailedListing, TimesAreGivenAsStoredAndAnHourTheClockSkippedIsReadBeforeTheChange)
{
    // Berlin's clocks went from 02:00 to 03:00 on 2025-03-30: 02:30 never happened there.
    const ZoneSetting berlin("Europe/Berlin");
    constexpr std::uint16_t kSpringDay = (2025 - 1980) << 9 | 3 << 5 | 30;
    const auto at = [](unsigned hour, unsigned minute) {
        return static_cast<std::uint16_t>(hour << 11 | minute << 5);
    };
    std::vector<ZipEntry> entries;
    for (const auto& [name, hour, minute] :
         {std::tuple{"before.txt", 1U, 59U}, std::tuple{"skipped.txt", 2U, 30U},
          std::tuple{"after.txt", 3U, 1U}}) {
        ZipEntry entry = file(name);
        entry.dosDate = kSpringDay;
        entry.dosTime = at(hour, minute);
        entries.push_back(entry);
    }
    TempDir dir;
    Collected collected;
    ASSERT_EQ(KarvexListMembers(makeArchive(dir, entries).c_str(), collect, &collected, nullptr),
              KARVEX_OK);
    ASSERT_EQ(collected.members.size(), 3U);
    constexpr std::int64_t kSpringMidnight = 1743292800; // 2025-03-30 00:00 on any clock
    const auto wallClock = [](std::int64_t hour, std::int64_t minute) {
        return kSpringMidnight + hour * 3600 + minute * 60;
    };
    // As stored: the packer's own clock, which shows 02:30 whatever the zone here.
    EXPECT_EQ(collected.members[0].modifiedAsStored, wallClock(1, 59));
    EXPECT_EQ(collected.members[1].modifiedAsStored, wallClock(2, 30));
    EXPECT_EQ(collected.members[2].modifiedAsStored, wallClock(3, 1));
    // In UTC: 01:59 is winter time (UTC+1), 03:01 summer time (UTC+2), and the skipped 02:30 is
    // read on a clock not yet set forward (UTC+1): half an hour after that clock's 02:00, never
    // before its 01:59.
    EXPECT_EQ(collected.members[0].modified, wallClock(0, 59));
    EXPECT_EQ(collected.members[1].modified, wallClock(1, 30));
    EXPECT_EQ(collected.members[2].modified, wallClock(1, 1));
}

} // namespace
} // namespace karvex_test
