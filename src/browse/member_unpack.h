// Unpacking one member, as it runs on a worker thread: into the folder the viewer works in, or
// into the viewer's private cache folder when that folder cannot be written; and undoing it.
// Also a copy of a member written to a path of its own (saved, or for a drag).
// The viewer owns only the file it wrote and the folders it created for it.
#pragma once

#include "browse/karvex_entries.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/worker.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace browse {

// The entries to unpack with: the one with progress when the library has it, else the plain one.
struct UnpackEntries {
    KarvexExtractMemberEntry withProgress = nullptr;
    GetFileFromZipFile2Entry plain = nullptr;
};

// A file the viewer wrote, with what it takes to remove it again and only it.
struct UnpackedFile {
    std::string path;
    host::FileIdentity identity;
    // Folders on the way to it that did not exist before, deepest first.
    std::vector<std::string> createdFolders;
};

struct UnpackResult {
    // The library's result: KARVEX_OK, KARVEX_IDENTICAL_EXISTS (a file with exactly the member's
    // content was there already, and is not the viewer's), or a negative code.
    std::int32_t code = 0;
    // The folder the member went to, where the shell is to open it.
    std::string folder;
    // The path it was written to, or where a different file of its name stands (KARVEX_E_EXISTS).
    std::string path;
    // The file the viewer wrote, when it wrote one.
    std::optional<UnpackedFile> written;
};

// The entries as the library has them, bound now: the plain one only when the one with progress
// is missing. A missing library ends the calling event.
UnpackEntries bindUnpackEntries();

// The name of the viewer's private cache folder.
inline constexpr const char* kCacheFolderName = "varnelook";

// Unpacks `member` of `zip` into `folder` (into the private cache folder when `folder` cannot be
// written), reporting bytes written to `progress` and stopping when it is cancelled. A cancel
// that comes after the file was complete still undoes it: a cancelled unpack leaves nothing.
UnpackResult unpackMember(const UnpackEntries& entries, const std::string& zip,
                          const std::string& member, const std::string& folder,
                          host::WorkerProgress& progress);

// Writes `member` of `zip` whole to `path` or nothing at all (`flags` as the library takes them),
// reporting bytes written to `progress` (when there is one) and stopping when it is cancelled;
// the library's code. Without the entry with progress, the plain one writes it, `flags` unheard.
std::int32_t copyMember(const UnpackEntries& entries, const std::string& zip,
                        const std::string& member, const std::string& path, std::uint32_t flags,
                        host::WorkerProgress* progress);

// Removes the file, while it is still the one the viewer wrote, then the folders created for it
// that are empty (also when the file was taken away before).
void removeUnpackedFile(const UnpackedFile& file);

} // namespace browse
