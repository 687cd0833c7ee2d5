// The member list handed to the viewer: listable names, each followed by "@@", in central
// directory order, never longer than the caller's buffer and never cut inside a name.
#pragma once

#include "archive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace karvex {

inline constexpr char kSeparator[] = "@@";

struct MemberList {
    std::vector<const Member*> listed;
    std::string text;     // the names, each followed by "@@"
    bool leftOut = false; // some listable members did not fit
};

MemberList makeMemberList(const Archive& archive, std::size_t limit);

// The whole listing entry: opens the archive and writes the list and a zero byte into `buffer`.
// Returns the count (plus KARVEX_LIST_LEFT_OUT) or a negative error; on error `buffer` is
// untouched.
std::int32_t listMembers(const char* zipPath, char* buffer);

} // namespace karvex
