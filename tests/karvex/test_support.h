// What the archive library's tests share: a temporary folder that cleans up after itself, file
// helpers, and the two C entries called the way the viewer calls them.
#pragma once

#include "zip_builder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace karvex_test {

class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// Every entry below `folder`, as paths relative to it, sorted.
std::vector<std::string> folderContents(const std::string& folder);

struct Listing {
    std::int32_t result = 0;
    std::string text;               // the buffer up to its first zero byte
    std::vector<std::string> names; // the names before each "@@", as the viewer splits them
};

// Calls GetFileIndexList2 with a buffer of KARVEX_LIST_LIMIT spaces and its zero byte.
Listing listArchive(const std::string& archive);
// Calls GetFileFromZipFile2 with save path `folder` + "/" + `member`.
std::int32_t extract(const std::string& archive, const std::string& member,
                     const std::string& folder);

// Writes `entries` as an archive named `name` inside `dir` and returns its path.
std::string makeArchive(const TempDir& dir, const std::vector<ZipEntry>& entries,
                        const std::string& name = "test.zqr");

} // namespace karvex_test
