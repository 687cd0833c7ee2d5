// The order in which lists show names: ascending, letters without regard to case, and runs of
// digits compared by their value ("a2" before "a10").
#pragma once

#include <string_view>

namespace host {

// Negative, zero or positive as `a` sorts before, with or after `b`. Names that differ only in
// case or leading zeros still get a fixed order (by their bytes), so sorting is stable.
int naturalCompare(std::string_view a, std::string_view b);

inline bool naturalLess(std::string_view a, std::string_view b)
{
    return naturalCompare(a, b) < 0;
}

} // namespace host
