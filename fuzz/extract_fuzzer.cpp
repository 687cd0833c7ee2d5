// Fuzzes extraction: any bytes become a .zqr file; every member it lists (up to kMembersPerInput)
// is unpacked into a fresh folder, some through the entry with progress (some of those
// cancelled). The member must be found under its listed name, the file must
// appear whole or not at all (no partial or temporary file, no folder left behind by a failure),
// nothing may be written outside that folder, and a second unpacking must refuse to overwrite the
// first, or take it as identical when asked to.
#include "karvex/karvex.h"
#include "list_contract.h"
#include "sandbox.h"
#include "write_guard.h"

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Unpacked files are capped well below what a deflate bomb of the fuzzer's largest input could
// declare, so a run cannot fill the disk; the library must turn the cut into a clean failure.
constexpr rlim_t kFileSizeLimit = 16U << 20;
constexpr std::size_t kNameMax = 255;
// Each unpacking opens the archive afresh, so unpacking all of the thousand-odd members a 64 KiB
// input can hold takes time that grows with the square of their number, and would be reported as
// a hang of a library that does nothing wrong. The list is still checked whole.
constexpr std::size_t kMembersPerInput = 64;

bool hasOverlongComponent(const std::string& name)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('/', start);
        const std::size_t length = (end == std::string::npos ? name.size() : end) - start;
        if (length > kNameMax) {
            return true;
        }
        if (end == std::string::npos) {
            return false;
        }
        start = end + 1;
    }
}

// The results a member the library listed may legitimately end in, in an empty folder.
bool isAcceptableResult(std::int32_t result, const std::string& name)
{
    switch (result) {
    case KARVEX_OK:
    case KARVEX_E_ENCRYPTED:
    case KARVEX_E_UNSUPPORTED_METHOD:
    case KARVEX_E_NO_SPACE:
    case KARVEX_E_SIZE_MISMATCH:
    case KARVEX_E_BAD_CRC:
    case KARVEX_E_CORRUPT_DATA:
    case KARVEX_E_WRITE:
    case KARVEX_E_TOO_BIG:
    case KARVEX_E_CANCELLED:
    case KARVEX_E_NEEDS_MEMORY:
    case KARVEX_E_HEADER_MISMATCH:
        return true;
    case KARVEX_E_NAME_TOO_LONG:
        return name.size() > kNameMax; // with the sandbox's path in front, too long to open
    case KARVEX_E_SAVE_FOLDER:
        return hasOverlongComponent(name); // the file system refuses the folder's name
    default:
        return false;
    }
}

// The folders of a nested name and the file itself, as treeOf lists them.
std::set<std::string> expectedTree(const std::string& name)
{
    std::set<std::string> tree{name};
    for (std::size_t at = name.find('/'); at != std::string::npos; at = name.find('/', at + 1)) {
        tree.insert(name.substr(0, at + 1));
    }
    return tree;
}

std::string joined(const std::set<std::string>& paths)
{
    std::string text;
    for (const std::string& path : paths) {
        text += text.empty() ? "" : " | ";
        text += path;
    }
    return text;
}

// How one member is unpacked: as the viewer always did, or through the entry with progress,
// which may cancel part-way.
enum class Way { Plain, WithProgress, Cancelled };

struct Progress {
    std::uint64_t total = 0;
    std::uint64_t last = 0;
    int calls = 0;
    bool cancel = false;
};

int onProgress(void* context, std::uint64_t done, std::uint64_t total)
{
    auto& progress = *static_cast<Progress*>(context);
    if ((progress.calls > 0 && (done < progress.last || total != progress.total)) || done > total) {
        karvex_fuzz::fail("progress went backwards, past its total, or changed its total");
    }
    progress.total = total;
    progress.last = done;
    ++progress.calls;
    return progress.cancel && done > 0 ? 1 : 0;
}

