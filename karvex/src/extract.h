// Unpacks one member to a file inside a save folder, safely: only under the member's own name,
// never through a symbolic link, never over an existing file, and never leaving a partial file.
#pragma once

#include "error.h"
#include "karvex/karvex.h"

#include <cstdint>

namespace karvex {

class Sink;

// How an unpack may depart from the defaults: KARVEX_EXTRACT_* flags and a progress callback.
struct ExtractOptions {
    std::uint32_t flags = KARVEX_EXTRACT_DEFAULT;
    KarvexProgressCallback progress = nullptr;
    void* context = nullptr;
    // When given: on NeedsMemory, the decoder memory the member asks for (0 when unknown).
    std::uint64_t* memoryNeeded = nullptr;
};

// Unpacks `member` (its listed name) of the archive `zipPath` to `savePath`, which must be a
// folder, a "/", and the member name (or, with KARVEX_EXTRACT_SAVE_AS, any file path whose
// folder exists).
Error extractMember(const char* zipPath, const char* member, const char* savePath,
                    const ExtractOptions& options = {});

// Streams `member` (its listed name) of the archive `zipPath` into `sink` under the same checks
// as an unpack (name, record, encryption, declared size, decoder memory, size and CRC at the
// end), writing nothing to disk. The sink may already hold bytes when size or CRC fail at the end.
Error streamMember(const char* zipPath, const char* member, Sink& sink,
                   std::uint64_t* memoryNeeded = nullptr);

} // namespace karvex
