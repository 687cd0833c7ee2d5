// Folders of the user's own that the program may write into when the folder it works in cannot
// be written.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace host {

// The program's private cache folder `name` under the user's cache folder ($XDG_CACHE_HOME, or
// ~/.cache when that is unset or not absolute), created when missing. It is the user's alone
// (mode 0700), a real folder, never a link. No value when it cannot be had. Safe on any thread.
std::optional<std::string> PrivateCacheFolder(const std::string& name);

// A folder of the program's own inside its private cache folder, held by this process for as
// long as the object lives: a lock on the folder that ends with the process, however it ends,
// so that a later run can tell a folder still in use from one a killed run left behind
// (RemoveAbandonedCacheFolders). What the folder holds is its owner's to remove; the object's
// end only lets go of the hold.
class HeldCacheFolder {
public:
    // A new, empty folder named `prefix` and a number in the private cache folder `cacheName`,
    // held from the moment it has that name; none when it cannot be had.
    static std::unique_ptr<HeldCacheFolder> create(const std::string& cacheName,
                                                   const std::string& prefix);
    HeldCacheFolder(const HeldCacheFolder&) = delete;
    HeldCacheFolder& operator=(const HeldCacheFolder&) = delete;
    ~HeldCacheFolder();

    [[nodiscard]] const std::string& path() const { return path_; }

private:
    HeldCacheFolder(std::string path, int descriptor);

    std::string path_;
    int descriptor_;
};

// Removes, with everything in them, the folders named `prefix` and a number in the private cache
// folder `cacheName` that no running process holds: those a run that was killed left behind.
// Links are removed, never followed; nothing else in the cache folder is touched, and neither
// is a folder whose hold cannot be tested (a file system without locks). Creates nothing.
// Answers how many folders it removed.
int RemoveAbandonedCacheFolders(const std::string& cacheName, const std::string& prefix);

} // namespace host
