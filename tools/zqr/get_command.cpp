#include "atomic_file.h"
#include "commands.h"
#include "error.h"
#include "extract.h"
#include "names.h"

#include <csignal>

namespace zqr {
namespace {

// Ctrl+C, kill and a closed terminal end an unpack as they would any program, but first take
// away the part file it was writing (where the file system has no unnamed files).
extern "C" void removePartAndEnd(int signal)
{
    karvex::removeTemporaryFilesNow();
    // SA_RESETHAND has put back the default action; raising again ends the process by this
    // signal once the handler returns, so the shell sees how it ended.
    ::raise(signal);
}

void removePartOnSignals()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        // A signal ignored by whoever started zqr (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = removePartAndEnd;
        ::sigemptyset(&action.sa_mask);
        ::sigaddset(&action.sa_mask, SIGINT);
        ::sigaddset(&action.sa_mask, SIGTERM);
        ::sigaddset(&action.sa_mask, SIGHUP);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace

int getCommand(const Arguments& args)
{
    if (args.size() != 2 && args.size() != 3) {
        reportError("get: expected an archive, a member and maybe a folder "
                    "(zqr get ARCHIVE MEMBER [FOLDER])");
        return kExitUsage;
    }
    // An empty folder would turn into "/" plus the member name: a place the user never named.
    if (args.size() == 3 && args[2].empty()) {
        reportError("get: the folder is empty (give \".\" for the current folder)");
        return kExitUsage;
    }
    std::string folder = args.size() == 3 ? args[2] : ".";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    const std::string savePath = (folder == "/" ? "" : folder) + "/" + args[1];
    removePartOnSignals();
    std::uint64_t memoryNeeded = 0;
    karvex::ExtractOptions options;
    options.memoryNeeded = &memoryNeeded;
    const karvex::Error error =
        karvex::extractMember(args[0].c_str(), args[1].c_str(), savePath.c_str(), options);
    if (error != karvex::Error::None) {
        reportError("get: " + karvex::printableName(args[1]) + ": " +
                    (error == karvex::Error::NeedsMemory ? karvex::describeNeedsMemory(memoryNeeded)
                                                         : karvex::describe(error)));
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace zqr
