// Why the viewer leaves a member out of its list, in words, for `check` and `list --json`.
#pragma once

#include "archive.h"

#include <string>

namespace zqr {

// The reason, e.g. "the same name occurs earlier in the archive"; empty for a listed member.
std::string leftOutReason(const karvex::Member& member);

} // namespace zqr
