// The save dialog: asks where to save a copy, the platform's own dialog where it has one. Like
// the message boxes, tests answer it through a handler instead of a person.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace host {

struct SaveDialogRequest {
    std::string title;
    std::string folder; // where the dialog starts
    std::string name;   // the name it suggests
};

struct SaveChoice {
    std::string path;
    // The file at `path` exists and the user confirmed in the dialog that it is to be replaced.
    bool replace = false;
};

// The path the user chose, or none when the dialog was cancelled. The dialog itself asks before
// a chosen file that exists is replaced.
std::optional<SaveChoice> GetSaveFileName(const SaveDialogRequest& request);

// The test seam: while a handler is set, it answers every save dialog.
using SaveDialogHandler = std::function<std::optional<SaveChoice>(const SaveDialogRequest&)>;
SaveDialogHandler setSaveDialogHandler(SaveDialogHandler handler);

// The user's documents folder (the home folder when the desktop names none).
std::string DocumentsFolder();

} // namespace host
