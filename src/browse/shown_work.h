// Long work of the browse sheet as the user sees it: the hourglass from the start, and a
// progress window whose button cancels the work once it lasts (short work never flashes one).
#pragma once

#include "host/toolkit/builtins.h"
#include "host/toolkit/progress_window.h"
#include "host/toolkit/worker.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace host {
class Sheet;
}

namespace browse {

class ShownWork {
public:
    // The work itself, on the worker thread.
    host::WorkerTask task;

    // Shows that work on `text` has started in `owner`, under the window title `title`.
    void show(host::Sheet& owner, const std::string& title, const std::string& text);
    // The bar and figures at `done` of `total` bytes.
    void report(std::uint64_t done, std::uint64_t total);
    // Takes the hourglass and the progress window away (the result came, or the sheet closes).
    void hide();

private:
    std::unique_ptr<host::ProgressWindow> progress_;
    std::optional<host::BusyPointerScope> busy_;
};

// "1.5 MB / 768.0 MB (0%)": the figures line of a progress window.
std::string progressFigures(std::uint64_t done, std::uint64_t total);

} // namespace browse
