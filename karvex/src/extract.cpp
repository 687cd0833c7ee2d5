#include "extract.h"

#include "archive.h"
#include "atomic_file.h"
#include "checksum.h"
#include "free_space.h"
#include "member_reader.h"
#include "names.h"
#include "progress_sink.h"
#include "unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace karvex {
namespace {

std::vector<std::string> splitComponents(std::string_view name)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('/', start);
        components.emplace_back(name.substr(start, end - start));
        if (end == std::string_view::npos) {
            return components;
        }
        start = end + 1;
    }
}

bool isSymlinkAt(int folderFd, const std::string& name)
{
    struct stat st {};
    return ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// The cause of a failure to open or create a folder, from its errno.
Error folderError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return Error::Permission;
    case ENOSPC:
    case EDQUOT:
        return Error::NoSpace;
    case ENAMETOOLONG:
        return Error::NameTooLong;
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return Error::Internal;
    default:
        return Error::SaveFolder;
    }
}

// The folders from the save folder down to the member's own folder, each opened without
// following links. Only two stay open (the save folder and the innermost one), so a member
// nested a thousand folders deep needs no more descriptors than a flat one.
//
// Folders this unpack created are removed again when it fails, deepest first, unless another
// unpack into the same save folder is running: every unpack holds a shared lock on the save
// folder, and removal needs it exclusively, so a folder another unpack is about to name its
// file in is never taken away.
class FolderChain {
public:
    FolderChain() = default;
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;
    ~FolderChain()
    {
        if (!keep_ && firstCreated_ < chain_.size() &&
            ::flock(root_.get(), LOCK_EX | LOCK_NB) == 0) {
            removeCreated();
        }
    }

    Error openRoot(const std::string& path)
    {
        root_.reset(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!root_.valid()) {
            return folderError(errno);
        }
        struct stat st {};
        if (::fstat(root_.get(), &st) == 0) {
            rootId_ = {st.st_dev, st.st_ino};
        }
        while (::flock(root_.get(), LOCK_SH) != 0 && errno == EINTR) {
        }
        return Error::None;
    }

    Error descend(const std::string& name)
    {
        const int parent = innermost();
        bool created = false;
        if (::mkdirat(parent, name.c_str(), 0777) == 0) {
            created = true;
        } else if (errno != EEXIST) {
            return folderError(errno);
        }
        UniqueFd fd(
            ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0) {
            const int cause = errno;
            if (created) {
                ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
            }
            return isSymlinkAt(parent, name) ? Error::Symlink : folderError(cause);
        }
        if (created && firstCreated_ == SIZE_MAX) {
            firstCreated_ = chain_.size();
        }
        chain_.push_back({name, {st.st_dev, st.st_ino}});
        inner_ = std::move(fd);
        return Error::None;
    }

