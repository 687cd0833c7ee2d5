// The codec layer: the bytes of one member, unpacked by the codec of its method (stored,
// deflate, bzip2, LZMA, xz, Zstandard) from the packed bytes its central record points to.
#pragma once

#include "archive.h"
#include "error.h"
#include "packed_input.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace karvex {

class MemberStream {
public:
    virtual ~MemberStream() = default;
    // Fills up to `size` bytes; 0 at the end of the member; -1 on failure with `error` set.
    virtual std::int64_t read(char* out, std::size_t size, Error& error) = 0;
    // After a read failed with NeedsMemory: the decoder memory the data asks for, in bytes (0
    // when it cannot be told).
    virtual std::uint64_t memoryNeeded() const { return 0; }
};

// Whether a codec for the compression method is built in.
bool isSupportedMethod(std::uint16_t method);

// Opens the member's data: its local header must agree with the central record on the name
// (HeaderMismatch otherwise), and the packed bytes must lie between it and the central directory.
// Null with `error` set otherwise.
std::unique_ptr<MemberStream> openMemberStream(const Archive& archive, const Member& member,
                                               Error& error);

// The codecs, each over the member's packed bytes; null with `error` set when one cannot start.
std::unique_ptr<MemberStream> makeStoredStream(PackedInput input);
std::unique_ptr<MemberStream> makeInflateStream(PackedInput input, Error& error);
std::unique_ptr<MemberStream> makeBzip2Stream(PackedInput input, Error& error);
// `lzmaHeader`: method 14's own header (version and properties) in front of a raw stream that
// unpacks to `size` bytes; otherwise xz streams, one after another.
std::unique_ptr<MemberStream> makeLzmaStream(PackedInput input, bool lzmaHeader, std::uint64_t size,
                                             Error& error);
std::unique_ptr<MemberStream> makeZstdStream(PackedInput input, Error& error);

} // namespace karvex
