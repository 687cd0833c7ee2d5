// Reading an archive's bytes: little-endian fields, and whole ranges of the file at an offset.
#pragma once

#include <cstddef>
#include <cstdint>

namespace karvex {

inline std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(le16(p)) | (static_cast<std::uint32_t>(le16(p + 2)) << 16);
}

inline std::uint64_t le64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(le32(p)) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
}

// Reads exactly `size` bytes at `offset`; false on an error or when the file ends first.
bool readAt(int fd, std::uint64_t offset, void* out, std::size_t size);

} // namespace karvex
