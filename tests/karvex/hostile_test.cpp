// Archives built to hurt the reader: lying sizes and checksums, members sharing one piece of
// compressed data (a bomb), encryption, unknown methods, and files cut short anywhere. None may
// crash, hang, fill memory or disk, or leave a file behind.
#include "archive.h"
#include "karvex/karvex.h"
#include "member_reader.h"
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace karvex_test {
namespace {

using ::testing::IsEmpty;

ZipEntry deflated(const std::string& name, const std::string& data)
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    entry.method = 8;
    return entry;
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(out); }

    // Extraction fails with `expected` and leaves the save folder empty.
    void expectRefused(const std::vector<ZipEntry>& entries, const std::string& member,
                       std::int32_t expected)
    {
        const auto zip = makeArchive(dir, entries);
        EXPECT_EQ(extract(zip, member, out), expected) << member;
        EXPECT_THAT(folderContents(out), IsEmpty());
    }

    TempDir dir;
    const std::string out = dir / "out";
};

TEST_F(Hostile, BadCrcIsRefused)
{
    ZipEntry entry = deflated("a.txt", "the real text");
    entry.crc = 0xDEADBEEF;
    expectRefused({entry}, "a.txt", KARVEX_E_BAD_CRC);
}

TEST_F(Hostile, DataLongerThanDeclaredIsRefused)
{
    ZipEntry entry = deflated("a.bin", std::string(1 << 20, '\0'));
    entry.size = 1000;
    expectRefused({entry}, "a.bin", KARVEX_E_SIZE_MISMATCH);
}

TEST_F(Hostile, DataShorterThanDeclaredIsRefused)
{
    ZipEntry entry = deflated("a.bin", std::string(1000, 'a'));
    entry.size = 5000;
    expectRefused({entry}, "a.bin", KARVEX_E_SIZE_MISMATCH);
}

TEST_F(Hostile, EncryptedMemberIsRefused)
{
    ZipEntry entry = deflated("secret.txt", "not really encrypted");
    entry.flags = kEncryptedFlag;
    expectRefused({entry}, "secret.txt", KARVEX_E_ENCRYPTED);
}

TEST_F(Hostile, UnknownCompressionMethodIsRefused)
{
    ZipEntry entry = deflated("odd.bin", "shrunk, supposedly");
    entry.method = 1; // "shrink": long obsolete
    expectRefused({entry}, "odd.bin", KARVEX_E_UNSUPPORTED_METHOD);
}

// Counts what reaches the sink, to prove the reader never hands on more than declared.
class CountingSink : public karvex::Sink {
public:
    karvex::Error write(const char*, std::size_t size) override
    {
        bytes += size;
        return karvex::Error::None;
    }
    std::uint64_t bytes = 0;
};

TEST_F(Hostile, OverlappingEntryBombIsCappedAtEachDeclaredSize)
{
    // One 64 MiB run of zeros, deflated to about 64 KiB, shared by 200 entries that each claim
    // to hold 4 KiB: unpacked naively that is 12.5 GiB.
    std::vector<ZipEntry> entries{deflated("kernel.bin", std::string(64 << 20, '\0'))};
    entries[0].size = 4096;
    for (std::size_t i = 1; i < 200; ++i) {
        ZipEntry alias;
        alias.name = "copy" + std::to_string(i) + ".bin";
        alias.method = 8;
        alias.sharesWith = 0;
        entries.push_back(alias);
    }
    const auto zip = makeArchive(dir, entries);
    EXPECT_EQ(listArchive(zip).result, 200);

    // The first entry is cut at its declared size; the others point at a local header that
    // names another member, and are refused before a byte is read.
    karvex::Error error = karvex::Error::None;
    const auto archive = karvex::Archive::open(zip.c_str(), error);
    ASSERT_TRUE(archive);
    for (const karvex::Member& member : archive->members()) {
        karvex::MemberInfo info;
        ASSERT_EQ(karvex::inspectMember(*archive, member, info), karvex::Error::None);
        CountingSink sink;
        const bool first = &member == &archive->members().front();
        EXPECT_EQ(karvex::copyMember(*archive, member, info, sink),
                  first ? karvex::Error::SizeMismatch : karvex::Error::HeaderMismatch);
        EXPECT_LE(sink.bytes, first ? info.size : 0) << archive->name(member);
    }
    EXPECT_EQ(extract(zip, "kernel.bin", out), KARVEX_E_SIZE_MISMATCH);
    EXPECT_EQ(extract(zip, "copy199.bin", out), KARVEX_E_HEADER_MISMATCH);
    EXPECT_THAT(folderContents(out), IsEmpty());
}

