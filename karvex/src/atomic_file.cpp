#include "atomic_file.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <signal.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace karvex {
namespace {

constexpr unsigned kRenameNoReplace = 1U << 0;
constexpr time_t kStaleAfterSeconds = 60;

Error writeError(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return Error::NoSpace;
    case EACCES:
    case EPERM:
    case EROFS:
        return Error::Permission;
    default:
        return Error::Write;
    }
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

// The process that made the temporary file `name` (".karvex-PID-RANDOM.part"), or 0 when the
// name is not one of them.
pid_t temporaryFileOwner(std::string_view name)
{
    constexpr std::string_view kPrefix = ".karvex-";
    constexpr std::string_view kSuffix = ".part";
    constexpr std::size_t kRandomDigits = 16;
    if (name.substr(0, kPrefix.size()) != kPrefix) {
        return 0;
    }
    name.remove_prefix(kPrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    name.remove_prefix(static_cast<std::size_t>(end - name.data()));
    if (error != std::errc() || name.size() != 1 + kRandomDigits + kSuffix.size() ||
        name.front() != '-' || name.substr(1 + kRandomDigits) != kSuffix ||
        name.substr(1, kRandomDigits).find_first_not_of("0123456789abcdef") !=
            std::string_view::npos) {
        return 0;
    }
    return pid;
}

// Whether anyone still writes the temporary file `name`: its writer holds an exclusive lock on
// it from the moment it exists, and the kernel drops the lock when the writer dies, whatever
// PID namespace it ran in.
enum class Writer { Present, Gone, Unknown };
Writer writerOf(int folderFd, const char* name)
{
    const UniqueFd fd(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid()) {
        return Writer::Unknown;
    }
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return Writer::Present; // not a part file of ours: never removed
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
        return Writer::Gone;
    }
    return errno == EWOULDBLOCK ? Writer::Present : Writer::Unknown;
}

// Temporary files left by a process that died (killed mid-unpack on a file system without
// unnamed files) are removed by the next unpack into their folder, before it counts the free
// space. A file whose process still runs, or whose lock is still held (its process may live in
// another PID namespace), is left alone; where the file system cannot say, so is one written
// to in the last minute.
void removeStaleTemporaries(int folderFd)
{
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (folder == nullptr) {
        if (listFd >= 0) {
            ::close(listFd);
        }
        return;
    }
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(folder)) {
        const pid_t pid = temporaryFileOwner(entry->d_name);
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) {
            continue;
        }
        const Writer writer = writerOf(folderFd, entry->d_name);
        struct stat st {};
        if (writer == Writer::Present ||
            (writer == Writer::Unknown &&
             (::fstatat(folderFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
              !S_ISREG(st.st_mode) || now - st.st_mtime < kStaleAfterSeconds))) {
            continue;
        }
        ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(folder);
}

// The named temporary files being written, kept where a signal handler can read them without
// allocating or locking: a fixed table of folder descriptors and names. A slot is Free, being
// Filled by its writer, or Recorded; the handler reads Recorded slots only. An unpack that
// finds no free slot still works, it is just not cleaned up on a signal.
enum SlotState : int { Free, Filling, Recorded };
struct SignalSlot {
    std::atomic<int> state{Free};
    int folderFd = -1;
    char name[64] = {};
};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the slots");
constexpr int kSignalSlots = 32;
SignalSlot signalSlots[kSignalSlots];

int recordForSignals(int folderFd, const char* name)
{
    for (int i = 0; i < kSignalSlots; ++i) {
        int expected = Free;
        if (signalSlots[i].state.compare_exchange_strong(expected, Filling)) {
            signalSlots[i].folderFd = folderFd;
            std::snprintf(signalSlots[i].name, sizeof signalSlots[i].name, "%s", name);
            signalSlots[i].state.store(Recorded, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

void forgetForSignals(int& slot)
{
    if (slot >= 0) {
        signalSlots[slot].state.store(Free, std::memory_order_release);
        slot = -1;
    }
}

} // namespace

void removeTemporaryFilesNow() noexcept
{
    for (SignalSlot& slot : signalSlots) {
        if (slot.state.load(std::memory_order_acquire) == Recorded) {
            ::unlinkat(slot.folderFd, slot.name, 0);
        }
    }
}

template <typename Make> bool AtomicFile::takeTemporaryName(Make make)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".karvex-%d-%08x%08x.part", static_cast<int>(::getpid()),
                      random(), random());
        // Recorded before the file exists, so no moment passes in which a signal would leave
        // it behind; a name carrying this process's number is nobody else's to lose.
        signalSlot_ = recordForSignals(folderFd_, name);
        if (make(name) == 0) {
            // Held until the file is closed: how a later unpack tells a dead writer's part.
            ::flock(fd_.get(), LOCK_EX | LOCK_NB);
            temporaryName_ = name;
            return true;
        }
        const int cause = errno;
        forgetForSignals(signalSlot_);
        if (cause != EEXIST) {
            errno = cause;
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

void AtomicFile::dropTemporaryName()
{
    temporaryName_.clear();
    forgetForSignals(signalSlot_);
}

AtomicFile::~AtomicFile()
{
    if (!temporaryName_.empty()) {
        ::unlinkat(folderFd_, temporaryName_.c_str(), 0);
    }
    forgetForSignals(signalSlot_);
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
        removeStaleTemporaries(folderFd);
        AtomicFile& named = *file;
        const bool made = named.takeTemporaryName([&named](const char* name) {
            named.fd_.reset(::openat(named.folderFd_, name,
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            return named.fd_.valid() ? 0 : -1;
        });
        if (!made) {
            return errno == EEXIST ? Error::Write : writeError(errno);
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
    dropTemporaryName();
    return Error::None;
}

Error AtomicFile::publishReplacing(const std::string& leaf)
{
    if (temporaryName_.empty()) {
        // An unnamed file can only be linked to a new name: give it a hidden one first.
        char procPath[64];
        std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd_.get());
        const bool linked = takeTemporaryName([this, &procPath](const char* name) {
            return ::linkat(AT_FDCWD, procPath, folderFd_, name, AT_SYMLINK_FOLLOW);
        });
        if (!linked) {
            return writeError(errno);
        }
    }
    if (::renameat(folderFd_, temporaryName_.c_str(), folderFd_, leaf.c_str()) != 0) {
        return errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST ? Error::Exists
                                                                        : writeError(errno);
    }
    dropTemporaryName();
    return Error::None;
}

} // namespace karvex
