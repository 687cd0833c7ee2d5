// One member's facts from the library's detailed listing (sizes, date), for the line that
// describes it in its right-click menu.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace browse {

struct MemberDetails {
    std::uint64_t size = 0;
    std::uint64_t packedSize = 0;
    std::int64_t modified = -1; // seconds since 1970-01-01 UTC; -1 when unknown
};

// The facts of member `name` of archive `zipPath`; none when the library has no detailed
// listing, cannot read the archive, or the member is not listed. Throws ExternalFunctionError
// when the library is missing.
std::optional<MemberDetails> readMemberDetails(const std::string& zipPath, const std::string& name);

// "大小 1,234 字节  压缩后 567 字节  2024-05-06 07:08", the date in local time.
std::string describeMember(const MemberDetails& details);

} // namespace browse
