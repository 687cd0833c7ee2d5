// A private folder per fuzzing process that holds the archive under test and, a few levels down,
// the fresh folders members are unpacked into. After each extraction the whole sandbox is walked,
// so a write that escaped its save folder (by "..", an absolute path or a link) is seen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

namespace karvex_fuzz {

class Sandbox {
public:
    // Makes the sandbox under $TMPDIR (or /tmp); aborts when it cannot.
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // Writes the fuzzer's bytes as the archive file and returns its path.
    const std::string& writeArchive(const std::uint8_t* data, std::size_t size);
    // A new, empty folder to unpack into, three levels below the sandbox's root.
    std::filesystem::path makeSaveFolder();
    // Aborts when anything exists in the sandbox (or next to it) other than the archive, the
    // folders leading to the save folders, and what is inside `saveFolder`.
    void checkNothingOutside(const std::filesystem::path& saveFolder) const;

private:
    std::filesystem::path root_;
    std::filesystem::path nest_; // the parent of every save folder
    std::string archive_;
    std::set<std::filesystem::path> besideRoot_; // what $TMPDIR held when the sandbox was made
};

// Every path below `folder`, relative to it, with "/" after folders. Aborts on a symbolic link or
// any other special file: unpacking makes only folders and regular files.
std::set<std::string> treeOf(const std::filesystem::path& folder);

} // namespace karvex_fuzz
