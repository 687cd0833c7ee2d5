// Reading one archive's member list from the library: its unbounded listing when the library
// has it, the bounded list text of GetFileIndexList2 otherwise. Touches no window, so it can
// run away from the GUI thread.
#pragma once

#include "browse/karvex_entries.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace browse {

// The library's listing entries, bound before a listing changes anything.
struct ListingEntries {
    KarvexListMembersEntry listMembers = nullptr; // nullptr: an older library
    GetFileIndexList2Entry listText = nullptr;    // bound only when listMembers is missing
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

// Called with each member name in the library's order; returns false to stop the listing
// (the outcome's result is then KARVEX_E_CANCELLED).
using MemberSink = std::function<bool(std::string name)>;

MemberListOutcome readMemberList(const ListingEntries& entries, const std::string& zipPath,
                                 const MemberSink& sink);

// Member names on their way from the thread that reads them to the window that shows them.
class ArrivingMembers {
public:
    void push(std::vector<std::string> names);
    // The names pushed since the last call, in their order.
    [[nodiscard]] std::vector<std::string> take();

private:
    std::mutex mutex_;
    std::vector<std::string> names_;
};

} // namespace browse
