// What the browse sheet keeps while it unpacks a member and for the file it unpacked; shared by
// the sheet's files that create and destroy it.
#pragma once

#include "browse/member_unpack.h"
#include "browse/w_brow.h"
#include "host/toolkit/progress_window.h"
#include "host/toolkit/worker.h"

#include <memory>
#include <optional>
#include <string>

struct w_brow::Opening {
    // A member double-clicked while another unpack was still winding down: it starts when that
    // one has returned, so the two never write the same name at once.
    struct Request {
        std::string zip;
        std::string label;
    };

    host::WorkerTask unpack;
    std::unique_ptr<host::ProgressWindow> progress;
    // The hourglass, while the unpack runs.
    std::optional<host::BusyPointerScope> busy;
    std::optional<Request> next;
    // The file is_openfilename names, while it is one the sheet wrote.
    std::optional<browse::UnpackedFile> opened;
};
