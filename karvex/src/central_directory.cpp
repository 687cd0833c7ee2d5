#include "central_directory.h"

#include "byte_reading.h"
#include "checksum.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

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
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint64_t kCountModulus = 0x10000;
constexpr std::uint16_t kUnicodePathId = 0x7075;

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
    bool zip64 = false;    // a ZIP64 end record gave the values
    bool commentCut = false;
    std::uint32_t commentDeclared = 0;
    std::uint32_t commentPresent = 0;
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
    declared.zip64 = true;
    return true;
}

// Whether the end record at `position` could describe an archive: one disk, counts that agree,
// and a directory record (or ZIP64 locator) where it says. Used to judge end records whose
// comment runs past the end of the file: random bytes that look like one must not count.
bool plausibleEndRecord(int fd, std::uint64_t position, const unsigned char* p)
{
    const std::uint64_t entries = le16(p + 10);
    const std::uint64_t size = le32(p + 12);
    const std::uint64_t offset = le32(p + 16);
    if (le16(p + 4) != 0 || le16(p + 6) != 0 || le16(p + 8) != entries) {
        return false;
    }
    if (position >= kZip64LocatorSize &&
        signatureAt(fd, position - kZip64LocatorSize, kZip64LocatorSignature)) {
        return true;
    }
    return size <= position &&
           ((entries == 0 && size == 0) || signatureAt(fd, offset, kEntrySignature) ||
            signatureAt(fd, position - size, kEntrySignature));
}

// The end record: the last one whose comment fits in the file, unless it hides in the comment
// of another. When none fits, the one end record whose comment is cut short by the end of the
// file (a download cut in the comment); two such, or one beside a whole one, are two readings.
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
    std::optional<std::size_t> cut;
    for (std::size_t i = tailSize - kEndRecordSize + 1; i-- > 0;) {
        const unsigned char* p = tail.data() + i;
        if (le32(p) != kEndSignature) {
            continue;
        }
        const std::size_t recordEnd = i + kEndRecordSize + le16(p + 20);
        if (recordEnd > tailSize) {
            if (plausibleEndRecord(fd, tailOffset + i, p)) {
                if (cut) {
                    return std::nullopt;
                }
                cut = i;
            }
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
    if (chosen && cut) {
        return std::nullopt;
    }
    if (!chosen && !cut) {
        return std::nullopt;
    }
    const std::size_t at = chosen ? *chosen : *cut;
    const unsigned char* p = tail.data() + at;
    Declared declared;
    declared.disk = le16(p + 4);
    declared.directoryDisk = le16(p + 6);
    declared.diskEntries = le16(p + 8);
    declared.entries = le16(p + 10);
    declared.size = le32(p + 12);
    declared.offset = le32(p + 16);
    declared.end = tailOffset + at;
    declared.commentCut = !chosen;
    declared.commentDeclared = le16(p + 20);
    declared.commentPresent = static_cast<std::uint32_t>(tailSize - at - kEndRecordSize);
    if (!applyZip64(fd, declared.end, declared)) {
        return std::nullopt;
    }
    return declared;
}

// Fills in the sizes and offset that the classic fields mark as overflowed from the ZIP64 extra
// field, which holds only those, in a fixed order; notes an AES field; and takes the UTF-8 name
// of the first Info-ZIP Unicode Path field (version 1) when its CRC-32 is that of the stored
// name, the proof that it was written for this very name and not renamed since.
void readExtraFields(const unsigned char* extra, std::size_t size, std::string_view name,
                     RecordView& record)
{
    RecordFields& entry = record.fields;
    const bool wantSize = entry.size == 0xFFFFFFFF;
    const bool wantCompressed = entry.compressedSize == 0xFFFFFFFF;
    const bool wantOffset = entry.localHeaderOffset == 0xFFFFFFFF;
    bool zip64Found = false;
    bool unicodePathFound = false;
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
        } else if (id == kUnicodePathId && !unicodePathFound) {
            unicodePathFound = true;
            if (length > 5 && field[0] == 1 &&
                le32(field + 1) == updateCrc32(0, name.data(), name.size())) {
                record.unicodeName =
                    std::string_view(reinterpret_cast<const char*>(field + 5), length - 5);
            }
        }
        pos += 4 + length;
    }
    if (!zip64Found && (wantSize || wantCompressed || wantOffset)) {
        entry.missingZip64 = true;
    }
}

