// Reads the raw records of a ZIP archive's central directory: each member's name bytes exactly
// as stored (NULs included, so the name checks see them), its flags (bit 11 marks a UTF-8 name),
// and the sizes, CRC, time and data offset of the same record, ZIP64 values where present.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace karvex {

// What one central record says about its member's data.
struct RecordFields {
    std::uint16_t flags = 0;  // general-purpose bit flags
    std::uint16_t method = 0; // compression method
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeaderOffset = 0;
    bool hasAesExtra = false; // an extra field of id 0x9901 describes an AES encryption
    // A size or offset says "see the ZIP64 extra field" but no such field gives it.
    bool missingZip64 = false;
};

struct RawEntry {
    std::string name; // the stored name bytes, any length, NULs included
    RecordFields record;
};

constexpr std::uint16_t kUtf8NameFlag = 1U << 11;

// The central directory of the archive open on `fd`, in stored order; nothing when the file has
// no end-of-central-directory record or the directory runs outside the file.
std::optional<std::vector<RawEntry>> readCentralDirectory(int fd);

} // namespace karvex
