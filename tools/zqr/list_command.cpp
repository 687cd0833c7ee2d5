#include "archive.h"
#include "commands.h"
#include "karvex/karvex.h"
#include "listing.h"

#include <cstdio>

namespace zqr {

int listCommand(const Arguments& args)
{
    if (args.size() != 1) {
        reportError("list: expected one archive (zqr list ARCHIVE)");
        return kExitUsage;
    }
    karvex::Error error = karvex::Error::None;
    const auto archive = karvex::Archive::open(args[0].c_str(), karvex::OpenFor::Listing, error);
    if (!archive) {
        reportError("list: " + args[0] + ": " + karvex::describe(error));
        return kExitFailed;
    }
    const karvex::MemberList list = karvex::makeMemberList(*archive, KARVEX_LIST_LIMIT);
    std::string out;
    out.reserve(list.text.size());
    for (const karvex::Member* member : list.listed) {
        out += member->name;
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (list.leftOut) {
        reportError("list: " + args[0] + ": more members than fit in the viewer's " +
                    std::to_string(KARVEX_LIST_LIMIT) + "-byte list; the rest are left out");
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

} // namespace zqr
