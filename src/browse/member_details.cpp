#include "browse/member_details.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <ctime>

namespace browse {

namespace {

// A count with its thousands grouped by commas, as "1,234,567".
std::string bytes(std::uint64_t count)
{
    std::string digits = std::to_string(count);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

// The member's date as "yyyy-MM-dd HH:mm": the stored wall-clock time when the listing gave it,
// else the UTC time in local time; empty when there is none or it cannot be shown.
std::string shownMinute(const MemberDetails& details)
{
    const bool stored = details.modifiedAsStored >= 0;
    if (!stored && details.modified < 0) {
        return {};
    }
    const auto time =
        static_cast<std::time_t>(stored ? details.modifiedAsStored : details.modified);
    std::tm clock{};
    // The stored time counts from midnight of the packer's own clock: gmtime gives it back as it
    // was written, with no zone applied.
    if ((stored ? gmtime_r(&time, &clock) : localtime_r(&time, &clock)) == nullptr) {
        return {};
    }
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", &clock);
    return std::string(text.data(), length);
}

} // namespace

std::string describeMember(const MemberDetails& details)
{
    std::string line =
        "大小 " + bytes(details.size) + " 字节  压缩后 " + bytes(details.packedSize) + " 字节";
    const std::string minute = shownMinute(details);
    if (!minute.empty()) {
        line += "  " + minute;
    }
    return line;
}

std::string shortSize(std::uint64_t bytes)
{
    constexpr std::uint64_t kKilo = 1024;
    if (bytes < kKilo) {
        return std::to_string(bytes) + " 字节";
    }
    constexpr std::array<const char*, 4> kUnits{"KB", "MB", "GB", "TB"};
    std::size_t unitIndex = 0;
    std::uint64_t unit = kKilo;
    while (unitIndex + 1 < kUnits.size() && bytes / unit >= 1000) {
        unit *= kKilo;
        ++unitIndex;
    }
    const std::uint64_t whole = bytes / unit;
    const std::uint64_t hundredths = (bytes % unit) * 100 / unit;
    std::array<char, 48> text{};
    if (whole >= 100) {
        std::snprintf(text.data(), text.size(), "%" PRIu64 " %s", whole, kUnits[unitIndex]);
    } else if (whole >= 10) {
        std::snprintf(text.data(), text.size(), "%" PRIu64 ".%" PRIu64 " %s", whole,
                      hundredths / 10, kUnits[unitIndex]);
    } else {
        std::snprintf(text.data(), text.size(), "%" PRIu64 ".%02" PRIu64 " %s", whole, hundredths,
                      kUnits[unitIndex]);
    }
    return text.data();
}

std::string memberTooltip(const std::string& name, const std::optional<MemberDetails>& details)
{
    std::string tip = "名称: " + name;
    if (!details) {
        return tip + "\n" + kDetailsUnknown;
    }
    tip += "\n大小: " + shortSize(details->size);
    tip += "\n压缩后大小: " + shortSize(details->packedSize);
    const std::string minute = shownMinute(*details);
    if (!minute.empty()) {
        tip += "\n修改日期: " + minute;
    }
    return tip;
}

} // namespace browse
