// `zqr list --json`: one JSON object a line for each member of an archive (JSON Lines), listed
// or left out, for scripts that would otherwise parse the columns of `list -l`.
#pragma once

#include "error.h"
#include "karvex/karvex.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zqr {

// Writes the archive's members to standard output; fills `summary` as the plain list counts.
// Returns the library's error, or Cancelled once standard output has failed.
karvex::Error listJson(const std::string& archivePath, KarvexListSummary& summary);

// `text` as a JSON string, quotes included. Valid UTF-8 passes as it is; '"', '\' and control
// characters are escaped (\n, \t, ... or \u00XX, DEL as \u007f); a byte that is not part of
// valid UTF-8 becomes U+FFFD.
std::string jsonString(std::string_view text);

// The date and time exactly as stored, ISO 8601 without a zone ("2025-03-30T02:30:00"), or an
// empty string when the archive holds no real date.
std::string isoDateAsStored(std::int64_t asStored);

} // namespace zqr
