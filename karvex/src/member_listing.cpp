#include "member_listing.h"

#include "dos_time.h"

#include <string>

namespace karvex {

void countEntry(const Member& member, KarvexListSummary& summary)
{
    ++summary.entries;
    if (member.isDirectory) {
        ++summary.folders;
        return;
    }
    switch (member.problem) {
    case NameProblem::None:
        break;
    case NameProblem::Undecodable:
        ++summary.undecodable;
        return;
    case NameProblem::Separator:
        ++summary.separators;
        return;
    default:
        ++summary.unsafeNames;
        return;
    }
    if (member.recordProblem != RecordProblem::None) {
        ++summary.badRecords;
    } else if (member.duplicate) {
        ++summary.duplicates;
    } else {
        ++summary.listed;
    }
}

Error listEveryMember(const char* zipPath, KarvexMemberCallback each, void* context,
                      KarvexListSummary* summary)
{
    if (zipPath == nullptr) {
        return Error::Argument;
    }
    Error error = Error::None;
    const auto archive = Archive::open(zipPath, error);
    if (!archive) {
        return error;
    }
    KarvexListSummary counted{};
    DosTimeConverter times;
    std::string text;
    for (const Member& member : archive->members()) {
        countEntry(member, counted);
        if (each == nullptr || !member.listable()) {
            continue;
        }
        const RecordFields& record = member.record;
        KarvexMemberInfo info{};
        // The name store holds names back to back: the callback gets a zero-terminated copy.
        const std::string_view name = archive->name(member);
        text.assign(name);
        info.name = text.c_str();
        info.nameLength = static_cast<std::uint32_t>(name.size());
        info.crc32 = record.crc;
        info.size = record.size;
        info.packedSize = record.compressedSize;
        info.modified = times.toUnix(record.dosDate, record.dosTime);
        info.modifiedAsStored = DosTimeConverter::asStored(record.dosDate, record.dosTime);
        info.index = archive->indexOf(member);
        if (each(context, &info) != 0) {
            return Error::Cancelled;
        }
    }
    if (summary != nullptr) {
        *summary = counted;
    }
    return Error::None;
}

} // namespace karvex
