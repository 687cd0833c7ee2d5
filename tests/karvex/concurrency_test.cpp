// The viewer calls the library from worker threads, several at once: a listing of one archive
// while a member of another unpacks, a cancelled unpack while the next one starts. This test does
// all of that at the same moment through the C entries and checks every result and every byte.
// The tsan preset builds it alone under ThreadSanitizer, which fails it on any data race.
#include "karvex/karvex.h"
#include "test_support.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <latch>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace karvex_test {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A member's stored name bytes, the name it is listed under, and its data.
struct TestMember {
    std::string stored;
    std::string listed;
    std::string data;
    std::uint16_t method = 8;
};

struct TestArchive {
    std::string path;
    std::vector<TestMember> members;

    const TestMember& member(const std::string& listed) const
    {
        for (const TestMember& m : members) {
            if (m.listed == listed) {
                return m;
            }
        }
        throw std::invalid_argument("no member " + listed);
    }

    std::vector<std::string> listedNames() const
    {
        std::vector<std::string> names;
        for (const TestMember& m : members) {
            names.push_back(m.listed);
        }
        return names;
    }
};

// Data of its own for each member (half compressible), so a file holding another member's bytes
// is caught.
std::string memberData(std::size_t size, std::uint32_t seed)
{
    std::string data(size, '\0');
    std::uint32_t state = seed * 2654435761U + 1U;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245U + 12345U;
        data[i] = static_cast<char>(i % 2 == 0 ? 'a' + (state >> 28) : state >> 24);
    }
    return data;
}

TestArchive makeTestArchive(const TempDir& dir, const std::string& fileName,
                            std::vector<TestMember> members)
{
    std::vector<ZipEntry> entries;
    for (const TestMember& m : members) {
        ZipEntry entry;
        entry.name = m.stored;
        entry.data = m.data;
        entry.method = m.method;
        entries.push_back(entry);
    }
    return {makeArchive(dir, entries, fileName), std::move(members)};
}

TestMember plain(const std::string& name, std::size_t size, std::uint32_t seed,
                 std::uint16_t method = 8)
{
    return {name, name, memberData(size, seed), method};
}

// Names stored in GB18030 without the UTF-8 flag: each thread decodes them with its own
// converter.
TestMember gb18030(const std::string& stored, const std::string& listed, std::size_t size,
                   std::uint32_t seed)
{
    return {stored, listed, memberData(size, seed), 8};
}

constexpr std::uint64_t kCancelAt = 1U << 20;

struct Progress {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
    bool cancel = false;      // stop once kCancelAt bytes are written
    bool otherThread = false; // a call came from a thread other than the one unpacking
    std::thread::id caller;
};

int onProgress(void* context, std::uint64_t done, std::uint64_t total)
{
    auto& progress = *static_cast<Progress*>(context);
    progress.calls.emplace_back(done, total);
    progress.otherThread = progress.otherThread || std::this_thread::get_id() != progress.caller;
    return progress.cancel && done >= kCancelAt ? 1 : 0;
}

// One unpack and what came of it.
struct Unpack {
    const TestArchive* archive = nullptr;
    std::string member;
    std::string folder;
    bool detailed = false; // KarvexExtractMember with progress, else GetFileFromZipFile2
    Progress progress;
    std::int32_t result = 0;

    void run()
    {
        std::string save = folder + "/" + member;
        if (!detailed) {
            std::string zip = archive->path;
            std::string name = member;
            result = GetFileFromZipFile2(zip.data(), name.data(), save.data());
            return;
        }
        progress.caller = std::this_thread::get_id();
        result = KarvexExtractMember(archive->path.c_str(), member.c_str(), save.c_str(),
                                     KARVEX_EXTRACT_DEFAULT, onProgress, &progress);
    }
};

struct MemberSeen {
    std::string name;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
};

struct DetailedListing {
    std::vector<MemberSeen> seen;
    std::size_t cancelAfter = 0; // stop after this many members; 0: never
    bool otherThread = false;
    std::thread::id caller;
};

int onMember(void* context, const KarvexMemberInfo* member)
{
    auto& listing = *static_cast<DetailedListing*>(context);
    listing.seen.push_back(
        {std::string(member->name, member->nameLength), member->size, member->crc32});
    listing.otherThread = listing.otherThread || std::this_thread::get_id() != listing.caller;
    return listing.cancelAfter != 0 && listing.seen.size() >= listing.cancelAfter ? 1 : 0;
}

constexpr int kListRounds = 3;

// A few listings of one archive in a row, through one entry, and what each returned.
struct Lister {
    const TestArchive* archive = nullptr;
    bool detailed = false; // KarvexListMembers, else GetFileIndexList2
    std::size_t cancelAfter = 0;
    std::vector<std::int32_t> results;
    std::vector<std::vector<std::string>> names;
    std::vector<DetailedListing> detail;
    std::vector<KarvexListSummary> summaries;

