#include "app/start_place.h"

#include "app/menu_commands.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/message_box.h"

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

Place placeOf(const std::string& given)
{
    const fs::path path(given);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return {{}, {}, "no such folder or file: " + given};
    }
    if (fs::is_directory(status)) {
        return {given, {}, {}};
    }
    if (!fs::is_regular_file(status) || !hasArchiveSuffix(path)) {
        return {{}, {}, "not a folder or a .zqr archive: " + given};
    }
    // An archive named without a folder is in the current one.
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    return {folder.string(), path.filename().string(), {}};
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
    const Place place = placeOf(paths.front());
    if (!place.error.empty()) {
        return failure(place.error);
    }
    std::error_code error;
    fs::current_path(place.folder, error);
    if (error) {
        return failure("cannot enter " + place.folder + ": " + error.message());
    }
    StartCommand start;
    start.place.archive = place.archive;
    return start;
}

void listStartArchive(w_main& frame, const StartPlace& place)
{
    if (place.archive.empty()) {
        return;
    }
    if (auto* sheet = dynamic_cast<w_brow*>(frame.getactivesheet())) {
        sheet->listArchive(place.archive);
    }
}

void openPlace(w_main& frame, const std::string& path)
{
    const Place place = placeOf(path);
    if (!place.error.empty()) {
        // Gone or changed since it was dropped.
        host::MessageBox("信息提示!",
                         "无法打开: " + path + "\r\n它不是文件夹或.zqr文件库,或已不在。",
                         host::Icon::Exclamation);
        return;
    }
    // With the sheet closed, it opens first, as the open command opens it.
    auto* sheet = dynamic_cast<w_brow*>(frame.getactivesheet());
    if (sheet == nullptr) {
        sheet = frame.opensheet<w_brow>(kSheetMenuPosition);
    }
    sheet->openFolder(place.folder, place.archive);
}

} // namespace app
