// An open .zqr archive: libzip for the data, our own reading of the central directory for the
// exact stored names, and the catalogue of members with the listed name and status of each.
#pragma once

#include "central_directory.h"
#include "error.h"
#include "names.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <zip.h>

namespace karvex {

struct Member {
    zip_uint64_t index = 0;  // libzip's index, the member's place in the central directory
    std::string rawName;     // the stored bytes
    RecordFields record;     // the rest of its central directory record
    std::string decodedName; // the GB18030 decoding, when the stored name needed one
    std::string name;        // the listed form (empty when the name cannot be listed)
    bool isDirectory = false;
    bool duplicate = false; // an earlier listable member has the same listed name
    NameProblem problem = NameProblem::None;

    bool listable() const { return !isDirectory && !duplicate && problem == NameProblem::None; }
};

class Archive {
public:
    // Opens `path`; on failure `error` says why (OpenArchive or NotAnArchive) and nothing comes
    // back.
    static std::unique_ptr<Archive> open(const char* path, Error& error);

    const std::vector<Member>& members() const { return members_; }
    // The first listable member with exactly this listed name, or null.
    const Member* find(std::string_view listedName) const;
    // libzip's handle on the archive.
    zip_t* zip() const { return zip_.get(); }

private:
    struct ZipDiscard {
        void operator()(zip_t* zip) const { zip_discard(zip); }
    };

    std::unique_ptr<zip_t, ZipDiscard> zip_;
    std::vector<Member> members_;
};

// A name fit for a one-line message: bytes that are not printable UTF-8 as \xNN and
// bidirectional formatting characters as \u{NNNN}, so a hostile name cannot disguise itself.
std::string printableName(std::string_view bytes);

} // namespace karvex
