// zqr: lists, unpacks, checks and packs .zqr archives with the same code the viewer's archive
// library runs, so a publisher sees exactly what the viewer will show.
#include "commands.h"
#include "version.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace zqr {

void reportError(const std::string& message)
{
    std::fprintf(stderr, "zqr: %s\n", message.c_str());
}

} // namespace zqr

namespace {

constexpr const char* kUsage =
    "usage: zqr list [-l] ARCHIVE            print the names the viewer lists, one a line\n"
    "                                        (-l: with size, packed size and date)\n"
    "       zqr get ARCHIVE MEMBER [FOLDER]  unpack MEMBER into FOLDER (default: .)\n"
    "       zqr check ARCHIVE                print each member the viewer cannot list or open\n"
    "       zqr pack [--name-encoding utf-8|gbk] ARCHIVE FILE|FOLDER...\n"
    "                                        make a new archive\n"
    "       zqr --version                    print the library's version and inflater\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return zqr::kExitUsage;
    }
    const std::string command = argv[1];
    const zqr::Arguments args(argv + 2, argv + argc);
    if (command == "list") {
        return zqr::listCommand(args);
    }
    if (command == "get") {
        return zqr::getCommand(args);
    }
    if (command == "check") {
        return zqr::checkCommand(args);
    }
    if (command == "pack") {
        return zqr::packCommand(args);
    }
    if (command == "--version") {
        std::printf("zqr %s\n", karvex::versionText());
        return zqr::kExitOk;
    }
    if (command == "-h" || command == "--help" || command == "help") {
        std::fputs(kUsage, stdout);
        return zqr::kExitOk;
    }
    zqr::reportError("unknown command \"" + command + "\" (try zqr --help)");
    return zqr::kExitUsage;
}