TEST_F(Hostile, DirectoryClaimingMoreEntriesThanItHoldsIsNotAnArchive)
{
    std::string bytes = buildZip({deflated("a.txt", "A")});
    // The entry counts of the end record sit 12 and 14 bytes before its end.
    bytes[bytes.size() - 12] = '\x50';
    bytes[bytes.size() - 14] = '\x50';
    writeFile(dir / "lying.zqr", bytes);
    EXPECT_EQ(listArchive(dir / "lying.zqr").result, KARVEX_E_NOT_AN_ARCHIVE);
}

TEST_F(Hostile, ArchiveCutShortAnywhereFailsCleanly)
{
    const std::string text = "a paragraph of text, repeated. ";
    std::string data;
    for (int i = 0; i < 200; ++i) {
        data += text;
    }
    const std::string whole =
        buildZip({deflated("one.txt", data), deflated("dir/two.txt", data + "2")});
    for (std::size_t length = 0; length < whole.size(); length += 7) {
        const std::string path = dir / "cut.zqr";
        writeFile(path, whole.substr(0, length));
        const Listing listing = listArchive(path);
        EXPECT_LT(listing.result, 0) << "cut at " << length;
        // Extraction fails too and writes nothing.
        EXPECT_LT(extract(path, "one.txt", out), 0) << "cut at " << length;
    }
    EXPECT_THAT(folderContents(out), IsEmpty());
}

TEST_F(Hostile, DamagedDataBehindAnIntactDirectoryFailsCleanly)
{
    const std::string data(20000, 'q');
    std::string bytes = buildZip({deflated("a.txt", data)});
    // Scribble over the compressed data, leaving the headers alone.
    for (std::size_t i = 40; i < 60; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    }
    writeFile(dir / "damaged.zqr", bytes);
    EXPECT_EQ(listArchive(dir / "damaged.zqr").result, 1);
    const std::int32_t result = extract(dir / "damaged.zqr", "a.txt", out);
    EXPECT_TRUE(result == KARVEX_E_CORRUPT_DATA || result == KARVEX_E_BAD_CRC ||
                result == KARVEX_E_SIZE_MISMATCH)
        << result;
    EXPECT_THAT(folderContents(out), IsEmpty());
}

// What `command` (a shell command line) prints for `input`: data packed by the tools themselves.
std::string piped(const TempDir& dir, const std::string& command, const std::string& input)
{
    writeFile(dir / "pipe-in", input);
    const std::string line =
        command + " < '" + (dir / "pipe-in") + "' > '" + (dir / "pipe-out") + "'";
    EXPECT_EQ(std::system(line.c_str()), 0) << line;
    return readFile(dir / "pipe-out");
}

ZipEntry packedBy(const std::string& name, std::uint16_t method, const std::string& packed,
                  const std::string& data)
{
    ZipEntry entry;
    entry.name = name;
    entry.method = method;
    entry.packed = packed;
    entry.data = data;
    return entry;
}

