#include "commands.h"
#include "error.h"
#include "extract.h"
#include "names.h"

namespace zqr {

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
