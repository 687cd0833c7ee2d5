// Reads the raw records of a ZIP archive's central directory: each member's name bytes exactly
// as stored (libzip hands names out as C strings and turns a NUL into a space, which would hide
// a NUL from the name checks) and its general-purpose flags (bit 11 marks a UTF-8 name).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace karvex {

struct RawEntry {
    std::string name;         // the stored name bytes, any length, NULs included
    std::uint16_t flags = 0;  // general-purpose bit flags
    std::uint16_t method = 0; // compression method
};

constexpr std::uint16_t kUtf8NameFlag = 1U << 11;

// The central directory of the archive open on `fd`, in stored order; nothing when the file has
// no end-of-central-directory record or the directory runs outside the file.
std::optional<std::vector<RawEntry>> readCentralDirectory(int fd);

} // namespace karvex
