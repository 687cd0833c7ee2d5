// Builds ZIP archives byte by byte, so tests can make the archives no honest tool writes: names
// of any bytes, lying sizes and checksums, members sharing one piece of data, encryption flags.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace karvex_test {

struct ZipEntry {
    std::string name;         // stored name bytes, exactly
    std::string data;         // the member's content before compression
    std::uint16_t flags = 0;  // general-purpose flags (bit 11: UTF-8 name, bit 0: encrypted)
    std::uint16_t method = 0; // 0 stored, 8 deflated; any other value stores `data` as it is
    std::optional<std::uint32_t> crc;        // declared CRC instead of the true one
    std::optional<std::uint64_t> size;       // declared size instead of the true one
    std::optional<std::uint64_t> packedSize; // declared packed size instead of the true one
    std::optional<std::size_t> sharesWith;   // point at an earlier entry's local header and data
    bool zip64 = false;                      // declare the sizes in a ZIP64 extra field
    std::string extra; // further extra fields, in the local header and the central record
    // The stored bytes as a tool packed them; `data` is then what they unpack to (CRC and size).
    std::optional<std::string> packed;
    std::optional<std::string> localName; // another name in the local header
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0x5A21; // 2025-01-01
};

constexpr std::uint16_t kUtf8Flag = 1U << 11;
constexpr std::uint16_t kEncryptedFlag = 1U << 0;

std::string buildZip(const std::vector<ZipEntry>& entries);

// An Info-ZIP Unicode Path extra field (0x7075) giving `utf8Name` for the stored name bytes
// `storedName` (its CRC-32 is taken of those bytes).
std::string unicodePathField(const std::string& storedName, const std::string& utf8Name);

// Raw deflate of `data` (no zlib header), as ZIP stores it.
std::string deflateRaw(const std::string& data);

} // namespace karvex_test
