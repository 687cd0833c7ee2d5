// An open .zqr archive: its central directory, read once by our own reader, and the catalogue of
// members with the listed name and status of each. Every fact about a member (name, sizes, CRC,
// method, where its data is) comes from its one central record.
#pragma once

#include "central_directory.h"
#include "error.h"
#include "names.h"
#include "unique_fd.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace karvex {

// Why a member's central record cannot be used, whatever its name.
enum class RecordProblem : std::uint8_t {
    None,
    UnsupportedMethod,  // compressed with a method this library cannot read
    NoEncryptionRecord, // marked AES-encrypted (method 99) without the record that describes it
    MissingZip64,       // a size or offset points to a ZIP64 field that is not there
    StoredSizesDiffer,  // stored as it is, yet its packed and unpacked sizes differ
    OutsideArchive,     // its data would start inside or after the central directory
};

// A short English phrase for the problem, e.g. "is compressed with an unknown method".
const char* describe(RecordProblem problem);

// One central directory entry, kept small: a million of them must fit in a few hundred MB.
struct Member {
    RecordFields record;
    std::uint32_t nameOffset = 0; // in the archive's name store
    std::uint32_t nameLength = 0;
    NameProblem problem = NameProblem::None;
    RecordProblem recordProblem = RecordProblem::None;
    bool isDirectory = false;
    bool duplicate = false; // an earlier listable member has the same listed name

    bool listable() const
    {
        return !isDirectory && !duplicate && problem == NameProblem::None &&
               recordProblem == RecordProblem::None;
    }
};

class Archive {
public:
    // Opens `path`; on failure `error` says why (OpenArchive, NotAnArchive or Internal) and
    // nothing comes back.
    static std::unique_ptr<Archive> open(const char* path, Error& error);

    const std::vector<Member>& members() const { return members_; }
    // The listed name; for a member whose name cannot be listed, the stored name (decoded when
    // it could be), for messages.
    std::string_view name(const Member& member) const
    {
        return std::string_view(names_).substr(member.nameOffset, member.nameLength);
    }
    // The stored name bytes of a member named by a Unicode Path field; empty for the others.
    std::string_view storedName(const Member& member) const
    {
        if (!member.record.unicodePath) {
            return {};
        }
        return std::string_view(names_).substr(member.nameOffset + member.nameLength,
                                               member.record.storedNameLength);
    }
    // The member's place in the central directory, from 0.
    std::uint64_t indexOf(const Member& member) const
    {
        return static_cast<std::uint64_t>(&member - members_.data());
    }
    // The first listable member with exactly this listed name, or null.
    const Member* find(std::string_view listedName) const;
    // A member with this (safe) name that is left out only for its record, or null.
    const Member* findUnreadable(std::string_view listedName) const;

    int fd() const { return fd_.get(); }
    const DirectoryLayout& layout() const { return layout_; }

private:
    void addMember(const RecordView& record);
    void addUnicodePathMember(Member& member, const RecordView& record);
    void markDuplicates();

    UniqueFd fd_;
    DirectoryLayout layout_;
    std::vector<Member> members_;
    std::string names_;
};

} // namespace karvex