std::int32_t extract(const std::string& archive, const std::string& name, const fs::path& folder,
                     Way way = Way::Plain)
{
    std::string archiveArg = archive;
    std::string nameArg = name;
    const std::string save = folder.string() + "/" + name;
    std::string saveArg = save;
    std::int32_t result = 0;
    Progress progress;
    progress.cancel = way == Way::Cancelled;
    {
        const karvex_fuzz::WriteGuard guard(folder.string());
        result = way == Way::Plain
                     ? GetFileFromZipFile2(archiveArg.data(), nameArg.data(), saveArg.data())
                     : KarvexExtractMember(archive.c_str(), name.c_str(), save.c_str(), 0,
                                           onProgress, &progress);
    }
    if (archiveArg != archive || nameArg != name || saveArg != save) {
        karvex_fuzz::fail("GetFileFromZipFile2 changed one of its strings", name);
    }
    if (result == KARVEX_OK && way != Way::Plain &&
        (progress.calls < 2 || progress.last != progress.total)) {
        karvex_fuzz::fail("a finished unpack did not report its end", name);
    }
    return result;
}

void checkNotOverwritten(const std::string& archive, const std::string& name,
                         const fs::path& folder)
{
    const std::string save = folder.string() + "/" + name;
    struct stat before {};
    struct stat after {};
    if (::lstat(save.c_str(), &before) != 0) {
        karvex_fuzz::fail("a successful unpacking left no file", name);
    }
    const std::int32_t again = extract(archive, name, folder);
    if (again != KARVEX_E_EXISTS) {
        karvex_fuzz::fail("unpacking over an existing file gave " + std::to_string(again), name);
    }
    std::int32_t identical = 0;
    {
        const karvex_fuzz::WriteGuard guard(folder.string());
        identical = KarvexExtractMember(archive.c_str(), name.c_str(), save.c_str(),
                                        KARVEX_EXTRACT_ACCEPT_IDENTICAL, nullptr, nullptr);
    }
    if (identical != KARVEX_IDENTICAL_EXISTS) {
        karvex_fuzz::fail(
            "the file just unpacked is not taken as identical: " + std::to_string(identical), name);
    }
    if (::lstat(save.c_str(), &after) != 0 || after.st_ino != before.st_ino ||
        after.st_size != before.st_size || after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
        after.st_mtim.tv_nsec != before.st_mtim.tv_nsec) {
        karvex_fuzz::fail("a refused second unpacking changed the first file", name);
    }
}

// Unpacks one listed member into a fresh folder and checks what it left there and around it.
// Returns true when the member was unpacked.
bool extractAndCheck(karvex_fuzz::Sandbox& sandbox, const std::string& archive,
                     const std::string& name, bool checkOverwrite, Way way)
{
    const fs::path folder = sandbox.makeSaveFolder();
    const std::int32_t result = extract(archive, name, folder, way);
    if (!isAcceptableResult(result, name)) {
        karvex_fuzz::fail("unpacking a listed member gave " + std::to_string(result), name);
    }

    const std::set<std::string> tree = karvex_fuzz::treeOf(folder);
    if (result == KARVEX_OK && tree != expectedTree(name)) {
        karvex_fuzz::fail("unpacking left more or less than the member: " + joined(tree), name);
    }
    if (result != KARVEX_OK && !tree.empty()) {
        karvex_fuzz::fail("a failed unpacking (" + std::to_string(result) +
                              ") left files behind: " + joined(tree),
                          name);
    }
    sandbox.checkNothingOutside(folder);
    if (result == KARVEX_OK && checkOverwrite) {
        checkNotOverwritten(archive, name, folder);
    }
    fs::remove_all(folder);
    return result == KARVEX_OK;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Past the limit write() fails with EFBIG instead of the process being killed.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > kFileSizeLimit) {
        limit.rlim_cur = kFileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static karvex_fuzz::Sandbox sandbox;
    const std::string& archive = sandbox.writeArchive(data, size);
    const karvex_fuzz::Listing listing = karvex_fuzz::listAndCheck(archive);
    const std::size_t count = std::min(listing.names.size(), kMembersPerInput);
    bool overwriteChecked = false;
    for (std::size_t i = 0; i < count; ++i) {
        // The refusal to overwrite takes the same path for every member: once per input is enough.
        // Every third member goes through the entry with progress, and every fifth of those is
        // cancelled part-way.
        const Way way = i % 3 != 1 ? Way::Plain : i % 5 == 1 ? Way::Cancelled : Way::WithProgress;
        if (extractAndCheck(sandbox, archive, listing.names[i], !overwriteChecked, way)) {
            overwriteChecked = true;
        }
    }
    return 0;
}
