#include "archive.h"
#include "commands.h"
#include "karvex/karvex.h"
#include "listing.h"
#include "member_reader.h"

#include <cstdio>
#include <unordered_set>

namespace zqr {
namespace {

// Reading a member to the end checks its size and CRC; the bytes themselves are not kept.
class DiscardSink : public karvex::Sink {
public:
    karvex::Error write(const char*, std::size_t) override { return karvex::Error::None; }
};

std::string displayName(const karvex::Member& member)
{
    const std::string& name = member.decodedName.empty() ? member.rawName : member.decodedName;
    return karvex::printableName(name);
}

// Why the viewer could not list or open the member, or an empty string when it can.
std::string problemOf(const karvex::Archive& archive, const karvex::Member& member, bool listed)
{
    if (member.problem != karvex::NameProblem::None) {
        return std::string("not listed: ") + karvex::describe(member.problem);
    }
    if (member.duplicate) {
        return "not listed: the same name occurs earlier in the archive";
    }
    if (!listed) {
        return "not listed: the list is full at " + std::to_string(KARVEX_LIST_LIMIT) + " bytes";
    }
    karvex::MemberInfo info;
    karvex::Error error = karvex::inspectMember(archive, member, info);
    if (error == karvex::Error::None) {
        DiscardSink sink;
        error = karvex::copyMember(archive, member, info, sink);
    }
    if (error != karvex::Error::None) {
        return std::string("cannot be opened: ") + karvex::describe(error);
    }
    return {};
}

} // namespace

int checkCommand(const Arguments& args)
{
    if (args.size() != 1) {
        reportError("check: expected one archive (zqr check ARCHIVE)");
        return kExitUsage;
    }
    karvex::Error error = karvex::Error::None;
    const auto archive = karvex::Archive::open(args[0].c_str(), karvex::OpenFor::Reading, error);
    if (!archive) {
        reportError("check: " + args[0] + ": " + karvex::describe(error));
        return kExitFailed;
    }
    const karvex::MemberList list = karvex::makeMemberList(*archive, KARVEX_LIST_LIMIT);
    const std::unordered_set<const karvex::Member*> listed(list.listed.begin(), list.listed.end());
    std::size_t problems = 0;
    for (const karvex::Member& member : archive->members()) {
        if (member.isDirectory) {
            continue;
        }
        const std::string problem = problemOf(*archive, member, listed.count(&member) != 0);
        if (!problem.empty()) {
            std::printf("%s: %s\n", displayName(member).c_str(), problem.c_str());
            ++problems;
        }
    }
    if (problems == 0) {
        std::printf("%s: %zu members, all listed and readable\n", args[0].c_str(),
                    list.listed.size());
        return kExitOk;
    }
    return kExitFailed;
}

} // namespace zqr
