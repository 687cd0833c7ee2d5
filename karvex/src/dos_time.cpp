#include "dos_time.h"

#include <algorithm>
#include <ctime>

namespace karvex {
namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

bool isLeapYear(unsigned year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned daysInMonth(unsigned year, unsigned month)
{
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

} // namespace

std::int64_t DosTimeConverter::asStored(std::uint16_t dosDate, std::uint16_t dosTime)
{
    const unsigned year = 1980 + (dosDate >> 9);
    const unsigned month = (dosDate >> 5) & 0x0F;
    const unsigned day = dosDate & 0x1F;
    const unsigned hour = dosTime >> 11;
    const unsigned minute = (dosTime >> 5) & 0x3F;
    const unsigned second = (dosTime & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return -1;
    }
    return daysFromCivil(year, month, day) * 86400 + hour * 3600 +
           static_cast<std::int64_t>(minute) * 60 + second;
}

std::int64_t DosTimeConverter::toUnix(std::uint16_t dosDate, std::uint16_t dosTime)
{
    const std::int64_t wallClock = asStored(dosDate, dosTime);
    return wallClock < 0 ? -1 : wallClock - offsetAt(dosDate, dosTime >> 11);
}

std::int64_t DosTimeConverter::offsetAt(std::uint16_t dosDate, unsigned hour)
{
    const std::uint32_t key = (static_cast<std::uint32_t>(dosDate) << 5) | hour;
    if (const auto found = offsets_.find(key); found != offsets_.end()) {
        return found->second;
    }
    const int year = static_cast<int>(1980 + (dosDate >> 9));
    const auto month = static_cast<unsigned>((dosDate >> 5) & 0x0F);
    const auto day = static_cast<unsigned>(dosDate & 0x1F);
    // Mid-hour: clear of the minute a daylight-saving change happens at.
    constexpr int kProbeMinute = 30;
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = static_cast<int>(month) - 1;
    local.tm_mday = static_cast<int>(day);
    local.tm_hour = static_cast<int>(hour);
    local.tm_min = kProbeMinute;
    local.tm_isdst = -1;
    const std::time_t utc = std::mktime(&local);
    std::int64_t offset = 0;
    if (utc != static_cast<std::time_t>(-1)) {
        const std::int64_t asked =
            daysFromCivil(year, month, day) * 86400 + hour * 3600 + kProbeMinute * 60;
        const std::int64_t normalised =
            daysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                          static_cast<unsigned>(local.tm_mday)) *
                86400 +
            local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
        // A time the clock skipped (a spring-forward gap) comes back moved to a real one, by
        // either offset. The smaller of the two readings gives the offset in force before the
        // change, the common reading of such a time: the packer's clock had not yet been set
        // forward (Berlin's skipped 02:30 is 01:30 UTC, 03:30 summer time, never 01:30).
        offset = std::min(asked, normalised) - static_cast<std::int64_t>(utc);
    }
    offsets_.emplace(key, offset);
    return offset;
}

} // namespace karvex
