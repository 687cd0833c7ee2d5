#include "sandbox.h"

#include "list_contract.h"

#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace karvex_fuzz {
namespace {

fs::path temporaryParent()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? fs::path(tmp) : fs::path("/tmp");
}

fs::path makeUniqueFolder(const fs::path& pattern)
{
    std::string name = pattern.string();
    if (::mkdtemp(name.data()) == nullptr) {
        fail("cannot make a temporary folder", name);
    }
    return name;
}

std::set<fs::path> entriesOf(const fs::path& folder)
{
    std::set<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        entries.insert(entry.path());
    }
    return entries;
}

} // namespace

Sandbox::Sandbox()
{
    const fs::path parent = temporaryParent();
    besideRoot_ = entriesOf(parent);
    root_ = makeUniqueFolder(parent / "karvex-fuzz-XXXXXX");
    nest_ = root_ / "one" / "two" / "three";
    fs::create_directories(nest_);
    archive_ = (root_ / "archive.zqr").string();
}

Sandbox::~Sandbox()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

const std::string& Sandbox::writeArchive(const std::uint8_t* data, std::size_t size)
{
    // A new file each time: truncating a file in place makes ext4 flush it to disk on close,
    // which would cost more than the whole run of the library.
    ::unlink(archive_.c_str());
    const int fd = ::open(archive_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail("cannot write the archive", archive_);
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) {
            ::close(fd);
            fail("cannot write the archive", archive_);
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return archive_;
}

fs::path Sandbox::makeSaveFolder()
{
    return makeUniqueFolder(nest_ / "save-XXXXXX");
}

void Sandbox::checkNothingOutside(const fs::path& saveFolder) const
{
    const std::set<std::string> expected = {"archive.zqr", "one/", "one/two/", "one/two/three/",
                                            "one/two/three/" + saveFolder.filename().string() +
                                                "/"};
    const std::string inside = "one/two/three/" + saveFolder.filename().string() + "/";
    for (const std::string& path : treeOf(root_)) {
        if (expected.count(path) == 0 && path.compare(0, inside.size(), inside) != 0) {
            fail("something was written outside the save folder", path);
        }
    }
    // A path that climbed out of the sandbox itself lands next to it.
    const fs::path parent = root_.parent_path();
    for (const fs::path& entry : entriesOf(parent)) {
        if (entry != root_ && besideRoot_.count(entry) == 0 &&
            entry.filename().string().rfind("karvex-fuzz-", 0) != 0) {
            fail("something was written next to the sandbox", entry.string());
        }
    }
}

std::set<std::string> treeOf(const fs::path& folder)
{
    std::set<std::string> tree;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
        const fs::file_status status = it->symlink_status();
        std::string relative = it->path().lexically_relative(folder).string();
        if (fs::is_directory(status)) {
            tree.insert(relative + "/");
        } else if (fs::is_regular_file(status)) {
            tree.insert(relative);
        } else {
            fail("unpacking left a link or special file", relative);
        }
    }
    return tree;
}

} // namespace karvex_fuzz
