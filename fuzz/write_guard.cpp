#include "write_guard.h"

#include "list_contract.h"

#include <cstdarg>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <limits.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// The linker's --wrap fixes these names: __wrap_X replaces X, __real_X is the original.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_openat(int dirfd, const char* path, int flags, ...);
int __real_mkdirat(int dirfd, const char* path, mode_t mode);
int __real_linkat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, int flags);
int __real_renameat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath);
int __real_unlinkat(int dirfd, const char* path, int flags);
long __real_syscall(long number, ...);
}

namespace karvex_fuzz {
namespace {

bool guarding = false;
std::string allowedFolder; // empty: nothing may be written

std::string folderOf(int dirfd)
{
    if (dirfd == AT_FDCWD) {
        return std::filesystem::current_path().string();
    }
    char link[64];
    char target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    if (length < 0) {
        fail("the library used a folder descriptor that is not open");
    }
    return std::string(target, static_cast<std::size_t>(length));
}

// Aborts when `path`, taken relative to the folder open on `dirfd`, is not inside the allowed
// folder. The path is judged as written: "..", however deep, counts against it.
void police(const char* call, int dirfd, const char* path)
{
    if (!guarding) {
        return;
    }
    if (allowedFolder.empty()) {
        fail(std::string(call) + " wrote while no write was expected", path != nullptr ? path : "");
    }
    std::filesystem::path full(path != nullptr ? path : "");
    if (!full.is_absolute()) {
        full = std::filesystem::path(folderOf(dirfd)) / full;
    }
    const std::string normal = full.lexically_normal().string();
    const std::string_view inside(normal);
    if (inside != allowedFolder &&
        (inside.substr(0, allowedFolder.size()) != allowedFolder ||
         inside.size() <= allowedFolder.size() || inside[allowedFolder.size()] != '/')) {
        fail(std::string(call) + " reached outside the save folder", normal);
    }
}

bool writes(int flags)
{
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0 ||
           (flags & O_TMPFILE) == O_TMPFILE;
}

} // namespace

WriteGuard::WriteGuard(const std::string& folder)
{
    allowedFolder = folder.empty() ? std::string() : std::filesystem::canonical(folder).string();
    guarding = true;
}

WriteGuard::~WriteGuard()
{
    guarding = false;
    allowedFolder.clear();
}

} // namespace karvex_fuzz

using karvex_fuzz::police;

extern "C" {

int __wrap_open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const auto mode = static_cast<mode_t>(va_arg(args, unsigned));
    va_end(args);
    if (karvex_fuzz::writes(flags)) {
        police("open", AT_FDCWD, path);
    }
    return __real_open(path, flags, mode);
}

int __wrap_openat(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const auto mode = static_cast<mode_t>(va_arg(args, unsigned));
    va_end(args);
    if (karvex_fuzz::writes(flags)) {
        police("openat", dirfd, path);
    }
    return __real_openat(dirfd, path, flags, mode);
}

int __wrap_mkdirat(int dirfd, const char* path, mode_t mode)
{
    police("mkdirat", dirfd, path);
    return __real_mkdirat(dirfd, path, mode);
}

int __wrap_linkat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, int flags)
{
    police("linkat", newdirfd, newpath);
    return __real_linkat(olddirfd, oldpath, newdirfd, newpath, flags);
}

int __wrap_renameat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath)
{
    police("renameat", olddirfd, oldpath);
    police("renameat", newdirfd, newpath);
    return __real_renameat(olddirfd, oldpath, newdirfd, newpath);
}

int __wrap_unlinkat(int dirfd, const char* path, int flags)
{
    police("unlinkat", dirfd, path);
    return __real_unlinkat(dirfd, path, flags);
}

long __wrap_syscall(long number, ...)
{
    va_list args;
    va_start(args, number);
    long a[6];
    for (long& value : a) {
        value = va_arg(args, long);
    }
    va_end(args);
    // The arguments of renameat2 arrive as integers; two of them are paths.
    // NOLINTBEGIN(performance-no-int-to-ptr)
    if (number == SYS_renameat2) {
        police("renameat2", static_cast<int>(a[0]), reinterpret_cast<const char*>(a[1]));
        police("renameat2", static_cast<int>(a[2]), reinterpret_cast<const char*>(a[3]));
    } else if (karvex_fuzz::guarding && number != SYS_getrandom) {
        karvex_fuzz::fail("the library made a system call the guard cannot judge: " +
                          std::to_string(number));
    }
    // NOLINTEND(performance-no-int-to-ptr)
    return __real_syscall(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}

} // extern "C"
// NOLINTEND(bugprone-reserved-identifier)
