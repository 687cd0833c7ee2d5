// Unpacks one member to a file inside a save folder, safely: only under the member's own name,
// never through a symbolic link, never over an existing file, and never leaving a partial file.
#pragma once

#include "error.h"

namespace karvex {

// Unpacks `member` (its listed name) of the archive `zipPath` to `savePath`, which must be a
// folder, a "/", and the member name.
Error extractMember(const char* zipPath, const char* member, const char* savePath);

} // namespace karvex
