#include "archive.h"

#include "central_directory.h"
#include "member_stream.h"
#include "unique_fd.h"

#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace karvex {
namespace {

constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint64_t kEntryHeaderSize = 46;
constexpr std::uint16_t kAesMethod = 99;

UniqueFd openRegularFile(const char* path)
{
    // O_NONBLOCK keeps a FIFO planted under an archive's name from blocking the open.
    UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return {};
    }
    ::fcntl(fd.get(), F_SETFL, 0);
    return fd;
}

RecordProblem checkRecord(const RecordFields& record, const DirectoryLayout& layout)
{
    if (record.missingZip64) {
        return RecordProblem::MissingZip64;
    }
    if (record.method == kAesMethod) {
        if (!record.hasAesExtra) {
            return RecordProblem::NoEncryptionRecord;
        }
    } else if (!isSupportedMethod(record.method)) {
        return RecordProblem::UnsupportedMethod;
    }
    if (record.method == 0 && (record.flags & kEncryptedFlag) == 0 &&
        record.compressedSize != record.size) {
        return RecordProblem::StoredSizesDiffer;
    }
    if (record.localHeaderOffset > layout.start - layout.bias ||
        layout.start - layout.bias - record.localHeaderOffset < kLocalHeaderSize) {
        return RecordProblem::OutsideArchive;
    }
    return RecordProblem::None;
}

} // namespace

const char* describe(RecordProblem problem)
{
    switch (problem) {
    case RecordProblem::None:
        return "no problem";
    case RecordProblem::UnsupportedMethod:
        return "is compressed with a method this library cannot read";
    case RecordProblem::NoEncryptionRecord:
        return "is marked encrypted without the record that describes its encryption";
    case RecordProblem::MissingZip64:
        return "has a size or offset that points to a missing ZIP64 field";
    case RecordProblem::StoredSizesDiffer:
        return "is stored uncompressed, yet declares two different sizes";
    case RecordProblem::OutsideArchive:
        return "has its data outside the archive's member data";
    }
    return "unknown problem";
}

std::unique_ptr<Archive> Archive::open(const char* path, Error& error)
{
    UniqueFd fd = openRegularFile(path);
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0) {
        error = Error::OpenArchive;
        return nullptr;
    }
    error = Error::NotAnArchive;
    const auto layout = locateCentralDirectory(fd.get(), static_cast<std::uint64_t>(st.st_size));
    if (!layout) {
        return nullptr;
    }
    auto archive = std::make_unique<Archive>();
    archive->layout_ = *layout;
    // A count that may have wrapped is only a lower bound: where the directory has room for more
    // than 65,535 records, reserve for as many as fit.
    const std::uint64_t roomFor = layout->size / kEntryHeaderSize;
    archive->members_.reserve(static_cast<std::size_t>(
        layout->countMayWrap && roomFor > 0xFFFF ? roomFor : layout->entries));
    // Names take at most the directory's bytes beyond the fixed part of each record (more only
    // when GB18030 names grow in UTF-8); pages reserved and never touched cost no memory.
    archive->names_.reserve(
        static_cast<std::size_t>(layout->size - layout->entries * kEntryHeaderSize));
    DirectoryCursor cursor(fd.get(), *layout);
    RecordView record;
    for (;;) {
        const DirectoryCursor::Step step = cursor.next(record);
        if (step == DirectoryCursor::Step::Malformed) {
            return nullptr;
        }
        if (step == DirectoryCursor::Step::End) {
            break;
        }
        archive->addMember(record);
    }
    // Offsets into the name store are 32 bits: a directory of at most 1 GiB stays far below.
    if (archive->names_.size() > UINT32_MAX) {
        return nullptr;
    }
    archive->markDuplicates();
    archive->fd_ = std::move(fd);
    error = Error::None;
    return archive;
}

