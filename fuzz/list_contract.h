// The listing contract as a caller relies on it, checked from the outside: a buffer of 100000
// spaces and a zero byte goes in; the library's list, split the way the viewer splits it, must
// give exactly the names it counted, each one safe to write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace karvex_fuzz {

struct Listing {
    std::int32_t result = 0;
    std::vector<std::string> names; // the names as the viewer reads them from the buffer
};

// Lists `archivePath` through GetFileIndexList2 and aborts with a message on any breach of the
// contract.
Listing listAndCheck(const std::string& archivePath);

// Prints `what` with the offending bytes escaped and aborts, so libFuzzer keeps the input.
[[noreturn]] void fail(const std::string& what, const std::string& bytes = {});

} // namespace karvex_fuzz