    int innermost() const { return inner_.valid() ? inner_.get() : root_.get(); }
    void keep() { keep_ = true; }

private:
    struct FolderId {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FolderId&) const = default;
    };
    struct Link {
        std::string name;
        FolderId id;
    };

    static bool idOf(int fd, const char* name, FolderId& id)
    {
        struct stat st {};
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) {
            return false;
        }
        id = {st.st_dev, st.st_ino};
        return true;
    }

    // Removes the created folders deepest first, climbing from the innermost one through ".."
    // (one step per level, so the work grows with the depth, not its square). Each step checks
    // that the parent reached is the folder this unpack went through and that it still holds
    // the child under its name; anything moved or replaced meanwhile stops the removal, and
    // only empty folders can go.
    void removeCreated()
    {
        UniqueFd current = std::move(inner_);
        for (std::size_t depth = chain_.size(); depth-- > firstCreated_;) {
            UniqueFd parent(::openat(current.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            FolderId parentId;
            FolderId childId;
            if (!parent.valid() || !idOf(parent.get(), ".", parentId) ||
                parentId != (depth == 0 ? rootId_ : chain_[depth - 1].id) ||
                !idOf(parent.get(), chain_[depth].name.c_str(), childId) ||
                childId != chain_[depth].id) {
                return;
            }
            current = std::move(parent);
            if (::unlinkat(current.get(), chain_[depth].name.c_str(), AT_REMOVEDIR) != 0) {
                return;
            }
        }
    }

    UniqueFd root_;
    UniqueFd inner_;
    FolderId rootId_;
    std::vector<Link> chain_; // each folder below the save folder, outermost first
    std::size_t firstCreated_ = SIZE_MAX;
    bool keep_ = false;
};

Error checkRequestedMember(const char* member)
{
    switch (checkRequestedName(member)) {
    case NameProblem::None:
        return Error::None;
    case NameProblem::Separator:
        return Error::SeparatorInName;
    case NameProblem::Undecodable:
        return Error::NoMember;
    case NameProblem::TooLong:
        return Error::NameTooLong;
    default:
        return Error::UnsafeName;
    }
}

// The save folder of a save path that must be the folder, a "/", and the member name: nothing
// else may be written.
Error saveFolderOf(const char* member, const char* savePath, std::string& folder)
{
    const std::string_view save(savePath);
    const std::string_view name(member);
    if (save.size() < name.size() + 1 || save.substr(save.size() - name.size()) != name ||
        save[save.size() - name.size() - 1] != '/') {
        return Error::SavePath;
    }
    // A save path of "/name" has the root as its folder.
    const std::size_t folderSize = std::max<std::size_t>(save.size() - name.size() - 1, 1);
    folder.assign(savePath, folderSize);
    return Error::None;
}

// The folder and file name of a path the user chose to save a copy under; nothing when it names
// no file.
struct SaveAsPath {
    std::string folder;
    std::string leaf;
};
std::optional<SaveAsPath> splitSaveAsPath(std::string_view savePath)
{
    const std::size_t slash = savePath.rfind('/');
    const std::string_view leaf = savePath.substr(slash == std::string_view::npos ? 0 : slash + 1);
    if (leaf.empty() || leaf == "." || leaf == "..") {
        return std::nullopt;
    }
    const std::string_view folder = slash == std::string_view::npos
                                        ? std::string_view(".")
                                        : savePath.substr(0, std::max<std::size_t>(slash, 1));
    return SaveAsPath{std::string(folder), std::string(leaf)};
}

// Whether the regular file `leaf` in the folder holds exactly `size` bytes with CRC-32 `crc`.
bool holdsSameData(int folderFd, const std::string& leaf, std::uint64_t size, std::uint32_t crc)
{
    UniqueFd fd(::openat(folderFd, leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) != size) {
        return false;
    }
    std::vector<char> buffer(1U << 20);
    std::uint32_t sum = 0;
    std::uint64_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        total += static_cast<std::uint64_t>(n);
        sum = updateCrc32(sum, buffer.data(), static_cast<std::size_t>(n));
    }
    return total == size && sum == crc;
}

bool validFlags(std::uint32_t flags)
{
    constexpr std::uint32_t kKnown =
        KARVEX_EXTRACT_ACCEPT_IDENTICAL | KARVEX_EXTRACT_SAVE_AS | KARVEX_EXTRACT_REPLACE;
    const bool replaceWithoutSaveAs =
        (flags & KARVEX_EXTRACT_REPLACE) != 0 && (flags & KARVEX_EXTRACT_SAVE_AS) == 0;
    return (flags & ~kKnown) == 0 && !replaceWithoutSaveAs;
}

// The listable member of that name, or the reason there is none.
Error findMember(const Archive& archive, const char* name, const Member*& member)
{
    member = archive.find(name);
    if (member != nullptr) {
        return Error::None;
    }
    const Member* unreadable = archive.findUnreadable(name);
    if (unreadable == nullptr) {
        return Error::NoMember;
    }
    if (isEncrypted(unreadable->record)) {
        return Error::Encrypted; // whatever else is wrong with it, it cannot be read without a key
    }
    return unreadable->recordProblem == RecordProblem::UnsupportedMethod ? Error::UnsupportedMethod
                                                                         : Error::BadRecord;
}

// An archive opened for one of its members, with that member's facts checked and read.
struct OpenedMember {
    std::unique_ptr<Archive> archive;
    const Member* entry = nullptr;
    MemberInfo info;
};

Error openMember(const char* zipPath, const char* member, OpenedMember& opened)
{
    Error error = Error::None;
    opened.archive = Archive::open(zipPath, error);
    if (!opened.archive) {
        return error;
    }
    if (error = findMember(*opened.archive, member, opened.entry); error != Error::None) {
        return error;
    }
    return inspectMember(*opened.archive, *opened.entry, opened.info);
}

} // namespace

