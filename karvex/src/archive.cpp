#include "archive.h"

#include "central_directory.h"
#include "unique_fd.h"

#include <cstdio>
#include <fcntl.h>
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

Member makeMember(zip_uint64_t index, const RawEntry& raw)
{
    Member member;
    member.index = index;
    member.rawName = raw.name;
    member.flags = raw.flags;
    const auto decoded = decodeStoredName(raw.name, (raw.flags & kUtf8NameFlag) != 0);
    if (!decoded) {
        member.problem = NameProblem::Undecodable;
        member.isDirectory = !raw.name.empty() && raw.name.back() == '/';
        return member;
    }
    member.decodedName = *decoded;
    ListedName listed = toListedName(*decoded);
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
    const auto entries = readCentralDirectory(fd.get());
    if (!entries) {
        return nullptr;
    }
    // libzip takes over its own descriptor; ours only served the central directory.
    UniqueFd zipFd(::dup(fd.get()));
    if (!zipFd.valid()) {
        error = Error::OpenArchive;
        return nullptr;
    }
    int zipError = 0;
    zip_t* zip = zip_fdopen(zipFd.get(), ZIP_RDONLY, &zipError);
    if (zip == nullptr) {
        return nullptr;
    }
    zipFd.release();
    auto archive = std::make_unique<Archive>();
    archive->zip_.reset(zip);
    if (zip_get_num_entries(zip, 0) != static_cast<zip_int64_t>(entries->size())) {
        return nullptr;
    }

    std::unordered_set<std::string> seen;
    archive->members_.reserve(entries->size());
    for (std::size_t i = 0; i < entries->size(); ++i) {
        Member member = makeMember(i, (*entries)[i]);
        if (member.listable() && !seen.insert(member.name).second) {
            member.duplicate = true;
        }
        archive->members_.push_back(std::move(member));
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
