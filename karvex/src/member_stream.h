// The bytes of one member, uncompressed. Stored and deflated members are read raw from libzip
// and inflated here, so their CRC is computed once, by the caller; members in other methods
// libzip supports (bzip2, xz, zstd) are decompressed by libzip.
#pragma once

#include "archive.h"
#include "error.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace karvex {

class MemberStream {
public:
    virtual ~MemberStream() = default;
    // Fills up to `size` bytes; 0 at the end of the member; -1 on failure with `error` set.
    virtual std::int64_t read(char* out, std::size_t size, Error& error) = 0;
};

// Opens the member for reading; null with `error` set when libzip cannot.
std::unique_ptr<MemberStream> openMemberStream(const Archive& archive, const Member& member,
                                               std::uint16_t method, Error& error);

} // namespace karvex
