// Folders of the user's own that the program may write into when the folder it works in cannot
// be written.
#pragma once

#include <optional>
#include <string>

namespace host {

// The program's private cache folder `name` under the user's cache folder ($XDG_CACHE_HOME, or
// ~/.cache when that is unset or not absolute), created when missing. It is the user's alone
// (mode 0700), a real folder, never a link. No value when it cannot be had. Safe on any thread.
std::optional<std::string> PrivateCacheFolder(const std::string& name);

} // namespace host