// Whether a local header at `offset` carries exactly the stored name `name`.
bool localHeaderNamed(int fd, std::uint64_t offset, std::string_view name)
{
    unsigned char header[kLocalHeaderSize];
    if (!readAt(fd, offset, header, sizeof header) || le32(header) != kLocalSignature ||
        le16(header + 26) != name.size()) {
        return false;
    }
    std::string stored(name.size(), '\0');
    return readAt(fd, offset + kLocalHeaderSize, stored.data(), stored.size()) && stored == name;
}

// The first record's stored name and local header offset, read at `start`.
std::optional<std::pair<std::string, std::uint64_t>> firstRecord(int fd, std::uint64_t start)
{
    unsigned char header[kEntryHeaderSize];
    if (!readAt(fd, start, header, sizeof header)) {
        return std::nullopt;
    }
    std::string name(le16(header + 28), '\0');
    if (!readAt(fd, start + kEntryHeaderSize, name.data(), name.size())) {
        return std::nullopt;
    }
    return std::make_pair(std::move(name), static_cast<std::uint64_t>(le32(header + 42)));
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
    layout.countMayWrap = !declared->zip64;
    layout.commentCut = declared->commentCut;
    layout.commentDeclared = declared->commentDeclared;
    layout.commentPresent = declared->commentPresent;
    const std::uint64_t shiftedStart = declared->end - declared->size;
    // A count of 0 means no records, unless it wrapped: 65,536 records or a multiple.
    if (declared->entries == 0 &&
        !(layout.countMayWrap && declared->size >= kCountModulus * kEntryHeaderSize)) {
        layout.start = shiftedStart;
        return layout;
    }
    // The directory is where the archive says, or, when bytes were put in front of the archive
    // or the recorded offset is wrong, right before the end record. When both places hold a
    // directory the archive is refused: which one is meant cannot be told.
    const bool atDeclared =
        declared->offset <= shiftedStart && signatureAt(fd, declared->offset, kEntrySignature);
    const bool atShifted =
        shiftedStart != declared->offset && signatureAt(fd, shiftedStart, kEntrySignature);
    if (atDeclared == atShifted) {
        return std::nullopt;
    }
    if (atDeclared) {
        layout.start = declared->offset;
        return layout;
    }
    layout.start = shiftedStart;
    // Bytes in front of the archive make every offset short by the same amount; a wrong
    // directory offset leaves the members' offsets right. The first member's local header,
    // carrying its name, says which. Where it is found behind the front bytes, or nowhere, the
    // archive is read as one behind a stub, as every reader does.
    const std::uint64_t stub =
        shiftedStart > declared->offset ? shiftedStart - declared->offset : 0;
    const auto first = firstRecord(fd, shiftedStart);
    if (!first) {
        return std::nullopt;
    }
    if (stub > 0 && localHeaderNamed(fd, first->second + stub, first->first)) {
        layout.bias = stub;
        return layout;
    }
    if (localHeaderNamed(fd, first->second, first->first)) {
        layout.offsetCorrected = true;
        layout.recordedOffset = declared->offset;
        return layout;
    }
    if (stub == 0) {
        return std::nullopt;
    }
    layout.bias = stub;
    return layout;
}

DirectoryCursor::DirectoryCursor(int fd, const DirectoryLayout& layout)
    : fd_(fd), layout_(layout),
      buffer_(static_cast<std::size_t>(std::min<std::uint64_t>(layout.size, kReadBlock))),
      until_(layout.entries)
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
    if (read_ == until_) {
        // The records must fill the directory, apart from a trailing signature record.
        const std::uint64_t left = layout_.size - loaded_ + (end_ - begin_);
        const std::uint32_t signature = left >= 4 && need(4) ? le32(buffer_.data() + begin_) : 0;
        if (left == 0 || signature == kDigitalSignatureSignature) {
            // Past the declared count, the count must have wrapped or been capped.
            const std::uint64_t extra = read_ - layout_.entries;
            return extra % kCountModulus == 0 || layout_.entries == 0xFFFF ? Step::End
                                                                           : Step::Malformed;
        }
        // A 16-bit count that wrapped: the records go on until the directory is full.
        if (!layout_.countMayWrap || signature != kEntrySignature) {
            return Step::Malformed;
        }
        ++until_;
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
    record.unicodeName = {};
    readExtraFields(p + kEntryHeaderSize + nameSize, extraSize, record.name, record);
    begin_ += recordSize;
    ++read_;
    return Step::Record;
}

} // namespace karvex
