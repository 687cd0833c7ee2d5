#include "archive.h"

#include "central_directory.h"
#include "file_source.h"
#include "unique_fd.h"

#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unordered_set>

namespace karvex {
namespace {

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

// A stored name flagged UTF-8 must be UTF-8; an unflagged one is taken as UTF-8 when it is valid
// UTF-8 and decoded from GB18030 otherwise. Only then are separators looked at.
Member makeMember(zip_uint64_t index, RawEntry&& raw)
{
    Member member;
    member.index = index;
    member.rawName = std::move(raw.name);
    member.record = raw.record;
    std::string_view decoded = member.rawName;
    if (!isValidUtf8(member.rawName)) {
        const bool flagged = (raw.record.flags & kUtf8NameFlag) != 0;
        auto converted = flagged ? std::nullopt : gb18030ToUtf8(member.rawName);
        if (!converted) {
            member.problem = NameProblem::Undecodable;
            member.isDirectory = !member.rawName.empty() && member.rawName.back() == '/';
            return member;
        }
        member.decodedName = std::move(*converted);
        decoded = member.decodedName;
    }
    ListedName listed = toListedName(decoded);
    member.name = std::move(listed.text);
    member.isDirectory = listed.isDirectory;
    member.problem = listed.problem;
    return member;
}

} // namespace

std::unique_ptr<Archive> Archive::open(const char* path, Error& error)
{
    UniqueFd fd = openRegularFile(path);
    if (!fd.valid()) {
        error = Error::OpenArchive;
        return nullptr;
    }
    error = Error::NotAnArchive;
    auto entries = readCentralDirectory(fd.get());
    if (!entries) {
        return nullptr;
    }
    auto archive = std::make_unique<Archive>();
    // libzip reads through a descriptor of its own, on the very file we read the directory of.
    // Listing opens it too: an archive libzip refuses as a whole could otherwise list members
    // that then never unpack, so both ways in refuse the same archives.
    UniqueFd zipFd(::dup(fd.get()));
    if (!zipFd.valid()) {
        error = Error::OpenArchive;
        return nullptr;
    }
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = openFileSource(std::move(zipFd), &zipError);
    if (source != nullptr) {
        archive->zip_.reset(zip_open_from_source(source, ZIP_RDONLY, &zipError));
        if (!archive->zip_) {
            zip_source_free(source);
        }
    }
    zip_error_fini(&zipError);
    if (!archive->zip_ ||
        zip_get_num_entries(archive->zip(), 0) != static_cast<zip_int64_t>(entries->size())) {
        return nullptr;
    }

    archive->members_.reserve(entries->size());
    for (std::size_t i = 0; i < entries->size(); ++i) {
        archive->members_.push_back(makeMember(i, std::move((*entries)[i])));
    }
    // The views point into the members' names, which stay put now that the vector is complete.
    std::unordered_set<std::string_view> seen;
    seen.reserve(archive->members_.size());
    for (Member& member : archive->members_) {
        if (member.listable() && !seen.insert(member.name).second) {
            member.duplicate = true;
        }
    }
    error = Error::None;
    return archive;
}

const Member* Archive::find(std::string_view listedName) const
{
    for (const Member& member : members_) {
        if (member.listable() && member.name == listedName) {
            return &member;
        }
    }
    return nullptr;
}

std::string printableName(std::string_view bytes)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 1;
        if (lead >= 0xC0) {
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        }
        const std::string_view sequence = bytes.substr(pos, length);
        char escape[16];
        if (lead < 0x20 || lead == 0x7F || sequence.size() != length || !isValidUtf8(sequence) ||
            (lead >= 0x80 && lead < 0xC0)) {
            std::snprintf(escape, sizeof escape, "\\x%02X", lead);
            out += escape;
            ++pos;
            continue;
        }
        const ListedName asName = toListedName(sequence);
        if (asName.problem == NameProblem::BidiControl ||
            asName.problem == NameProblem::ControlCharacter) {
            unsigned long value = 0;
            for (std::size_t i = 0; i < length; ++i) {
                const auto c = static_cast<unsigned char>(sequence[i]);
                value = (value << 6) | (i == 0 ? (c & (0x7F >> length)) : (c & 0x3F));
            }
            std::snprintf(escape, sizeof escape, "\\u{%04lX}", value);
            out += escape;
        } else {
            out += sequence;
        }
        pos += length;
    }
    return out;
}

} // namespace karvex
