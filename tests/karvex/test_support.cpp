#include "test_support.h"

#include "karvex/karvex.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace karvex_test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "karvex-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> folderContents(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        found.push_back(std::filesystem::relative(entry.path(), folder).generic_string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

Listing listArchive(const std::string& archive)
{
    std::string buffer(KARVEX_LIST_LIMIT, ' ');
    std::string path = archive;
    Listing listing;
    listing.result = GetFileIndexList2(path.data(), buffer.data());
    listing.text = buffer.c_str();
    std::size_t start = 0;
    for (std::size_t at = listing.text.find("@@"); at != std::string::npos;
         at = listing.text.find("@@", start)) {
        listing.names.push_back(listing.text.substr(start, at - start));
        start = at + 2;
    }
    return listing;
}

std::int32_t extract(const std::string& archive, const std::string& member,
                     const std::string& folder)
{
    std::string zip = archive;
    std::string name = member;
    std::string save = folder + "/" + member;
    return GetFileFromZipFile2(zip.data(), name.data(), save.data());
}

std::string makeArchive(const TempDir& dir, const std::vector<ZipEntry>& entries,
                        const std::string& name)
{
    std::string path = dir / name;
    writeFile(path, buildZip(entries));
    return path;
}

} // namespace karvex_test