TEST_F(Hostile, ToolMadeStreamsAreReadOrRefusedForTheirTrueCause)
{
    std::string text;
    for (int i = 0; i < 6000; ++i) {
        text += "line " + std::to_string(i) + " of a member packed by the tools themselves\n";
    }
    const std::string parts[] = {text.substr(0, 90000), text.substr(90000, 120000),
                                 text.substr(210000)};
    // Three xz streams back to back, four bytes of stream padding after the second.
    const std::string concatenated = piped(dir, "xz -c", parts[0]) + piped(dir, "xz -c", parts[1]) +
                                     std::string(4, '\0') + piped(dir, "xz -c", parts[2]);
    // The .lzma form: 5 bytes of properties, 8 of size, then the stream (with an end marker).
    const std::string alone = piped(dir, "xz -c --format=lzma", text);
    const std::string lzmaHeader = std::string("\x09\x14\x05\x00", 4) + alone.substr(0, 5);
    ZipEntry disguised = packedBy("a.txt", 0, "#!/bin/sh\n", "#!/bin/sh\n");
    disguised.localName = "evil.sh";
    ZipEntry climbing = packedBy("c.txt", 0, "up", "up");
    climbing.localName = "../c.txt";
    // Method 14 needs no larger dictionary than the member, so only a member over the limit can
    // need one over it: this one declares 1.5 GiB behind a header asking for as much.
    ZipEntry huge = packedBy(
        "huge.bin", 14,
        std::string("\x09\x14\x05\x00\x5D\x00\x00\x00\x60", 9) + std::string(2 << 20, '\0'), "");
    huge.size = 1536ULL << 20;
    ZipEntry sealed = packedBy("sealed.txt", 98, std::string(64, '\x5A'), std::string(80, 's'));
    sealed.flags = kEncryptedFlag; // PPMd (98), which this library does not read, and encrypted
    const auto zip = makeArchive(
        dir,
        {packedBy("concatenated.txt", 95, concatenated, text),
         packedBy("big-dictionary.txt", 95, piped(dir, "xz -c --lzma2=dict=1536MiB", text), text),
         packedBy("long-window.txt", 93, piped(dir, "zstd -q -c --long=30", text), text),
         packedBy("window-at-the-limit.txt", 93, piped(dir, "zstd -q -c --long=29", text), text),
         packedBy("cut.txt", 14, lzmaHeader + alone.substr(13, alone.size() - 13 - 64), text),
         disguised, climbing, sealed, huge});

    EXPECT_EQ(extract(zip, "concatenated.txt", out), KARVEX_OK);
    EXPECT_TRUE(readFile(out + "/concatenated.txt") == text); // not printed: 300 KB
    EXPECT_EQ(extract(zip, "window-at-the-limit.txt", out), KARVEX_OK);
    EXPECT_TRUE(readFile(out + "/window-at-the-limit.txt") == text);
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    EXPECT_EQ(extract(zip, "big-dictionary.txt", out), KARVEX_E_NEEDS_MEMORY);
    EXPECT_EQ(extract(zip, "long-window.txt", out), KARVEX_E_NEEDS_MEMORY);
    EXPECT_EQ(extract(zip, "cut.txt", out), KARVEX_E_CORRUPT_DATA);
    EXPECT_EQ(extract(zip, "a.txt", out), KARVEX_E_HEADER_MISMATCH);
    EXPECT_EQ(extract(zip, "c.txt", out), KARVEX_E_HEADER_MISMATCH);
    EXPECT_EQ(extract(zip, "sealed.txt", out), KARVEX_E_ENCRYPTED);
    EXPECT_THAT(folderContents(out), IsEmpty());

    // How much memory each refused member asks for: the dictionary or window its header names.
    karvex::Error error = karvex::Error::None;
    const auto archive = karvex::Archive::open(zip.c_str(), error);
    ASSERT_TRUE(archive);
    for (const auto& [name, needed] :
         {std::pair{"big-dictionary.txt", 1536ULL << 20}, std::pair{"long-window.txt", 1ULL << 30},
          std::pair{"huge.bin", 1536ULL << 20}}) {
        const karvex::Member* member = archive->find(name);
        ASSERT_NE(member, nullptr);
        karvex::MemberInfo info;
        ASSERT_EQ(karvex::inspectMember(*archive, *member, info), karvex::Error::None);
        CountingSink sink;
        std::uint64_t memoryNeeded = 0;
        EXPECT_EQ(karvex::copyMember(*archive, *member, info, sink, &memoryNeeded),
                  karvex::Error::NeedsMemory);
        EXPECT_GE(memoryNeeded, needed) << name;
        EXPECT_LT(memoryNeeded, needed + (1U << 20)) << name;
        EXPECT_EQ(sink.bytes, 0U) << name;
    }
}

} // namespace
} // namespace karvex_test
