// The library's failure causes, one per public result code, with the one-line text that the
// command-line tool prints for each.
#pragma once

#include "karvex/karvex.h"

#include <cstdint>
#include <string>

namespace karvex {

enum class Error : std::int32_t {
    None = KARVEX_OK,
    Argument = KARVEX_E_ARGUMENT,
    OpenArchive = KARVEX_E_OPEN_ARCHIVE,
    NotAnArchive = KARVEX_E_NOT_AN_ARCHIVE,
    NoMember = KARVEX_E_NO_MEMBER,
    UnsafeName = KARVEX_E_UNSAFE_NAME,
    SeparatorInName = KARVEX_E_SEPARATOR_IN_NAME,
    SavePath = KARVEX_E_SAVE_PATH,
    SaveFolder = KARVEX_E_SAVE_FOLDER,
    Symlink = KARVEX_E_SYMLINK,
    Exists = KARVEX_E_EXISTS,
    Encrypted = KARVEX_E_ENCRYPTED,
    UnsupportedMethod = KARVEX_E_UNSUPPORTED_METHOD,
    NoSpace = KARVEX_E_NO_SPACE,
    SizeMismatch = KARVEX_E_SIZE_MISMATCH,
    BadCrc = KARVEX_E_BAD_CRC,
    CorruptData = KARVEX_E_CORRUPT_DATA,
    Write = KARVEX_E_WRITE,
    Internal = KARVEX_E_INTERNAL,
    TooBig = KARVEX_E_TOO_BIG,
    NameTooLong = KARVEX_E_NAME_TOO_LONG,
    Permission = KARVEX_E_PERMISSION,
    Cancelled = KARVEX_E_CANCELLED,
    BadRecord = KARVEX_E_BAD_RECORD,
    NeedsMemory = KARVEX_E_NEEDS_MEMORY,
    HeaderMismatch = KARVEX_E_HEADER_MISMATCH,
    // Not a failure: a file identical to the member is already at the save path.
    IdenticalExists = KARVEX_IDENTICAL_EXISTS,
};

// A short English sentence fragment for the error, e.g. "member is encrypted".
const char* describe(Error error);

// The same, and for NeedsMemory with the amount the member asks for, e.g. "member needs 1.5 GiB
// of decoder memory, more than the 512 MiB the library allows"; `memoryNeeded` 0: unknown.
std::string describe(Error error, std::uint64_t memoryNeeded);

} // namespace karvex
