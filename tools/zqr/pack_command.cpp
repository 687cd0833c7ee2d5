#include "commands.h"
#include "names.h"
#include "packer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zqr {
namespace {

namespace fs = std::filesystem;

// The archive name of a path given on the command line: "/" separators, no "./" in front.
std::string archiveName(const fs::path& path)
{
    std::string name = path.lexically_normal().generic_string();
    while (name.rfind("./", 0) == 0) {
        name.erase(0, 2);
    }
    return name;
}

// Files named directly are taken as they are; folders are walked in name order, taking regular
// files only (symbolic links inside them are skipped, so nothing outside gets packed).
bool collect(const std::string& argument, std::vector<karvex::PackItem>& items)
{
    std::error_code ec;
    const fs::path path(argument);
    if (!fs::is_directory(path, ec)) {
        items.push_back({argument, archiveName(path)});
        return true;
    }
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->symlink_status(ec).type() == fs::file_type::regular) {
            files.push_back(it->path());
        }
    }
    if (ec) {
        reportError("pack: cannot read folder " + karvex::printableName(argument) + ": " +
                    ec.message());
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        items.push_back({file.string(), archiveName(file)});
    }
    return true;
}

} // namespace

int packCommand(const Arguments& args)
{
    karvex::NameEncoding encoding = karvex::NameEncoding::Utf8;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--name-encoding") {
            operands.push_back(args[i]);
            continue;
        }
        const std::string value = i + 1 < args.size() ? args[++i] : "";
        if (value == "gbk" || value == "GBK") {
            encoding = karvex::NameEncoding::Gbk;
        } else if (value != "utf-8" && value != "UTF-8" && value != "utf8") {
            reportError("pack: --name-encoding takes utf-8 or gbk, not \"" +
                        karvex::printableName(value) + "\"");
            return kExitUsage;
        }
    }
    if (operands.size() < 2) {
        reportError("pack: expected an archive and at least one file "
                    "(zqr pack [--name-encoding utf-8|gbk] ARCHIVE FILE...)");
        return kExitUsage;
    }
    std::vector<karvex::PackItem> items;
    for (std::size_t i = 1; i < operands.size(); ++i) {
        if (!collect(operands[i], items)) {
            return kExitFailed;
        }
    }
    if (items.empty()) {
        reportError("pack: no files to pack");
        return kExitFailed;
    }
    const std::string message = karvex::packArchive(operands[0], items, encoding);
    if (!message.empty()) {
        reportError("pack: " + message);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace zqr
