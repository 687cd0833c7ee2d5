#include "extract.h"

#include "archive.h"
#include "atomic_file.h"
#include "member_reader.h"
#include "names.h"
#include "progress_sink.h"
#include "unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

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

// The chain of folders from the save folder down to the member's own folder, each opened without
// following links. Folders it had to create are removed again, if still empty, unless kept.
class FolderChain {
public:
    FolderChain() = default;
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;
    ~FolderChain()
    {
        if (keep_) {
            return;
        }
        for (std::size_t i = folders_.size(); i-- > 1;) {
            if (created_[i]) {
                ::unlinkat(folders_[i - 1].get(), names_[i].c_str(), AT_REMOVEDIR);
            }
        }
    }

    Error openRoot(const std::string& path)
    {
        UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.valid()) {
            return Error::SaveFolder;
        }
        push(std::move(fd), std::string(), false);
        return Error::None;
    }

    Error descend(const std::string& name)
    {
        const int parent = innermost();
        bool created = false;
        if (::mkdirat(parent, name.c_str(), 0777) == 0) {
            created = true;
        } else if (errno != EEXIST) {
            return errno == ENOSPC || errno == EDQUOT ? Error::NoSpace : Error::SaveFolder;
        }
        UniqueFd fd(
            ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!fd.valid()) {
            return isSymlinkAt(parent, name) ? Error::Symlink : Error::SaveFolder;
        }
        push(std::move(fd), name, created);
        return Error::None;
    }

    int innermost() const { return folders_.back().get(); }
    void keep() { keep_ = true; }

private:
    void push(UniqueFd fd, std::string name, bool created)
    {
        folders_.push_back(std::move(fd));
        names_.push_back(std::move(name));
        created_.push_back(created);
    }

    std::vector<UniqueFd> folders_;
    std::vector<std::string> names_;
    std::vector<bool> created_;
    bool keep_ = false;
};

Error checkFreeSpace(int folderFd, std::uint64_t size)
{
    struct statvfs fs {};
    if (::fstatvfs(folderFd, &fs) != 0) {
        return Error::None; // no figure to go by: the write itself will find out
    }
    const std::uint64_t blockSize = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
    const std::uint64_t blocks = fs.f_bavail;
    if (blockSize == 0 || blocks >= UINT64_MAX / blockSize) {
        return Error::None;
    }
    return blocks * blockSize < size ? Error::NoSpace : Error::None;
}

Error checkRequestedMember(const char* member)
{
    switch (checkRequestedName(member)) {
    case NameProblem::None:
        return Error::None;
    case NameProblem::Separator:
        return Error::SeparatorInName;
    case NameProblem::Undecodable:
        return Error::NoMember;
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

// The folder and file name of a path the user chose to save a copy under.
Error splitSaveAsPath(std::string_view savePath, std::string& folder, std::string& leaf)
{
    const std::size_t slash = savePath.rfind('/');
    leaf = savePath.substr(slash == std::string_view::npos ? 0 : slash + 1);
    if (leaf.empty() || leaf == "." || leaf == "..") {
        return Error::SavePath;
    }
    if (slash == std::string_view::npos) {
        folder = ".";
    } else {
        folder = savePath.substr(0, std::max<std::size_t>(slash, 1));
    }
    return Error::None;
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
    uLong sum = crc32(0L, Z_NULL, 0);
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
        sum = crc32_z(sum, reinterpret_cast<const Bytef*>(buffer.data()),
                      static_cast<std::size_t>(n));
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
    std::string saveAsLeaf;
    if (const Error error = saveAs ? splitSaveAsPath(savePath, folder, saveAsLeaf)
                                   : saveFolderOf(member, savePath, folder);
        error != Error::None) {
        return error;
    }

    Error error = Error::None;
    const auto archive = Archive::open(zipPath, error);
    if (!archive) {
        return error;
    }
    const Member* entry = archive->find(member);
    if (entry == nullptr) {
        return Error::NoMember;
    }
    MemberInfo info;
    if (error = inspectMember(*archive, *entry, info); error != Error::None) {
        return error;
    }

    FolderChain chain;
    if (error = chain.openRoot(folder); error != Error::None) {
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
    const std::string& leaf = saveAs ? saveAsLeaf : components.back();
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
    if (error = checkFreeSpace(chain.innermost(), info.size); error != Error::None) {
        return error;
    }

    std::unique_ptr<AtomicFile> file;
    if (error = AtomicFile::create(chain.innermost(), file); error != Error::None) {
        return error;
    }
    ProgressSink progress(*file, info.size, options.progress, options.context);
    if (error = progress.report(); error != Error::None) {
        return error;
    }
    if (error = copyMember(*archive, *entry, info, progress); error != Error::None) {
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

} // namespace karvex
