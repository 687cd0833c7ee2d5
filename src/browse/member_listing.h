// Reading one archive's member list from the library: its unbounded listing when the library
// has it, the bounded list text of GetFileIndexList2 otherwise. Touches no window, so it can
// run away from the GUI thread.
#pragma once

#include "browse/karvex_entries.h"
#include "browse/member_details.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace browse {

// The library's listing entries, bound before a listing changes anything.
struct ListingEntries {
    KarvexListMembersEntry listMembers = nullptr; // nullptr: an older library
    GetFileIndexList2Entry listText = nullptr;    // bound only when listMembers is missing
    std::uint32_t memberInfoSize = 0; // bytes of KarvexMemberInfo that listMembers hands over
};
// Throws ExternalFunctionError when the library or both entries are missing.
ListingEntries bindListingEntries();

struct MemberListOutcome {
    std::int32_t result = 0; // the library's: negative when the list could not be read
    // Entries not listed because their names cannot be shown or written safely (unsafe,
    // undecodable, holding "@@", a duplicate, an unreadable record).
    std::uint64_t hidden = 0;
    // The bounded list text could not hold every member: the list is cut short.
    bool cutShort = false;
};

struct ListedMember {
    std::string name;
    std::optional<MemberDetails> details; // none from the bounded list text
};

// Called with each member in the library's order; returns false to stop the listing (the
// outcome's result is then KARVEX_E_CANCELLED).
using MemberSink = std::function<bool(ListedMember member)>;

MemberListOutcome readMemberList(const ListingEntries& entries, const std::string& zipPath,
                                 const MemberSink& sink);

// Member names on their way from the thread that reads them to the window that shows them, and
// the members' details, kept for as long as their list is shown (collected by the reading
// thread, so the window never lists the archive again to describe a member).
class ArrivingMembers {
public:
    void push(std::vector<ListedMember> members);
    // The names pushed since the last call, in their order.
    [[nodiscard]] std::vector<std::string> take();
    // The details of the member `name` pushed so far, none when the listing had none.
    [[nodiscard]] std::optional<MemberDetails> details(const std::string& name) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    std::unordered_map<std::string, MemberDetails> details_;
};

} // namespace browse
