// Reads a ZIP archive's central directory, the one description of the archive this library
// trusts: each record gives a member's exact name bytes (NULs included), its flags (bit 11 marks
// a UTF-8 name), method, CRC, time, sizes and data offset, ZIP64 values where present. An archive
// whose structure could be read two ways is refused as a whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
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
    std::uint64_t localHeaderOffset = 0; // where its local header is in the file
    bool hasAesExtra = false;            // an extra field of id 0x9901 describes an AES encryption
    // Set by the archive: the listed name comes from an Info-ZIP Unicode Path field, and the
    // stored name's bytes (this many) follow it in the name store, for the local header check.
    bool unicodePath = false;
    std::uint16_t storedNameLength = 0;
    // A size or offset says "see the ZIP64 extra field" but no such field gives it.
    bool missingZip64 = false;
};

constexpr std::uint16_t kUtf8NameFlag = 1U << 11;
constexpr std::uint16_t kEncryptedFlag = 1U << 0;

// Where the central directory is. `bias` is the number of bytes found in front of the archive
// (a self-extracting stub): every offset the archive declares is that much too small.
struct DirectoryLayout {
    std::uint64_t entries = 0;
    std::uint64_t start = 0; // file offset of the first record
    std::uint64_t size = 0;
    std::uint64_t bias = 0;
    // A classic end record without ZIP64 has a 16-bit count: writers of more than 65,535 members
    // store it modulo 65,536 or capped at 0xFFFF. The directory's records then decide.
    bool countMayWrap = false;
    // What was wrong with the end record and read around, for `zqr check` to report: a comment
    // cut short (declared and present bytes), a directory offset that does not point at the
    // directory (which sits right before the end record instead).
    bool commentCut = false;
    std::uint32_t commentDeclared = 0;
    std::uint32_t commentPresent = 0;
    bool offsetCorrected = false;
    std::uint64_t recordedOffset = 0;
};

// The layout of the archive open on `fd` of `fileSize` bytes; nothing when it has no end record,
// when its end records or counts disagree, or when the directory runs outside the file.
std::optional<DirectoryLayout> locateCentralDirectory(int fd, std::uint64_t fileSize);

// One record as the cursor hands it out; `name` points into the cursor's buffer and is valid
// until the next call.
struct RecordView {
    std::string_view name;
    // The UTF-8 name of an Info-ZIP Unicode Path field (0x7075) whose CRC-32 matches `name`'s
    // bytes; empty when there is none.
    std::string_view unicodeName;
    RecordFields fields;
};

// Walks the records of a located directory, reading it a large block at a time, so that a
// directory of a million members is never held in memory whole.
class DirectoryCursor {
public:
    DirectoryCursor(int fd, const DirectoryLayout& layout);

    enum class Step { Record, End, Malformed };
    // The next record; End after exactly `entries` records that fill the directory (or, when the
    // count may wrap, after N records that fill it with N = `entries` modulo 65,536, or N at
    // least 0xFFFF for a count capped there); Malformed when a record is damaged, the count does
    // not match, or the file cannot be read.
    Step next(RecordView& record);

private:
    // Makes `size` bytes at the read position available in the buffer.
    bool need(std::size_t size);

    int fd_;
    DirectoryLayout layout_;
    std::vector<unsigned char> buffer_;
    std::size_t begin_ = 0;    // read position inside the buffer
    std::size_t end_ = 0;      // end of valid bytes in the buffer
    std::uint64_t loaded_ = 0; // directory bytes read into the buffer so far
    std::uint64_t read_ = 0;   // records handed out
    std::uint64_t until_ = 0;  // records to hand out before looking for the directory's end
};

} // namespace karvex
