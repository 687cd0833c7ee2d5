#include "app/start_place.h"

#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/list_view.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace app {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: varnelook [--] [FOLDER | ARCHIVE.zqr]";

// What `varnelook --help` prints: how to start the viewer, in a few lines.
constexpr const char* kHelp =
    "usage: varnelook [--] [FOLDER | ARCHIVE.zqr]\n"
    "Shows the .zqr archives of FOLDER (the current folder when none is given) and the\n"
    "documents each holds; with ARCHIVE.zqr, starts in the archive's folder with its documents\n"
    "listed. A double-click on a document unpacks it and opens it with the desktop's application.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --         the next argument is a folder or archive, even if it starts with '-'\n";

bool hasArchiveSuffix(const fs::path& path)
{
    std::string suffix = path.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix == ".zqr";
}

StartCommand failure(std::string error)
{
    return {{}, std::move(error), {}};
}

} // namespace

std::vector<std::string> argumentsOf(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]); // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic)
    }
    return arguments;
}

StartCommand enterStartPlace(const std::vector<std::string>& arguments)
{
    // Options come before "--"; what follows it is a path whatever its first character.
    const auto endOfOptions = std::find(arguments.begin(), arguments.end(), "--");
    std::vector<std::string> paths;
    for (auto argument = arguments.begin(); argument != endOfOptions; ++argument) {
        if (*argument == "--help") {
            return {{}, {}, kHelp};
        }
        if (*argument == "--version") {
            return {{}, {}, std::string("varnelook ") + VARNELOOK_VERSION + "\n"};
        }
        // The toolkit's own options (-style, -reverse, ...) are not the viewer's either; a
        // folder or file whose name starts with '-' is still taken as it has always been.
        std::error_code missing;
        if (argument->size() > 1 && argument->front() == '-' && !fs::exists(*argument, missing)) {
            return failure("unknown option " + *argument + "; " + kUsage);
        }
        paths.push_back(*argument);
    }
    if (endOfOptions != arguments.end()) {
        paths.insert(paths.end(), std::next(endOfOptions), arguments.end());
    }
    if (paths.empty()) {
        return {};
    }
    if (paths.size() > 1) {
        return failure(std::string("one folder or archive at most; ") + kUsage);
    }
    const std::string& given = paths.front();
    const fs::path path(given);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return failure("no such folder or file: " + given);
    }
    StartCommand start;
    fs::path folder = path;
    if (!fs::is_directory(status)) {
        if (!fs::is_regular_file(status) || !hasArchiveSuffix(path)) {
            return failure("not a folder or a .zqr archive: " + given);
        }
        folder = path.parent_path();
        start.place.archive = path.filename().string();
    }
    if (!folder.empty()) {
        fs::current_path(folder, error);
        if (error) {
            return failure("cannot enter " + folder.string() + ": " + error.message());
        }
    }
    return start;
}

void listStartArchive(w_main& frame, const StartPlace& place)
{
    if (place.archive.empty()) {
        return;
    }
    auto* sheet = dynamic_cast<w_brow*>(frame.getactivesheet());
    if (sheet == nullptr) {
        return;
    }
    host::ListView& catalogue = *sheet->lv_zip;
    for (long index = 1; index <= catalogue.totalitems(); ++index) {
        if (catalogue.getitem(index) == place.archive) {
            catalogue.clickItem(index);
            return;
        }
    }
}

} // namespace app
