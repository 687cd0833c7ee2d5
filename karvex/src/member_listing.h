// The detailed listing: every member the bounded list would show, with no bound on their number,
// each with its sizes, CRC and time, and a count of the entries left out and why.
#pragma once

#include "archive.h"
#include "error.h"
#include "karvex/karvex.h"

namespace karvex {

// Adds `member` to the count of its kind (listed, folder, duplicate, or why it is left out).
void countEntry(const Member& member, KarvexListSummary& summary);

// Opens `zipPath` and calls `each` (which may be null: then only the summary is made) for each
// listable member in central directory order.
Error listEveryMember(const char* zipPath, KarvexMemberCallback each, void* context,
                      KarvexListSummary* summary);

} // namespace karvex
