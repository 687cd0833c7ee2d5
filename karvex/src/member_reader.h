// Reads one member's data out of an archive into a sink, trusting nothing the archive declares:
// the bytes are capped at the declared size, and size and CRC are checked at the end.
#pragma once

#include "archive.h"
#include "error.h"

#include <cstddef>
#include <cstdint>

namespace karvex {

// Where a member's bytes go: a file being written, or nowhere when only checking.
class Sink {
public:
    virtual ~Sink() = default;
    virtual Error write(const char* data, std::size_t size) = 0;
};

// What the archive declares about a member, and whether this library can read it at all:
// encrypted, an unusable record, or a declared size out of all proportion (a bomb) end here,
// before any byte is written.
struct MemberInfo {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    std::uint16_t method = 0;
};
Error inspectMember(const Archive& archive, const Member& member, MemberInfo& info);

// Whether the record marks its member encrypted (the flag, or an AES record): said before any
// other reason the member cannot be read.
bool isEncrypted(const RecordFields& record);

// Streams the member through `sink`. Fails without passing on more than the declared size. On
// NeedsMemory, `memoryNeeded` (when given) receives the decoder memory the data asks for (0 when
// it cannot be told).
Error copyMember(const Archive& archive, const Member& member, const MemberInfo& info, Sink& sink,
                 std::uint64_t* memoryNeeded = nullptr);

} // namespace karvex
