#include "central_directory.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace karvex {
namespace {

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndRecordSize = 56;
constexpr std::size_t kEntryHeaderSize = 46;
constexpr std::size_t kMaxCommentSize = 0xFFFF;
// A bigger directory is refused rather than read into memory: that is about a million members,
// far more than a list of 100000 bytes can show.
constexpr std::uint64_t kMaxDirectorySize = 64ULL << 20;

std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t le64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(le32(p)) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
}

bool readAt(int fd, std::uint64_t offset, unsigned char* out, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (n <= 0) {
            return false;
        }
        out += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool hasSignature(const unsigned char* p, std::uint32_t signature)
{
    return le32(p) == signature;
}

struct DirectoryLocation {
    std::uint64_t entries = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    std::uint64_t end = 0; // where the directory must end: the first end record
};

// The ZIP64 end record replaces the classic one's counts and offsets when they overflowed.
bool readZip64Location(int fd, std::uint64_t endRecordOffset, DirectoryLocation& location)
{
    if (endRecordOffset < kZip64LocatorSize) {
        return false;
    }
    const std::uint64_t locatorOffset = endRecordOffset - kZip64LocatorSize;
    unsigned char locator[kZip64LocatorSize];
    if (!readAt(fd, locatorOffset, locator, sizeof locator) || !hasSignature(locator, 0x07064b50)) {
        return false;
    }
    const std::uint64_t recordOffset = le64(locator + 8);
    unsigned char record[kZip64EndRecordSize];
    if (recordOffset > locatorOffset || locatorOffset - recordOffset < sizeof record ||
        !readAt(fd, recordOffset, record, sizeof record) || !hasSignature(record, 0x06064b50)) {
        return false;
    }
    location.entries = le64(record + 32);
    location.size = le64(record + 40);
    location.offset = le64(record + 48);
    location.end = recordOffset;
    return true;
}

std::optional<DirectoryLocation> locateDirectory(int fd, std::uint64_t fileSize)
{
    if (fileSize < kEndRecordSize) {
        return std::nullopt;
    }
    const std::size_t tailSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize, kEndRecordSize + kMaxCommentSize));
    std::vector<unsigned char> tail(tailSize);
    const std::uint64_t tailOffset = fileSize - tailSize;
    if (!readAt(fd, tailOffset, tail.data(), tail.size())) {
        return std::nullopt;
    }
    // The end record is the last signature whose comment still fits in the file.
    for (std::size_t i = tailSize - kEndRecordSize + 1; i-- > 0;) {
        const unsigned char* p = tail.data() + i;
        if (!hasSignature(p, 0x06054b50) || i + kEndRecordSize + le16(p + 20) > tailSize) {
            continue;
        }
        DirectoryLocation location;
        location.entries = le16(p + 10);
        location.size = le32(p + 12);
        location.offset = le32(p + 16);
        location.end = tailOffset + i;
        const bool overflowed = location.entries == 0xFFFF || location.size == 0xFFFFFFFF ||
                                location.offset == 0xFFFFFFFF;
        if (overflowed && !readZip64Location(fd, tailOffset + i, location)) {
            return std::nullopt;
        }
        return location;
    }
    return std::nullopt;
}

// Fills in the sizes and offset that the classic fields mark as overflowed from the ZIP64 extra
// field, which holds only those, in a fixed order.
void readExtraFields(const unsigned char* extra, std::size_t size, RecordFields& entry)
{
    const bool wantSize = entry.size == 0xFFFFFFFF;
    const bool wantCompressed = entry.compressedSize == 0xFFFFFFFF;
    const bool wantOffset = entry.localHeaderOffset == 0xFFFFFFFF;
    bool zip64Found = false;
    std::size_t pos = 0;
    while (size - pos >= 4) {
        const std::uint16_t id = le16(extra + pos);
        const std::size_t length = le16(extra + pos + 2);
        if (size - pos - 4 < length) {
            break;
        }
        const unsigned char* field = extra + pos + 4;
        if (id == 0x0001 && !zip64Found) {
            zip64Found = true;
            std::size_t at = 0;
            const auto take = [&](bool wanted, std::uint64_t& value) {
                if (!wanted) {
                    return true;
                }
                if (length - at < 8) {
                    return false;
                }
                value = le64(field + at);
                at += 8;
                return true;
            };
            entry.missingZip64 = !take(wantSize, entry.size) ||
                                 !take(wantCompressed, entry.compressedSize) ||
                                 !take(wantOffset, entry.localHeaderOffset);
        } else if (id == 0x9901) {
            entry.hasAesExtra = true;
        }
        pos += 4 + length;
    }
    if (!zip64Found && (wantSize || wantCompressed || wantOffset)) {
        entry.missingZip64 = true;
    }
}

} // namespace

std::optional<std::vector<RawEntry>> readCentralDirectory(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    const auto location = locateDirectory(fd, static_cast<std::uint64_t>(st.st_size));
    if (!location || location->size > kMaxDirectorySize || location->offset > location->end ||
        location->end - location->offset < location->size ||
        location->entries > location->size / kEntryHeaderSize) {
        return std::nullopt;
    }
    std::vector<unsigned char> directory(static_cast<std::size_t>(location->size));
    if (!readAt(fd, location->offset, directory.data(), directory.size())) {
        return std::nullopt;
    }

    std::vector<RawEntry> entries;
    entries.reserve(static_cast<std::size_t>(location->entries));
    std::size_t pos = 0;
    for (std::uint64_t n = 0; n < location->entries; ++n) {
        if (directory.size() - pos < kEntryHeaderSize) {
            return std::nullopt;
        }
        const unsigned char* p = directory.data() + pos;
        if (!hasSignature(p, 0x02014b50)) {
            return std::nullopt;
        }
        const std::size_t nameSize = le16(p + 28);
        const std::size_t recordSize = kEntryHeaderSize + nameSize + le16(p + 30) + le16(p + 32);
        if (directory.size() - pos < recordSize) {
            return std::nullopt;
        }
        RawEntry entry;
        RecordFields& record = entry.record;
        record.flags = le16(p + 8);
        record.method = le16(p + 10);
        record.dosTime = le16(p + 12);
        record.dosDate = le16(p + 14);
        record.crc = le32(p + 16);
        record.compressedSize = le32(p + 20);
        record.size = le32(p + 24);
        record.localHeaderOffset = le32(p + 42);
        entry.name.assign(reinterpret_cast<const char*>(p + kEntryHeaderSize), nameSize);
        readExtraFields(p + kEntryHeaderSize + nameSize, le16(p + 30), record);
        entries.push_back(std::move(entry));
        pos += recordSize;
    }
    return entries;
}

} // namespace karvex