Error extractMember(const char* zipPath, const char* member, const char* savePath,
                    const ExtractOptions& options)
{
    if (zipPath == nullptr || member == nullptr || savePath == nullptr ||
        !validFlags(options.flags)) {
        return Error::Argument;
    }
    const bool saveAs = (options.flags & KARVEX_EXTRACT_SAVE_AS) != 0;
    if (const Error error = checkRequestedMember(member); error != Error::None) {
        return error;
    }
    std::string folder;
    std::optional<SaveAsPath> saveAsPath;
    if (saveAs) {
        saveAsPath = splitSaveAsPath(savePath);
        if (!saveAsPath) {
            return Error::SavePath;
        }
    } else if (const Error error = saveFolderOf(member, savePath, folder); error != Error::None) {
        return error;
    }
    const std::string& root = saveAs ? saveAsPath->folder : folder;
    // A path the platform cannot open afterwards is as useless as one it cannot write.
    if (std::strlen(savePath) >= PATH_MAX ||
        (saveAs && saveAsPath->leaf.size() > kMaxComponentBytes)) {
        return Error::NameTooLong;
    }

    OpenedMember opened;
    Error error = openMember(zipPath, member, opened);
    if (error != Error::None) {
        return error;
    }
    const Archive& archive = *opened.archive;
    const Member* entry = opened.entry;
    const MemberInfo& info = opened.info;

    FolderChain chain;
    if (error = chain.openRoot(root); error != Error::None) {
        return error;
    }
    std::vector<std::string> components = splitComponents(member);
    if (!saveAs) {
        for (std::size_t i = 0; i + 1 < components.size(); ++i) {
            if (error = chain.descend(components[i]); error != Error::None) {
                return error;
            }
        }
    }
    const std::string& leaf = saveAs ? saveAsPath->leaf : components.back();
    struct stat st {};
    if (::fstatat(chain.innermost(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(st.st_mode)) {
            return Error::Symlink;
        }
        if ((options.flags & KARVEX_EXTRACT_ACCEPT_IDENTICAL) != 0 &&
            holdsSameData(chain.innermost(), leaf, info.size, info.crc)) {
            chain.keep();
            return Error::IdenticalExists;
        }
        if ((options.flags & KARVEX_EXTRACT_REPLACE) == 0 || !S_ISREG(st.st_mode)) {
            return Error::Exists;
        }
    }
    // The file first: where it needs a temporary name, making one clears the parts that dead
    // unpacks left in the folder, and their space must count as free.
    std::unique_ptr<AtomicFile> file;
    if (error = AtomicFile::create(chain.innermost(), file); error != Error::None) {
        return error;
    }
    if (error = checkFreeSpace(chain.innermost(), info.size); error != Error::None) {
        return error;
    }
    ReserveGuard guarded(*file, chain.innermost(), info.size);
    ProgressSink progress(guarded, info.size, options.progress, options.context);
    if (error = progress.report(); error != Error::None) {
        return error;
    }
    if (error = copyMember(archive, *entry, info, progress, options.memoryNeeded);
        error != Error::None) {
        return error;
    }
    // The last report comes once the data is checked, so a cancel there still leaves nothing.
    if (error = progress.report(); error != Error::None) {
        return error;
    }
    error = (options.flags & KARVEX_EXTRACT_REPLACE) != 0 ? file->publishReplacing(leaf)
                                                          : file->publish(leaf);
    if (error != Error::None) {
        return error;
    }
    chain.keep();
    return Error::None;
}

Error streamMember(const char* zipPath, const char* member, Sink& sink, std::uint64_t* memoryNeeded)
{
    if (zipPath == nullptr || member == nullptr) {
        return Error::Argument;
    }
    if (const Error error = checkRequestedMember(member); error != Error::None) {
        return error;
    }
    OpenedMember opened;
    if (const Error error = openMember(zipPath, member, opened); error != Error::None) {
        return error;
    }
    return copyMember(*opened.archive, *opened.entry, opened.info, sink, memoryNeeded);
}

} // namespace karvex
