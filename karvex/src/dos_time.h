// Turns the DOS date and time of a ZIP record (local wall-clock time, two-second steps) into
// seconds since 1970 UTC. The time zone is asked once per distinct hour of an archive, not once
// per member: archives of many members share few hours, and mktime per member dominated listing.
#pragma once

#include <cstdint>
#include <unordered_map>

namespace karvex {

class DosTimeConverter {
public:
    // The time as stored, in seconds from 1970-01-01 00:00 of the packer's own clock (no zone);
    // -1 when the date or time is not a real one (month 0, hour 25, ...).
    static std::int64_t asStored(std::uint16_t dosDate, std::uint16_t dosTime);
    // The stored time read in the local time zone, as seconds since 1970 UTC; -1 as above. A
    // time the local clock skipped is read with the offset in force just before the change.
    std::int64_t toUnix(std::uint16_t dosDate, std::uint16_t dosTime);

private:
    // The zone's offset from UTC, in seconds, in the local hour `dosDate`:`hour`.
    std::int64_t offsetAt(std::uint16_t dosDate, unsigned hour);

    std::unordered_map<std::uint32_t, std::int64_t> offsets_;
};

} // namespace karvex
