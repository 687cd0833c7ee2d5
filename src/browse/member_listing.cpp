#include "browse/member_listing.h"

#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>

namespace browse {

namespace {

// The list buffer GetFileIndexList2 writes into: this many spaces, plus the zero byte after.
constexpr std::size_t kListBufferLength = 100000;

// What the listing's callback is handed: where the members go, and whether the library's record
// is new enough to carry the stored time.
struct EachMemberContext {
    MemberSink sink;
    bool storedTime = false;
};

int eachMember(void* context, const KarvexMemberInfo* member)
{
    const auto& each = *static_cast<EachMemberContext*>(context);
    MemberDetails details{member->size, member->packedSize, member->modified};
    if (each.storedTime) {
        details.modifiedAsStored = member->modifiedAsStored;
    }
    return each.sink(ListedMember{std::string(member->name, member->nameLength), details}) ? 0 : 1;
}

MemberListOutcome readUnbounded(const ListingEntries& entries, const std::string& zipPath,
                                const MemberSink& sink)
{
    KarvexListSummary summary{};
    // A record from an older library ends before the stored time: it is never read there.
    constexpr std::size_t kWithStoredTime =
        offsetof(KarvexMemberInfo, modifiedAsStored) + sizeof(KarvexMemberInfo::modifiedAsStored);
    EachMemberContext each{sink, entries.memberInfoSize >= kWithStoredTime};
    MemberListOutcome outcome;
    outcome.result = entries.listMembers(zipPath.c_str(), eachMember, &each, &summary);
    if (outcome.result >= 0) {
        outcome.hidden = summary.duplicates + summary.unsafeNames + summary.separators +
                         summary.undecodable + summary.badRecords;
    }
    return outcome;
}

// The names before each "@@" of the list text, up to the zero byte the library wrote, if any;
// whatever follows the last "@@" is not a name.
MemberListOutcome readListText(GetFileIndexList2Entry listText, const std::string& zipPath,
                               const MemberSink& sink)
{
    std::string buffer(kListBufferLength, ' ');
    std::string zip = zipPath; // the library may write into what it is given
    MemberListOutcome outcome;
    outcome.result = listText(zip.data(), buffer.data());
    if (outcome.result < 0) {
        return outcome;
    }
    outcome.cutShort = (outcome.result & KARVEX_LIST_LEFT_OUT) != 0;
    const std::string_view list(buffer.c_str(), std::strlen(buffer.c_str()));
    std::size_t start = 0;
    for (std::size_t separator = list.find("@@"); separator != std::string_view::npos;
         separator = list.find("@@", start)) {
        if (!sink(ListedMember{std::string(list.substr(start, separator - start)), std::nullopt})) {
            outcome.result = KARVEX_E_CANCELLED;
            return outcome;
        }
        start = separator + 2;
    }
    return outcome;
}

} // namespace

ListingEntries bindListingEntries()
{
    ListingEntries entries;
    entries.listMembers = findKarvexListMembers();
    if (entries.listMembers == nullptr) {
        entries.listText = bindGetFileIndexList2();
    } else {
        entries.memberInfoSize = findKarvexMemberInfoSize();
    }
    return entries;
}

MemberListOutcome readMemberList(const ListingEntries& entries, const std::string& zipPath,
                                 const MemberSink& sink)
{
    if (entries.listMembers != nullptr) {
        return readUnbounded(entries, zipPath, sink);
    }
    return readListText(entries.listText, zipPath, sink);
}

void ArrivingMembers::push(std::vector<ListedMember> members)
{
    const std::lock_guard lock(mutex_);
    for (ListedMember& member : members) {
        if (member.details) {
            details_.emplace(member.name, *member.details);
        }
        names_.push_back(std::move(member.name));
    }
}

std::vector<std::string> ArrivingMembers::take()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(names_, {});
}

std::optional<MemberDetails> ArrivingMembers::details(const std::string& name) const
{
    const std::lock_guard lock(mutex_);
    const auto found = details_.find(name);
    if (found == details_.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace browse
