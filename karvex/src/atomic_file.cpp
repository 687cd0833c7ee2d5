#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace karvex {
namespace {

constexpr unsigned kRenameNoReplace = 1U << 0;

Error writeError(int error)
{
    return error == ENOSPC || error == EDQUOT ? Error::NoSpace : Error::Write;
}

// renameat2 with RENAME_NOREPLACE, through syscall() so that older C libraries build it too.
int renameNoReplace(int folderFd, const char* from, const char* to)
{
#ifdef SYS_renameat2
    return static_cast<int>(
        ::syscall(SYS_renameat2, folderFd, from, folderFd, to, kRenameNoReplace));
#else
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

AtomicFile::~AtomicFile()
{
    if (!temporaryName_.empty()) {
        ::unlinkat(folderFd_, temporaryName_.c_str(), 0);
    }
}

Error AtomicFile::create(int folderFd, std::unique_ptr<AtomicFile>& out, Temporary temporary)
{
    std::unique_ptr<AtomicFile> file(new AtomicFile(folderFd));
    if (temporary == Temporary::Unnamed) {
        file->fd_.reset(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (!file->fd_.valid() && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL &&
            errno != ENOENT) {
            return writeError(errno);
        }
    }
    if (!file->fd_.valid()) {
        std::random_device random;
        for (int attempt = 0; attempt < 16 && !file->fd_.valid(); ++attempt) {
            char name[40];
            std::snprintf(name, sizeof name, ".karvex-%08x%08x.part", random(), random());
            file->fd_.reset(::openat(folderFd, name,
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (file->fd_.valid()) {
                file->temporaryName_ = name;
            } else if (errno != EEXIST) {
                return writeError(errno);
            }
        }
        if (!file->fd_.valid()) {
            return Error::Write;
        }
    }
    out = std::move(file);
    return Error::None;
}

Error AtomicFile::write(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd_.get(), data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return writeError(errno);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return Error::None;
}

Error AtomicFile::publish(const std::string& leaf)
{
    if (temporaryName_.empty()) {
        // Linking an unnamed file by its /proc entry needs no privilege; AT_EMPTY_PATH does.
        char procPath[64];
        std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd_.get());
        int result = ::linkat(AT_FDCWD, procPath, folderFd_, leaf.c_str(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno == ENOENT) {
            result = ::linkat(fd_.get(), "", folderFd_, leaf.c_str(), AT_EMPTY_PATH);
        }
        if (result == 0) {
            return Error::None;
        }
        return errno == EEXIST ? Error::Exists : writeError(errno);
    }

    // A hard link never replaces an existing name; file systems without links get a
    // no-replace rename, and only where even that is missing a check just before the rename.
    if (::linkat(folderFd_, temporaryName_.c_str(), folderFd_, leaf.c_str(), 0) == 0) {
        return Error::None; // the destructor removes the temporary name
    }
    if (errno == EEXIST) {
        return Error::Exists;
    }
    if (renameNoReplace(folderFd_, temporaryName_.c_str(), leaf.c_str()) != 0) {
        if (errno == EEXIST) {
            return Error::Exists;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return writeError(errno);
        }
        struct stat st {};
        if (::fstatat(folderFd_, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            return Error::Exists;
        }
        if (::renameat(folderFd_, temporaryName_.c_str(), folderFd_, leaf.c_str()) != 0) {
            return writeError(errno);
        }
    }
    temporaryName_.clear();
    return Error::None;
}

} // namespace karvex
