// The order in which lists show names, as a Chinese desktop lists them: letters without regard
// to case, runs of digits by their value ("a9" before "a10"), Han characters by their pinyin,
// and names in Latin (or another alphabet) before names in Han characters.
#pragma once

#include <string_view>

namespace host {

// Negative, zero or positive as `a` sorts before, with or after `b`. Names the order holds
// equal (they differ only in case or leading zeros) still get a fixed order, by their bytes, so
// sorting is stable and the same on every run.
int compareNames(std::string_view a, std::string_view b);

inline bool nameLess(std::string_view a, std::string_view b)
{
    return compareNames(a, b) < 0;
}

} // namespace host
