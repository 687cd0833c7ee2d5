#include "browse/member_details.h"

#include "browse/karvex_entries.h"

#include <array>
#include <ctime>

namespace browse {

namespace {

struct Search {
    const std::string* name;
    std::optional<MemberDetails> found;
};

int eachMember(void* context, const KarvexMemberInfo* member)
{
    auto& search = *static_cast<Search*>(context);
    if (std::string_view(member->name, member->nameLength) != *search.name) {
        return 0;
    }
    search.found = MemberDetails{member->size, member->packedSize, member->modified};
    return 1; // found: the rest of the listing is not needed
}

// A count with its thousands grouped by commas, as "1,234,567".
std::string bytes(std::uint64_t count)
{
    std::string digits = std::to_string(count);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

// Seconds since 1970 as "yyyy-MM-dd HH:mm" in local time; empty when the time cannot be shown.
std::string localMinute(std::int64_t seconds)
{
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", &local);
    return std::string(text.data(), length);
}

} // namespace

std::optional<MemberDetails> readMemberDetails(const std::string& zipPath, const std::string& name)
{
    const KarvexListMembersEntry listMembers = findKarvexListMembers();
    if (listMembers == nullptr) {
        return std::nullopt;
    }
    Search search{&name, std::nullopt};
    KarvexListSummary summary{};
    listMembers(zipPath.c_str(), eachMember, &search, &summary);
    return search.found;
}

std::string describeMember(const MemberDetails& details)
{
    std::string line =
        "大小 " + bytes(details.size) + " 字节  压缩后 " + bytes(details.packedSize) + " 字节";
    if (details.modified >= 0) {
        const std::string minute = localMinute(details.modified);
        if (!minute.empty()) {
            line += "  " + minute;
        }
    }
    return line;
}

} // namespace browse
