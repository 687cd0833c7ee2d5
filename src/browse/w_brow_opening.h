// What the browse sheet keeps while it unpacks a member or writes a copy of one, and for the
// file it unpacked; shared by the sheet's files that create and destroy it.
#pragma once

#include "browse/member_unpack.h"
#include "browse/shown_work.h"
#include "browse/w_brow.h"

#include <optional>
#include <string>

struct w_brow::Opening {
    // A member double-clicked while another unpack was still winding down: it starts when that
    // one has returned, so the two never write the same name at once.
    struct Request {
        std::string zip;
        std::string label;
    };

    browse::ShownWork unpack;
    std::optional<Request> next;
    // The file is_openfilename names, while it is one the sheet wrote.
    std::optional<browse::UnpackedFile> opened;
    // A copy being written where the user saves it, or for a drag (one at a time).
    browse::ShownWork copy;
};