    void run()
    {
        for (int round = 0; round < kListRounds; ++round) {
            if (!detailed) {
                const Listing listing = listArchive(archive->path);
                results.push_back(listing.result);
                names.push_back(listing.names);
                continue;
            }
            DetailedListing& listing = detail.emplace_back();
            listing.cancelAfter = cancelAfter;
            listing.caller = std::this_thread::get_id();
            KarvexListSummary& summary = summaries.emplace_back();
            summary.entries = 12345; // a cancelled listing leaves it alone
            results.push_back(
                KarvexListMembers(archive->path.c_str(), onMember, &listing, &summary));
        }
    }
};

std::vector<std::string> expectedContents(const std::vector<std::string>& files)
{
    std::set<std::string> entries;
    for (const std::string& file : files) {
        for (std::size_t slash = file.find('/'); slash != std::string::npos;
             slash = file.find('/', slash + 1)) {
            entries.insert(file.substr(0, slash));
        }
        entries.insert(file);
    }
    return {entries.begin(), entries.end()};
}

TEST(Concurrency, ListingsAndUnpacksOfTheSameAndOtherArchivesRunSideBySide)
{
    TempDir dir;
    // 报告/摘要.txt, 报告/Ä版.bin (Ä is one of GB18030's four-byte sequences) and 报告/附录.txt,
    // stored in GB18030.
    const TestArchive first = makeTestArchive(
        dir, "first.zqr",
        {plain("top.txt", 3000, 1), plain("tree/a/one.txt", 40000, 2),
         plain("tree/a/two.bin", 70000, 3, 0), plain("tree/a/b/three.txt", 100000, 4),
         plain("tree/a/b/four.txt", 5000, 5), plain("tree/c/five.txt", 1000, 6),
         plain("tree/a/b/large.bin", 3U << 20, 7),
         gb18030("\xB1\xA8\xB8\xE6/\xD5\xAA\xD2\xAA.txt", "报告/摘要.txt", 50000, 8),
         gb18030("\xB1\xA8\xB8\xE6/\x81\x30\x87\x32\xB0\xE6.bin", "报告/Ä版.bin", 20000, 9)});
    const TestArchive second = makeTestArchive(
        dir, "second.zqr",
        {plain("other/x/y/deep.txt", 60000, 10), plain("other/x/near.txt", 9000, 11, 0),
         gb18030("\xB1\xA8\xB8\xE6/\xB8\xBD\xC2\xBC.txt", "报告/附录.txt", 30000, 12),
         plain("other/large.bin", 2U << 20, 13)});

    const std::string shared = dir / "shared";
    std::filesystem::create_directory(shared);
    std::vector<Unpack> unpacks;
    std::vector<std::string> sharedFiles; // what the shared folder holds at the end
    // Every small member of both archives into the shared folder, the nested ones racing to
    // create the same folders; the large members of both, cancelled part-way, into folders
    // other unpacks need too.
    for (const TestArchive* archive : {&first, &second}) {
        for (const TestMember& m : archive->members) {
            Unpack& unpack = unpacks.emplace_back();
            unpack.archive = archive;
            unpack.member = m.listed;
            unpack.folder = shared;
            unpack.progress.cancel = m.data.size() > kCancelAt;
            // Half through each entry; the cancelled ones need the entry with progress.
            unpack.detailed = unpack.progress.cancel || unpacks.size() % 2 == 0;
            if (!unpack.progress.cancel) {
                sharedFiles.push_back(m.listed);
            }
        }
    }
    // Each member of the first archive into a folder of its own as well, through the entry with
    // progress; the large one is cancelled, and its folders must go with it.
    for (std::size_t i = 0; i < first.members.size(); ++i) {
        Unpack& unpack = unpacks.emplace_back();
        unpack.archive = &first;
        unpack.member = first.members[i].listed;
        unpack.folder = dir / ("own-" + std::to_string(i));
        unpack.detailed = true;
        unpack.progress.cancel = first.members[i].data.size() > kCancelAt;
        std::filesystem::create_directory(unpack.folder);
    }
    // The same member to the same path twice: one unpack names the file, the other finds it.
    const std::string race = dir / "race";
    std::filesystem::create_directory(race);
    for (int i = 0; i < 2; ++i) {
        Unpack& unpack = unpacks.emplace_back();
        unpack.archive = &first;
        unpack.member = "报告/摘要.txt";
        unpack.folder = race;
        unpack.detailed = i == 0;
    }

    std::vector<Lister> listers;
    for (const TestArchive* archive : {&first, &second}) {
        for (const bool detailedListing : {false, true}) {
            Lister& lister = listers.emplace_back();
            lister.archive = archive;
            lister.detailed = detailedListing;
        }
    }
    Lister& cancelledListing = listers.emplace_back();
    cancelledListing.archive = &first;
    cancelledListing.detailed = true;
    cancelledListing.cancelAfter = 3;

    std::latch start(static_cast<std::ptrdiff_t>(unpacks.size() + listers.size()));
    std::vector<std::thread> threads;
    threads.reserve(unpacks.size() + listers.size());
    for (Unpack& unpack : unpacks) {
        threads.emplace_back([&start, &unpack] {
            start.arrive_and_wait();
            unpack.run();
        });
    }
    for (Lister& lister : listers) {
        threads.emplace_back([&start, &lister] {
            start.arrive_and_wait();
            lister.run();
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    // Listings: every one complete and the same, whatever ran beside it.
    for (const Lister& lister : listers) {
        const std::vector<std::string> expected = lister.archive->listedNames();
        SCOPED_TRACE(lister.archive->path + (lister.detailed ? " (detailed)" : ""));
        ASSERT_EQ(lister.results.size(), static_cast<std::size_t>(kListRounds));
        for (int round = 0; round < kListRounds; ++round) {
            if (!lister.detailed) {
                EXPECT_EQ(lister.results[round], static_cast<std::int32_t>(expected.size()));
                EXPECT_THAT(lister.names[round], ElementsAreArray(expected));
                continue;
            }
            const DetailedListing& listing = lister.detail[round];
            const KarvexListSummary& summary = lister.summaries[round];
            EXPECT_FALSE(listing.otherThread);
            if (lister.cancelAfter != 0) {
                EXPECT_EQ(lister.results[round], KARVEX_E_CANCELLED);
                EXPECT_EQ(listing.seen.size(), lister.cancelAfter);
                EXPECT_EQ(summary.entries, 12345U);
                continue;
            }
            EXPECT_EQ(lister.results[round], KARVEX_OK);
            EXPECT_EQ(summary.entries, expected.size());
            EXPECT_EQ(summary.listed, expected.size());
            ASSERT_EQ(listing.seen.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const TestMember& m = lister.archive->members[i];
                EXPECT_EQ(listing.seen[i].name, m.listed);
                EXPECT_EQ(listing.seen[i].size, m.data.size());
            }
        }
    }

    // Unpacks: each finished as it should, with its progress from 0 to the whole on its own
    // thread, or cancelled part-way.
    int raceWinners = 0;
    for (const Unpack& unpack : unpacks) {
        SCOPED_TRACE(unpack.member + " into " + unpack.folder);
        const std::uint64_t size = unpack.archive->member(unpack.member).data.size();
        const auto& calls = unpack.progress.calls;
        if (unpack.folder == race) {
            EXPECT_TRUE(unpack.result == KARVEX_OK || unpack.result == KARVEX_E_EXISTS)
                << unpack.result;
            raceWinners += unpack.result == KARVEX_OK ? 1 : 0;
        } else if (unpack.progress.cancel) {
            EXPECT_EQ(unpack.result, KARVEX_E_CANCELLED);
            ASSERT_FALSE(calls.empty());
            EXPECT_GE(calls.back().first, kCancelAt);
            EXPECT_LT(calls.back().first, size);
        } else {
            EXPECT_EQ(unpack.result, KARVEX_OK);
        }
        EXPECT_FALSE(unpack.progress.otherThread);
        if (unpack.detailed && unpack.result == KARVEX_OK) {
            ASSERT_GE(calls.size(), 2U);
            EXPECT_EQ(calls.front(), std::make_pair(std::uint64_t{0}, size));
            EXPECT_EQ(calls.back(), std::make_pair(size, size));
        }
        for (std::size_t i = 1; i < calls.size(); ++i) {
            EXPECT_GE(calls[i].first, calls[i - 1].first);
        }
    }
    EXPECT_EQ(raceWinners, 1);

    // Files: every byte as the archive holds it; nothing of the cancelled ones, not even a
    // temporary file or a folder of their own.
    EXPECT_THAT(folderContents(shared), ElementsAreArray(expectedContents(sharedFiles)));
    for (const Unpack& unpack : unpacks) {
        const TestMember& m = unpack.archive->member(unpack.member);
        const std::string path = unpack.folder + "/" + m.listed;
        if (unpack.progress.cancel) {
            EXPECT_FALSE(std::filesystem::exists(path)) << path;
            if (unpack.folder != shared) {
                EXPECT_THAT(folderContents(unpack.folder), IsEmpty()) << unpack.folder;
            }
        } else {
            EXPECT_EQ(readFile(path), m.data) << path;
            if (unpack.folder != shared) {
                EXPECT_THAT(folderContents(unpack.folder),
                            ElementsAreArray(expectedContents({m.listed})))
                    << unpack.folder;
            }
        }
    }
}

} // namespace
} // namespace karvex_test
