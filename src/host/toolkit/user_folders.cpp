#include "host/toolkit/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace host
