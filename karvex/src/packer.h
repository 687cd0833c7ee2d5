// Writes new .zqr archives from files on disk, with names flagged UTF-8 or, as archives made on
// Chinese Windows have them, GBK without the flag. Names are checked by the same rules the
// listing applies, so a packed member can always be listed and unpacked.
#pragma once

#include <string>
#include <vector>

namespace karvex {

enum class NameEncoding { Utf8, Gbk };

struct PackItem {
    std::string sourcePath; // the file to read
    std::string name;       // its name in the archive, UTF-8, "/" between folders
};

// Creates `archivePath` (which must not exist yet). Returns an empty string on success, else a
// one-line message saying what is wrong.
std::string packArchive(const std::string& archivePath, const std::vector<PackItem>& items,
                        NameEncoding encoding);

} // namespace karvex
