#include "error.h"

#include <cstdio>

namespace karvex {
namespace {

// Whole MiB below 1 GiB, rounded up (never less than asked); GiB with one decimal above.
std::string memoryText(std::uint64_t bytes)
{
    constexpr std::uint64_t kMiB = 1ULL << 20;
    constexpr std::uint64_t kGiB = 1ULL << 30;
    char text[32];
    if (bytes < kGiB) {
        std::snprintf(text, sizeof text, "%llu MiB",
                      static_cast<unsigned long long>((bytes + kMiB - 1) / kMiB));
    } else {
        const std::uint64_t tenths = (bytes * 10 + kGiB / 2) / kGiB;
        if (tenths % 10 == 0) {
            std::snprintf(text, sizeof text, "%llu GiB",
                          static_cast<unsigned long long>(tenths / 10));
        } else {
            std::snprintf(text, sizeof text, "%llu.%llu GiB",
                          static_cast<unsigned long long>(tenths / 10),
                          static_cast<unsigned long long>(tenths % 10));
        }
    }
    return text;
}

} // namespace

const char* describe(Error error)
{
    switch (error) {
    case Error::None:
        return "no error";
    case Error::Argument:
        return "missing argument";
    case Error::OpenArchive:
        return "cannot open the archive file";
    case Error::NotAnArchive:
        return "not a ZIP archive, or its central directory is damaged";
    case Error::NoMember:
        return "no such member";
    case Error::UnsafeName:
        return "member name is unsafe to write";
    case Error::SeparatorInName:
        return "member name contains \"@@\"";
    case Error::SavePath:
        return "save path is not the save folder joined with the member name";
    case Error::SaveFolder:
        return "save folder is missing, or a file is in the way of a sub-folder";
    case Error::Symlink:
        return "refusing to write through a symbolic link";
    case Error::Exists:
        return "a file already exists at the save path";
    case Error::Encrypted:
        return "member is encrypted";
    case Error::UnsupportedMethod:
        return "member uses an unsupported compression method";
    case Error::NoSpace:
        return "not enough free disk space";
    case Error::SizeMismatch:
        return "member data does not match its declared size";
    case Error::BadCrc:
        return "member data fails its CRC check";
    case Error::CorruptData:
        return "member data is damaged";
    case Error::Write:
        return "cannot write the file";
    case Error::Internal:
        return "internal error";
    case Error::TooBig:
        return "member declares a size out of all proportion to its packed size";
    case Error::NameTooLong:
        return "member name is too long for the file system";
    case Error::Permission:
        return "no permission to write in the save folder";
    case Error::Cancelled:
        return "cancelled";
    case Error::BadRecord:
        return "the member's central record cannot be read";
    case Error::NeedsMemory:
        return "member needs more decoder memory than the library allows";
    case Error::HeaderMismatch:
        return "the member's local header names another file than its central record";
    case Error::IdenticalExists:
        return "an identical file is already at the save path";
    }
    return "unknown error";
}

std::string describe(Error error, std::uint64_t memoryNeeded)
{
    if (error != Error::NeedsMemory) {
        return describe(error);
    }
    const std::string limit = memoryText(KARVEX_DECODER_MEMORY_LIMIT);
    if (memoryNeeded == 0) {
        return std::string(describe(Error::NeedsMemory)) + " (" + limit + ")";
    }
    return "member needs " + memoryText(memoryNeeded) + " of decoder memory, more than the " +
           limit + " the library allows";
}

} // namespace karvex
