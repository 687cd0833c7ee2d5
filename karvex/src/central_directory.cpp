#include "central_directory.h"

#include "byte_reading.h"

#include <algorithm>
#include <cstring>

namespace karvex {
namespace {

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndRecordSize = 56;
constexpr std::size_t kEntryHeaderSize = 46;
constexpr std::size_t kMaxCommentSize = 0xFFFF;
// A bigger directory is refused: that is several million members.
constexpr std::uint64_t kMaxDirectorySize = 1ULL << 30;
constexpr std::size_t kReadBlock = 1U << 20;

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kEntrySignature = 0x02014b50;
constexpr std::uint32_t kDigitalSignatureSignature = 0x05054b50;

bool signatureAt(int fd, std::uint64_t offset, std::uint32_t signature)
{
    unsigned char bytes[4];
    return readAt(fd, offset, bytes, sizeof bytes) && le32(bytes) == signature;
}

// What an end record (classic, then ZIP64 where it points to one) declares.
struct Declared {
    std::uint64_t entries = 0;
    std::uint64_t diskEntries = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    std::uint32_t disk = 0;
    std::uint32_t directoryDisk = 0;
    std::uint64_t end = 0; // where the directory must have ended: the first end record
};

// The classic end record's value, or the ZIP64 one where the classic field is the marker that
// it overflowed. A classic value that is not the marker must agree with the ZIP64 one.
bool merge(std::uint64_t& classic, std::uint64_t zip64, std::uint64_t marker)
{
    if (classic == marker) {
        classic = zip64;
        return true;
    }
    return classic == zip64;
}

// Applies the ZIP64 end record when a locator sits right before the classic end record.
bool applyZip64(int fd, std::uint64_t endPosition, Declared& declared)
{
    if (endPosition < kZip64LocatorSize + kZip64EndRecordSize) {
        return true;
    }
    const std::uint64_t locatorPosition = endPosition - kZip64LocatorSize;
    unsigned char locator[kZip64LocatorSize];
    if (!readAt(fd, locatorPosition, locator, sizeof locator) ||
        le32(locator) != kZip64LocatorSignature) {
        return true; // a classic archive: its values are meant as they are, 0xFFFF included
    }
    // The ZIP64 end record is where the locator says, or, with data in front of the archive,
    // right before the locator.
    std::uint64_t recordPosition = le64(locator + 8);
    if (recordPosition + kZip64EndRecordSize > locatorPosition ||
        !signatureAt(fd, recordPosition, kZip64EndSignature)) {
        recordPosition = locatorPosition - kZip64EndRecordSize;
    }
    unsigned char record[kZip64EndRecordSize];
    if (!readAt(fd, recordPosition, record, sizeof record) || le32(record) != kZip64EndSignature) {
        return false;
    }
    std::uint64_t disk = declared.disk;
    std::uint64_t directoryDisk = declared.directoryDisk;
    if (!merge(disk, le32(record + 16), 0xFFFF) ||
        !merge(directoryDisk, le32(record + 20), 0xFFFF) ||
        !merge(declared.diskEntries, le64(record + 24), 0xFFFF) ||
        !merge(declared.entries, le64(record + 32), 0xFFFF) ||
        !merge(declared.size, le64(record + 40), 0xFFFFFFFF) ||
        !merge(declared.offset, le64(record + 48), 0xFFFFFFFF)) {
        return false;
    }
    declared.disk = static_cast<std::uint32_t>(disk);
    declared.directoryDisk = static_cast<std::uint32_t>(directoryDisk);
    declared.end = recordPosition;
    return true;
}

// The end record: the last one whose comment fits in the file, unless it hides in the comment
// of another.
std::optional<Declared> readEndRecord(int fd, std::uint64_t fileSize)
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
    std::optional<std::size_t> chosen;
    for (std::size_t i = tailSize - kEndRecordSize + 1; i-- > 0;) {
        const unsigned char* p = tail.data() + i;
        const std::size_t recordEnd = i + kEndRecordSize + le16(p + 20);
        if (le32(p) != kEndSignature || recordEnd > tailSize) {
            continue;
        }
        if (!chosen) {
            chosen = i;
        } else if (recordEnd == tailSize) {
            // An earlier end record whose comment holds the chosen one and reaches the end of
            // the file: two readers could see two different archives, so neither is taken.
            return std::nullopt;
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    const unsigned char* p = tail.data() + *chosen;
    Declared declared;
    declared.disk = le16(p + 4);
    declared.directoryDisk = le16(p + 6);
    declared.diskEntries = le16(p + 8);
    declared.entries = le16(p + 10);
    declared.size = le32(p + 12);
    declared.offset = le32(p + 16);
    declared.end = tailOffset + *chosen;
    if (!applyZip64(fd, declared.end, declared)) {
        return std::nullopt;
    }
    return declared;
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

std::optional<DirectoryLayout> locateCentralDirectory(int fd, std::uint64_t fileSize)
{
    const std::optional<Declared> declared = readEndRecord(fd, fileSize);
    if (!declared || declared->disk != 0 || declared->directoryDisk != 0 ||
        declared->diskEntries != declared->entries || declared->size > kMaxDirectorySize ||
        declared->entries > declared->size / kEntryHeaderSize || declared->size > declared->end) {
        return std::nullopt;
    }
    DirectoryLayout layout;
    layout.entries = declared->entries;
    layout.size = declared->size;
    if (declared->entries == 0) {
        layout.start = declared->end - declared->size;
        return layout;
    }
    // The directory is where the archive says, or, when bytes were put in front of the archive,
    // right before the end record. When both places hold a directory the archive is refused:
    // which one is meant cannot be told.
    const std::uint64_t shiftedStart = declared->end - declared->size;
    const bool atDeclared =
        declared->offset <= shiftedStart && signatureAt(fd, declared->offset, kEntrySignature);
    const bool atShifted =
        shiftedStart > declared->offset && signatureAt(fd, shiftedStart, kEntrySignature);
    if (atDeclared == atShifted) {
        return std::nullopt;
    }
    layout.start = atDeclared ? declared->offset : shiftedStart;
    layout.bias = layout.start - declared->offset;
    return layout;
}

DirectoryCursor::DirectoryCursor(int fd, const DirectoryLayout& layout)
    : fd_(fd), layout_(layout),
      buffer_(static_cast<std::size_t>(std::min<std::uint64_t>(layout.size, kReadBlock)))
{
}

bool DirectoryCursor::need(std::size_t size)
{
    if (end_ - begin_ >= size) {
        return true;
    }
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (buffer_.size() < size) {
        buffer_.resize(size);
    }
    const std::uint64_t unread = layout_.size - loaded_;
    const auto chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size() - end_, unread));
    if (end_ + chunk < size ||
        !readAt(fd_, layout_.start + loaded_, buffer_.data() + end_, chunk)) {
        return false;
    }
    end_ += chunk;
    loaded_ += chunk;
    return true;
}

DirectoryCursor::Step DirectoryCursor::next(RecordView& record)
{
    if (read_ == layout_.entries) {
        // The records must fill the directory, apart from a trailing signature record.
        const std::uint64_t left = layout_.size - loaded_ + (end_ - begin_);
        if (left == 0) {
            return Step::End;
        }
        return left >= 4 && need(4) && le32(buffer_.data() + begin_) == kDigitalSignatureSignature
                   ? Step::End
                   : Step::Malformed;
    }
    if (!need(kEntryHeaderSize)) {
        return Step::Malformed;
    }
    const unsigned char* p = buffer_.data() + begin_;
    if (le32(p) != kEntrySignature) {
        return Step::Malformed;
    }
    const std::size_t nameSize = le16(p + 28);
    const std::size_t extraSize = le16(p + 30);
    const std::size_t recordSize = kEntryHeaderSize + nameSize + extraSize + le16(p + 32);
    if (!need(recordSize)) {
        return Step::Malformed;
    }
    p = buffer_.data() + begin_;
    RecordFields& fields = record.fields;
    fields = RecordFields{};
    fields.flags = le16(p + 8);
    fields.method = le16(p + 10);
    fields.dosTime = le16(p + 12);
    fields.dosDate = le16(p + 14);
    fields.crc = le32(p + 16);
    fields.compressedSize = le32(p + 20);
    fields.size = le32(p + 24);
    fields.localHeaderOffset = le32(p + 42);
    record.name = std::string_view(reinterpret_cast<const char*>(p + kEntryHeaderSize), nameSize);
    readExtraFields(p + kEntryHeaderSize + nameSize, extraSize, fields);
    begin_ += recordSize;
    ++read_;
    return Step::Record;
}

} // namespace karvex
