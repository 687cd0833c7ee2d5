// CRC-32 of unpacked bytes, with ISA-L's folding implementation where the build found it and
// zlib's otherwise; both give the CRC that ZIP records.
#pragma once

#include <cstddef>
#include <cstdint>

namespace karvex {

// Continues `crc` (0 to start) over `size` bytes.
std::uint32_t updateCrc32(std::uint32_t crc, const void* data, std::size_t size);

} // namespace karvex
