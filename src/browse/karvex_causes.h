// What each of the archive library's failure codes means, in one line the user can act on, for
// the messages that report a failed listing or a failed unpack.
#pragma once

#include <cstdint>
#include <string>

namespace browse {

// The cause of a negative library code, one line; unknown codes say so.
std::string karvexCause(std::int32_t code);

} // namespace browse
