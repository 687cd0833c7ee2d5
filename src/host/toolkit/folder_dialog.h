// The folder chooser: asks which folder to open, the platform's own dialog where it has one.
// Like the message boxes, tests answer it through a handler instead of a person.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace host {

struct FolderDialogRequest {
    std::string title;
    std::string folder; // where the dialog starts
};

// The folder the user chose, or none when the dialog was cancelled.
std::optional<std::string> GetFolderName(const FolderDialogRequest& request);

// The test seam: while a handler is set, it answers every folder chooser.
using FolderDialogHandler = std::function<std::optional<std::string>(const FolderDialogRequest&)>;
FolderDialogHandler setFolderDialogHandler(FolderDialogHandler handler);

} // namespace host
