// zqr: lists, unpacks, checks and packs .zqr archives with the same code the viewer's archive
// library runs, so a publisher sees exactly what the viewer will show.
#include "commands.h"
#include "usage.h"
#include "version.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace zqr {
namespace {

int outputError = 0; // errno of the first failed write to standard output

} // namespace

void reportError(const std::string& message)
{
    std::fprintf(stderr, "zqr: %s\n", message.c_str());
}

bool writeOutput(std::string_view text)
{
    if (outputError != 0) {
        return false;
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        outputError = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

int finishOutput(int code)
{
    errno = 0;
    if (outputError == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)) {
        outputError = errno != 0 ? errno : EIO;
    }
    if (outputError == 0) {
        return code;
    }
    reportError(std::string("cannot write the output: ") + std::strerror(outputError));
    return kExitFailed;
}

std::string countOf(std::uint64_t count, const char* singular, const char* plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string storedTimeText(std::int64_t asStored, const char* format)
{
    const auto seconds = static_cast<std::time_t>(asStored);
    std::tm stored{};
    char text[32];
    if (asStored < 0 || gmtime_r(&seconds, &stored) == nullptr ||
        std::strftime(text, sizeof text, format, &stored) == 0) {
        return {};
    }
    return text;
}

} // namespace zqr

namespace {

// Each command with its own help.
struct Command {
    const char* name;
    int (*run)(const zqr::Arguments& args);
    const char* usage;
};
const Command kCommands[] = {
    {"list", zqr::listCommand, zqr::kListUsage},
    {"get", zqr::getCommand, zqr::kGetUsage},
    {"check", zqr::checkCommand, zqr::kCheckUsage},
    {"pack", zqr::packCommand, zqr::kPackUsage},
};

int run(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(zqr::kUsage, stderr);
        return zqr::kExitUsage;
    }
    const std::string command = argv[1];
    const zqr::Arguments args(argv + 2, argv + argc);
    for (const Command& each : kCommands) {
        if (command == each.name) {
            return zqr::asksForHelp(args) ? zqr::printUsage(each.usage) : each.run(args);
        }
    }
    if (command == "--version") {
        zqr::writeOutput(std::string("zqr ") + karvex::versionText() + "\n");
        return zqr::kExitOk;
    }
    if (command == "-h" || command == "--help" || command == "help") {
        zqr::writeOutput(zqr::kUsage);
        return zqr::kExitOk;
    }
    zqr::reportError("unknown command \"" + command + "\" (try zqr --help)");
    return zqr::kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    return zqr::finishOutput(run(argc, argv));
}
