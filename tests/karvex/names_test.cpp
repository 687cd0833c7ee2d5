// Name decoding and the safety rules: names come back in UTF-8 whatever the archive stored, GBK
// bytes are never split at a byte that only looks like '\' or '@', and no name that could escape
// the save folder, disguise itself, or break the list is ever listed or written.
#include "karvex/karvex.h"
#include "names.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace karvex_test {
namespace {

using ::testing::ElementsAre;

ZipEntry named(const std::string& name, std::uint16_t flags = 0)
{
    ZipEntry entry;
    entry.name = name;
    entry.data = "data of " + name;
    entry.flags = flags;
    return entry;
}

// GBK bytes: 乗 is 81 5C (its second byte is '\'), 丂 is 81 40 (its second byte is '@'),
// 说明 is CB B5 C3 F7.
const std::string kGbkRide = "\x81\x5C";
const std::string kGbkKao = "\x81\x40";
const std::string kGbkShuoming = "\xCB\xB5\xC3\xF7";

TEST(NameDecoding, FlaggedUnflaggedUtf8AndGbkNamesAllComeBackInUtf8)
{
    TempDir dir;
    const auto zip = makeArchive(dir, {
                                          named("plain.txt"),
                                          named("说明.txt", kUtf8Flag),
                                          named("资料/目录.html"), // valid UTF-8, no flag
                                          named(kGbkShuoming + "-gbk.txt"),
                                      });
    EXPECT_THAT(listArchive(zip).names,
                ElementsAre("plain.txt", "说明.txt", "资料/目录.html", "说明-gbk.txt"));
}

TEST(NameDecoding, GbkSecondBytesThatLookLikeBackslashOrAtAreNotSeparators)
{
    TempDir dir;
    // Read byte by byte, the first holds "\" (a folder) and the second "@@" (the separator).
    const std::string ride = kGbkRide + "\xB3\xB5.txt"; // 乗车.txt
    const std::string kao = kGbkKao + "@x.txt";         // 丂@x.txt
    const auto zip = makeArchive(dir, {named(ride), named(kao)});
    const Listing listing = listArchive(zip);
    EXPECT_EQ(listing.result, 2);
    EXPECT_THAT(listing.names, ElementsAre("乗车.txt", "丂@x.txt"));

    const std::string out = dir / "out";
    std::filesystem::create_directory(out);
    EXPECT_EQ(extract(zip, "乗车.txt", out), KARVEX_OK);
    EXPECT_EQ(extract(zip, "丂@x.txt", out), KARVEX_OK);
    EXPECT_THAT(folderContents(out), ElementsAre("丂@x.txt", "乗车.txt"));
    EXPECT_EQ(readFile(out + "/乗车.txt"), "data of " + ride);
}

TEST(NameDecoding, FlaggedNameThatIsNotUtf8IsNeverListed)
{
    TempDir dir;
    const auto zip = makeArchive(dir, {named("ok.txt"), named(kGbkShuoming, kUtf8Flag)});
    const Listing listing = listArchive(zip);
    // Either the member is left out or the archive is refused as inconsistent; never is the
    // name shown decoded some other way.
    if (listing.result >= 0) {
        EXPECT_THAT(listing.names, ElementsAre("ok.txt"));
    } else {
        EXPECT_EQ(listing.result, KARVEX_E_NOT_AN_ARCHIVE);
    }
}

TEST(NameDecoding, Utf8ValidationRejectsOverlongsSurrogatesAndTruncatedSequences)
{
    EXPECT_TRUE(karvex::isValidUtf8("说明 ok \xF0\x9F\x93\x84"));
    EXPECT_FALSE(karvex::isValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(karvex::isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(karvex::isValidUtf8("\xE8\xAF"));         // cut short
    EXPECT_FALSE(karvex::isValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(karvex::isValidUtf8(kGbkShuoming));
}

struct UnsafeCase {
    std::string stored;
    karvex::NameProblem problem;
};

class UnsafeName : public ::testing::TestWithParam<UnsafeCase> {};

TEST_P(UnsafeName, IsClassifiedNotListedAndRefusedForExtraction)
{
    const UnsafeCase c = GetParam();
    EXPECT_EQ(karvex::toListedName(c.stored).problem, c.problem);

    TempDir dir;
    const auto zip = makeArchive(dir, {named(c.stored), named("safe.txt")});
    EXPECT_THAT(listArchive(zip).names, ElementsAre("safe.txt"));

    // Asking for the name anyway is refused, and nothing appears anywhere under the temp dir.
    const std::string out = dir / "save/here";
    std::filesystem::create_directories(out);
    const std::int32_t result = extract(zip, c.stored, out);
    const std::int32_t expected = c.problem == karvex::NameProblem::Separator
                                      ? KARVEX_E_SEPARATOR_IN_NAME
                                      : KARVEX_E_UNSAFE_NAME;
    if (c.problem == karvex::NameProblem::Nul) {
        // The request stops at the NUL and names a member that is not listed.
        EXPECT_EQ(result, KARVEX_E_NO_MEMBER);
    } else {
        EXPECT_EQ(result, expected);
    }
    EXPECT_THAT(folderContents(dir.path().string()), ElementsAre("save", "save/here", "test.zqr"));
}

std::string unsafeCaseName(const ::testing::TestParamInfo<UnsafeCase>& info)
{
    static const char* const kinds[] = {"None",           "Undecodable", "Empty",
                                        "Absolute",       "DriveLetter", "DotDot",
                                        "EmptyComponent", "Nul",         "ControlCharacter",
                                        "BidiControl",    "Separator"};
    return std::string(kinds[static_cast<int>(info.param.problem)]) + "_" +
           std::to_string(info.index);
}

using P = karvex::NameProblem;
INSTANTIATE_TEST_SUITE_P(
    Shapes, UnsafeName,
    ::testing::Values(
        UnsafeCase{"../escape.txt", P::DotDot}, UnsafeCase{"docs/../../escape.txt", P::DotDot},
        UnsafeCase{"..\\escape.txt", P::DotDot}, UnsafeCase{"docs\\..\\..\\escape.txt", P::DotDot},
        UnsafeCase{"docs/..", P::DotDot}, UnsafeCase{"/etc/escape.txt", P::Absolute},
        UnsafeCase{"\\escape.txt", P::Absolute},
        UnsafeCase{"\\\\server\\share\\escape.txt", P::Absolute},
        UnsafeCase{"C:\\escape.txt", P::DriveLetter}, UnsafeCase{"c:escape.txt", P::DriveLetter},
        UnsafeCase{"docs//escape.txt", P::EmptyComponent},
        UnsafeCase{std::string("evil\0.txt", 9), P::Nul},
        UnsafeCase{"line\nbreak.txt", P::ControlCharacter},
        UnsafeCase{"bell\x07.txt", P::ControlCharacter},
        UnsafeCase{"del\x7F.txt", P::ControlCharacter},
        UnsafeCase{"next\xC2\x85line.txt", P::ControlCharacter},
        UnsafeCase{"report\xE2\x80\xAE"
                   "fdp.exe",
                   P::BidiControl},
        UnsafeCase{"isolate\xE2\x81\xA6.txt", P::BidiControl}, UnsafeCase{"a@@b.txt", P::Separator},
        UnsafeCase{"@@", P::Separator}, UnsafeCase{"note@", P::Separator},
        UnsafeCase{"docs/note@", P::Separator}, UnsafeCase{".", P::Empty}),
    unsafeCaseName);

} // namespace
} // namespace karvex_test