// A stored name flagged UTF-8 must be UTF-8; an unflagged one with an Info-ZIP Unicode Path
// field takes the field's name; otherwise it is taken as UTF-8 when it is valid UTF-8 and
// decoded from GB18030 otherwise. Only then are separators looked at, on the name so chosen.
void Archive::addMember(const RecordView& record)
{
    Member member;
    member.record = record.fields;
    member.nameOffset = static_cast<std::uint32_t>(names_.size());
    if (!record.unicodeName.empty() && (record.fields.flags & kUtf8NameFlag) == 0) {
        addUnicodePathMember(member, record);
        return;
    }
    // Most names are plain ASCII paths, taken as they are in one pass.
    if (appendPlainName(record.name, names_)) {
        member.nameLength = static_cast<std::uint32_t>(names_.size() - member.nameOffset);
        member.recordProblem = checkRecord(member.record, layout_);
        members_.push_back(member);
        return;
    }
    std::string_view decoded = record.name;
    std::optional<std::string> converted;
    if (!isValidUtf8(record.name)) {
        const bool flagged = (record.fields.flags & kUtf8NameFlag) != 0;
        converted = flagged ? std::nullopt : gb18030ToUtf8(record.name);
        if (!converted) {
            member.problem = NameProblem::Undecodable;
            member.isDirectory = !record.name.empty() && record.name.back() == '/';
            names_ += record.name;
        } else {
            decoded = *converted;
        }
    }
    if (member.problem == NameProblem::None) {
        const NameVerdict verdict = appendListedName(decoded, names_);
        member.isDirectory = verdict.isDirectory;
        member.problem = verdict.problem;
        if (verdict.problem != NameProblem::None) {
            names_ += decoded;
        }
    }
    member.nameLength = static_cast<std::uint32_t>(names_.size() - member.nameOffset);
    member.recordProblem = checkRecord(member.record, layout_);
    members_.push_back(member);
}

// The name from the Unicode Path field, checked like any other (a field that is not UTF-8 leaves
// the member out: its stored name is known to be no better); the stored bytes follow it in the
// name store, so that unpacking can match the local header against them.
void Archive::addUnicodePathMember(Member& member, const RecordView& record)
{
    if (!isValidUtf8(record.unicodeName)) {
        member.problem = NameProblem::Undecodable;
        member.isDirectory = !record.name.empty() && record.name.back() == '/';
        names_ += record.name;
    } else {
        const NameVerdict verdict = appendListedName(record.unicodeName, names_);
        member.isDirectory = verdict.isDirectory;
        member.problem = verdict.problem;
        if (verdict.problem != NameProblem::None) {
            names_ += record.unicodeName;
        }
    }
    member.nameLength = static_cast<std::uint32_t>(names_.size() - member.nameOffset);
    member.record.unicodePath = true;
    member.record.storedNameLength = static_cast<std::uint16_t>(record.name.size());
    names_ += record.name;
    member.recordProblem = checkRecord(member.record, layout_);
    members_.push_back(member);
}

// The first listable member of each name wins; later ones are duplicates. An open-addressing
// table costs 16 bytes per member where a set of strings costs dozens; each slot keeps part of
// the name's hash beside the member number, so a probe rarely has to look at another name.
void Archive::markDuplicates()
{
    std::size_t capacity = 16;
    while (capacity < members_.size() * 2) {
        capacity *= 2;
    }
    std::vector<std::uint64_t> table(capacity, 0); // hash << 32 | (member number + 1); 0: empty
    const std::hash<std::string_view> hash;
    for (std::size_t i = 0; i < members_.size(); ++i) {
        Member& member = members_[i];
        if (!member.listable()) {
            continue;
        }
        const std::string_view text = name(member);
        const std::uint64_t hashed = hash(text);
        const std::uint64_t tag = hashed & 0xFFFFFFFF00000000ULL;
        for (std::size_t slot = hashed & (capacity - 1);; slot = (slot + 1) & (capacity - 1)) {
            const std::uint64_t entry = table[slot];
            if (entry == 0) {
                table[slot] = tag | (i + 1);
                break;
            }
            if ((entry & 0xFFFFFFFF00000000ULL) == tag &&
                name(members_[(entry & 0xFFFFFFFFU) - 1]) == text) {
                member.duplicate = true;
                break;
            }
        }
    }
}

const Member* Archive::find(std::string_view listedName) const
{
    for (const Member& member : members_) {
        if (member.listable() && name(member) == listedName) {
            return &member;
        }
    }
    return nullptr;
}

const Member* Archive::findUnreadable(std::string_view listedName) const
{
    for (const Member& member : members_) {
        if (!member.isDirectory && member.problem == NameProblem::None &&
            member.recordProblem != RecordProblem::None && name(member) == listedName) {
            return &member;
        }
    }
    return nullptr;
}

} // namespace karvex
