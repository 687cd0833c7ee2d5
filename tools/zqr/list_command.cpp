#include "commands.h"
#include "karvex/karvex.h"
#include "member_listing.h"
#include "names.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

namespace zqr {
namespace {

// Names go out in large writes: an archive may have a million members.
class ListPrinter {
public:
    explicit ListPrinter(bool detailed) : detailed_(detailed) { out_.reserve(kFlushSize + 4096); }

    // Stops the listing once standard output fails: the rest would be lost as well.
    static int print(void* self, const KarvexMemberInfo* member)
    {
        return static_cast<ListPrinter*>(self)->add(*member) ? 0 : 1;
    }

    bool add(const KarvexMemberInfo& member)
    {
        if (detailed_) {
            char details[96];
            std::snprintf(details, sizeof details, "%12" PRIu64 " %12" PRIu64 "  %s  ", member.size,
                          member.packedSize, dateText(member.modifiedAsStored).c_str());
            out_ += details;
        }
        out_.append(member.name, member.nameLength);
        out_ += '\n';
        return out_.size() < kFlushSize || flush();
    }

    bool flush()
    {
        const bool written = writeOutput(out_);
        out_.clear();
        return written;
    }

private:
    static constexpr std::size_t kFlushSize = 1U << 16;

    // The date and time exactly as the archive stores them (the packer's wall clock): read
    // through this machine's zone, a time its clock skipped would move by an hour.
    static std::string dateText(std::int64_t asStored)
    {
        const auto seconds = static_cast<std::time_t>(asStored);
        std::tm stored{};
        char text[32];
        if (asStored < 0 || gmtime_r(&seconds, &stored) == nullptr ||
            std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &stored) == 0) {
            return "unknown date    ";
        }
        return text;
    }

    bool detailed_;
    std::string out_;
};

std::uint64_t leftOut(const KarvexListSummary& summary)
{
    return summary.unsafeNames + summary.separators + summary.undecodable + summary.badRecords;
}

} // namespace

int listCommand(const Arguments& args)
{
    const bool detailed = !args.empty() && args[0] == "-l";
    if (args.size() != (detailed ? 2U : 1U)) {
        reportError("list: expected one archive (zqr list [-l] ARCHIVE)");
        return kExitUsage;
    }
    const std::string& archive = args.back();
    const std::string shown = karvex::printableName(archive);
    ListPrinter printer(detailed);
    KarvexListSummary summary{};
    const karvex::Error error =
        karvex::listEveryMember(archive.c_str(), &ListPrinter::print, &printer, &summary);
    if (error == karvex::Error::Cancelled) {
        return kExitFailed; // standard output failed; main says so
    }
    if (error != karvex::Error::None) {
        reportError("list: " + shown + ": " + karvex::describe(error));
        return kExitFailed;
    }
    printer.flush();
    if (leftOut(summary) != 0) {
        reportError("list: " + shown + ": " +
                    countOf(leftOut(summary), "member left out", "members left out") +
                    " (zqr check says why)");
    }
    return kExitOk;
}

} // namespace zqr
