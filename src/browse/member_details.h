// One member's facts from the library's detailed listing (sizes, date), for the line that
// describes it in its right-click menu and for its tooltip.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace browse {

struct MemberDetails {
    std::uint64_t size = 0;
    std::uint64_t packedSize = 0;
    std::int64_t modified = -1; // seconds since 1970-01-01 UTC; -1 when unknown
    // The packer's wall-clock time as the archive stores it, counted from 1970-01-01 00:00 of
    // that clock; -1 when the library does not give it. Shown in preference to `modified`, so a
    // time the local clock skipped is shown as it was written.
    std::int64_t modifiedAsStored = -1;
};

// What stands in for a member's details when the listing gave none.
inline constexpr const char* kDetailsUnknown = "大小和日期未知";

// "大小 1,234 字节  压缩后 567 字节  2024-05-06 07:08": the date as the archive stores it, or in
// local time from a library that gives only the UTC time.
std::string describeMember(const MemberDetails& details);

// A size as a Chinese desktop shows it: bytes below 1 KB ("532 字节"), otherwise three digits of
// the largest unit under 1000, cut rather than rounded ("1.30 KB", "22.9 KB", "2.28 MB").
std::string shortSize(std::uint64_t bytes);

// The member's tooltip: its full name, size, packed size and date, one to a line; the name and
// kDetailsUnknown when the listing gave no details.
std::string memberTooltip(const std::string& name, const std::optional<MemberDetails>& details);

} // namespace browse
