#include "archive.h"
#include "commands.h"
#include "karvex/karvex.h"
#include "left_out.h"
#include "member_reader.h"

namespace zqr {
namespace {

// Reading a member to the end checks its size and CRC; the bytes themselves are not kept.
class DiscardSink : public karvex::Sink {
public:
    karvex::Error write(const char*, std::size_t) override { return karvex::Error::None; }
};

// Why the viewer could not list or open the member, or an empty string when it can.
std::string problemOf(const karvex::Archive& archive, const karvex::Member& member)
{
    if (const std::string reason = leftOutReason(member); !reason.empty()) {
        return "not listed: " + reason;
    }
    karvex::MemberInfo info;
    karvex::Error error = karvex::inspectMember(archive, member, info);
    std::uint64_t memoryNeeded = 0;
    if (error == karvex::Error::None) {
        DiscardSink sink;
        error = karvex::copyMember(archive, member, info, sink, &memoryNeeded);
    }
    if (error != karvex::Error::None) {
        return "cannot be opened: " + karvex::describe(error, memoryNeeded);
    }
    return {};
}

// What was wrong with the archive's end record and read around anyway; each is a problem found.
std::size_t reportRepairs(const std::string& shown, const karvex::DirectoryLayout& layout)
{
    std::size_t repairs = 0;
    if (layout.commentCut) {
        writeOutput(shown +
                    ": the archive comment is cut short: " + std::to_string(layout.commentPresent) +
                    " of its " + std::to_string(layout.commentDeclared) +
                    " bytes are there (the file may be incomplete)\n");
        ++repairs;
    }
    if (layout.offsetCorrected) {
        writeOutput(shown + ": the end record puts the central directory at offset " +
                    std::to_string(layout.recordedOffset) + "; it was read at offset " +
                    std::to_string(layout.start) + ", right before the end record\n");
        ++repairs;
    }
    return repairs;
}

} // namespace

int checkCommand(const Arguments& args)
{
    if (args.size() != 1) {
        reportError("check: expected one archive (zqr check ARCHIVE)");
        return kExitUsage;
    }
    karvex::Error error = karvex::Error::None;
    const auto archive = karvex::Archive::open(args[0].c_str(), error);
    if (!archive) {
        reportError("check: " + karvex::printableName(args[0]) + ": " + karvex::describe(error));
        return kExitFailed;
    }
    const std::string shown = karvex::printableName(args[0]);
    std::size_t listed = 0;
    const std::size_t repairs = reportRepairs(shown, archive->layout());
    std::size_t problems = 0;
    for (const karvex::Member& member : archive->members()) {
        if (member.isDirectory) {
            continue;
        }
        const std::string problem = problemOf(*archive, member);
        if (problem.empty()) {
            ++listed;
            continue;
        }
        writeOutput(karvex::printableName(archive->name(member)) + ": " + problem + "\n");
        ++problems;
    }
    if (problems == 0) {
        writeOutput(
            shown + ": " +
            countOf(listed, "member, listed and readable", "members, all listed and readable") +
            "\n");
    }
    return problems == 0 && repairs == 0 ? kExitOk : kExitFailed;
}

} // namespace zqr
