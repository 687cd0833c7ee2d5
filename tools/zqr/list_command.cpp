#include "commands.h"
#include "karvex/karvex.h"
#include "list_json.h"
#include "member_listing.h"
#include "names.h"

#include <cinttypes>
#include <cstdio>

namespace zqr {
namespace {

// How `list` prints each member.
enum class ListForm { Names, Detailed, Json, NulSeparated };

// Names go out in large writes: an archive may have a million members.
class ListPrinter {
public:
    explicit ListPrinter(ListForm form) : form_(form) { out_.reserve(kFlushSize + 4096); }

    // Stops the listing once standard output fails: the rest would be lost as well.
    static int print(void* self, const KarvexMemberInfo* member)
    {
        return static_cast<ListPrinter*>(self)->add(*member) ? 0 : 1;
    }

    // The column heads of `list -l`, as other archive listers print them.
    void header()
    {
        if (form_ == ListForm::Detailed) {
            out_ += "        Size       Packed  Date              Name\n";
            out_ += kRule;
        }
    }

    bool add(const KarvexMemberInfo& member)
    {
        if (form_ == ListForm::Detailed) {
            char details[96];
            std::snprintf(details, sizeof details, "%12" PRIu64 " %12" PRIu64 "  %s  ", member.size,
                          member.packedSize, dateText(member.modifiedAsStored).c_str());
            out_ += details;
            totalSize_ += member.size;
            totalPacked_ += member.packedSize;
            ++members_;
        }
        out_.append(member.name, member.nameLength);
        out_ += form_ == ListForm::NulSeparated ? '\0' : '\n';
        return out_.size() < kFlushSize || flush();
    }

    // The totals line of `list -l`: sizes, the space the packing saved, and the member count.
    void totals()
    {
        if (form_ != ListForm::Detailed) {
            return;
        }
        char ratio[24] = "";
        if (totalSize_ > 0) {
            const double saved =
                100.0 * (1.0 - static_cast<double>(totalPacked_) / static_cast<double>(totalSize_));
            std::snprintf(ratio, sizeof ratio, "%.0f%% saved", saved);
        }
        char line[128];
        std::snprintf(line, sizeof line, "%12" PRIu64 " %12" PRIu64 "  %-16s  ", totalSize_,
                      totalPacked_, ratio);
        out_ += kRule;
        out_ += line;
        out_ += countOf(members_, "member", "members") + "\n";
    }

    bool flush()
    {
        const bool written = writeOutput(out_);
        out_.clear();
        return written;
    }

private:
    static constexpr std::size_t kFlushSize = 1U << 16;
    static constexpr const char* kRule = "------------ ------------  ----------------  ----\n";

    static std::string dateText(std::int64_t asStored)
    {
        const std::string text = storedTimeText(asStored, "%Y-%m-%d %H:%M");
        return text.empty() ? "unknown date    " : text;
    }

    ListForm form_;
    std::string out_;
    std::uint64_t totalSize_ = 0;
    std::uint64_t totalPacked_ = 0;
    std::uint64_t members_ = 0;
};

std::uint64_t leftOut(const KarvexListSummary& summary)
{
    return summary.unsafeNames + summary.separators + summary.undecodable + summary.badRecords;
}

constexpr const char* kListSyntax = "zqr list [-l | --json | -0] ARCHIVE";

} // namespace

int listCommand(const Arguments& args)
{
    ListForm form = ListForm::Names;
    std::size_t at = 0;
    for (; at < args.size() && args[at].size() > 1 && args[at][0] == '-'; ++at) {
        const std::string& option = args[at];
        if (option == "--") {
            ++at;
            break;
        }
        const ListForm chosen = option == "-l"       ? ListForm::Detailed
                                : option == "--json" ? ListForm::Json
                                : option == "-0"     ? ListForm::NulSeparated
                                                     : ListForm::Names;
        if (chosen == ListForm::Names) {
            reportError("list: unknown option " + karvex::printableName(option) + " (" +
                        kListSyntax + ")");
            return kExitUsage;
        }
        if (form != ListForm::Names && form != chosen) {
            reportError(std::string("list: -l, --json and -0 exclude each other (") + kListSyntax +
                        ")");
            return kExitUsage;
        }
        form = chosen;
    }
    if (args.size() != at + 1) {
        reportError(std::string("list: expected one archive (") + kListSyntax + ")");
        return kExitUsage;
    }
    const std::string& archive = args.back();
    const std::string shown = karvex::printableName(archive);
    KarvexListSummary summary{};
    karvex::Error error = karvex::Error::None;
    if (form == ListForm::Json) {
        error = listJson(archive, summary);
    } else {
        ListPrinter printer(form);
        printer.header();
        error = karvex::listEveryMember(archive.c_str(), &ListPrinter::print, &printer, &summary);
        if (error == karvex::Error::None) {
            printer.totals();
            printer.flush();
        }
    }
    if (error == karvex::Error::Cancelled) {
        return kExitFailed; // standard output failed; main says so
    }
    if (error != karvex::Error::None) {
        reportError("list: " + shown + ": " + karvex::describe(error));
        return kExitFailed;
    }
    if (leftOut(summary) != 0) {
        reportError("list: " + shown + ": " +
                    countOf(leftOut(summary), "member left out", "members left out") +
                    " (zqr check says why)");
    }
    return kExitOk;
}

} // namespace zqr
