#include "host/toolkit/user_folders.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace host {

namespace {

std::optional<std::string> cacheBase()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return std::string(cache);
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.cache";
    }
    return std::nullopt;
}

bool sameFile(const struct stat& one, const struct stat& other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// Whether `name` is `prefix` followed by a number, the names of held folders.
bool isHeldFolderName(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t at = prefix.size(); at < name.size(); ++at) {
        if (name[at] < '0' || name[at] > '9') {
            return false;
        }
    }
    return true;
}

// The names in the folder open as `folder`, without "." and "..".
std::vector<std::string> namesIn(int folder)
{
    std::vector<std::string> names;
    const int reading = ::dup(folder);
    if (reading < 0) {
        return names;
    }
    DIR* listing = ::fdopendir(reading);
    if (listing == nullptr) {
        ::close(reading);
        return names;
    }
    ::rewinddir(listing);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name; // NOLINT(*-array-to-pointer-decay)
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(listing);
    return names;
}

// Removes what the folder open as `folder` holds, through descriptors, so that a link met on the
// way is removed itself and never followed. Folders nested deeper than any the program makes are
// left, and so is the folder holding them.
void removeContents(int folder, int depth)
{
    constexpr int kDeepest = 16;
    for (const std::string& name : namesIn(folder)) {
        struct stat status {};
        if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (!S_ISDIR(status.st_mode)) {
            ::unlinkat(folder, name.c_str(), 0);
            continue;
        }
        if (depth >= kDeepest) {
            continue;
        }
        const int inner =
            ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inner >= 0) {
            removeContents(inner, depth + 1);
            ::close(inner);
            ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
        }
    }
}

} // namespace

std::optional<std::string> PrivateCacheFolder(const std::string& name)
{
    const std::optional<std::string> base = cacheBase();
    if (!base) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(*base, error);
    const std::string folder = *base + "/" + name;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    // One that was there already must be ours and a real folder: a link or another user's folder
    // would hand what the user opens to someone else.
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid()) {
        return std::nullopt;
    }
    if ((status.st_mode & 0777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
        return std::nullopt;
    }
    return folder;
}

HeldCacheFolder::HeldCacheFolder(std::string path, int descriptor)
    : path_(std::move(path)), descriptor_(descriptor)
{
}

HeldCacheFolder::~HeldCacheFolder()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_); // the hold ends with it
    }
}

std::unique_ptr<HeldCacheFolder> HeldCacheFolder::create(const std::string& cacheName,
                                                         const std::string& prefix)
{
    const std::optional<std::string> cache = PrivateCacheFolder(cacheName);
    if (!cache) {
        return nullptr;
    }
    // Other runs share the cache: a name taken already is passed over.
    std::uint32_t number = std::random_device{}();
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        std::string folder = *cache + "/" + prefix + std::to_string(number);
        if (::mkdir(folder.c_str(), 0700) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return nullptr;
        }
        // The hold is a shared lock on the folder, taken through a descriptor that no program
        // this one starts inherits; the kernel lets go of it when the process ends. Shared, so
        // that what writes into the folder may lock it too (the archive library takes a shared
        // lock on the folder it unpacks into); a run that removes folders needs it exclusively.
        const int descriptor =
            ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (descriptor < 0) {
            continue;
        }
        if (::flock(descriptor, LOCK_SH | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                // Another run found it unheld a moment ago and is removing it: a new name.
                ::close(descriptor);
                continue;
            }
            // A file system without locks: the folder serves unheld, and no run removes it
            // either, since none can tell whether its owner runs.
        }
        // Another run may have removed the folder between its making and the hold: the name
        // must still be the folder held.
        struct stat held {};
        struct stat named {};
        if (::fstat(descriptor, &held) != 0 || ::lstat(folder.c_str(), &named) != 0 ||
            !sameFile(held, named)) {
            ::close(descriptor);
            continue;
        }
        return std::unique_ptr<HeldCacheFolder>(new HeldCacheFolder(std::move(folder), descriptor));
    }
    return nullptr;
}

int RemoveAbandonedCacheFolders(const std::string& cacheName, const std::string& prefix)
{
    const std::optional<std::string> base = cacheBase();
    if (!base) {
        return 0;
    }
    const std::string path = *base + "/" + cacheName;
    const int cache = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (cache < 0) {
        return 0;
    }
    int removed = 0;
    struct stat cacheStatus {};
    // Only the program's own cache folder, as PrivateCacheFolder makes it.
    if (::fstat(cache, &cacheStatus) == 0 && cacheStatus.st_uid == ::getuid()) {
        for (const std::string& name : namesIn(cache)) {
            if (!isHeldFolderName(name, prefix)) {
                continue;
            }
            // A link or a file of such a name is not one of the folders: it is left alone.
            const int folder =
                ::openat(cache, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (folder < 0) {
                continue;
            }
            // Held by a running program, or on a file system that cannot tell: left alone.
            if (::flock(folder, LOCK_EX | LOCK_NB) == 0) {
                removeContents(folder, 0);
                // Removed by its name only while the name is still the folder emptied.
                struct stat emptied {};
                struct stat named {};
                if (::fstat(folder, &emptied) == 0 &&
                    ::fstatat(cache, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                    sameFile(emptied, named) &&
                    ::unlinkat(cache, name.c_str(), AT_REMOVEDIR) == 0) {
                    ++removed;
                }
            }
            ::close(folder);
        }
    }
    ::close(cache);
    return removed;
}

} // namespace host
