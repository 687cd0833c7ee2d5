// Watches every call by which the library could create, change or remove a file or folder, while
// an unpacking runs, and aborts when its target lies outside the folder the unpacking was given.
// The fuzz targets are linked with -Wl,--wrap for these calls, so the library's own references
// come here first. The sandbox's folder walk sees what was left behind; this sees every attempt,
// wherever it points, even one that was undone again.
#pragma once

#include <string>

namespace karvex_fuzz {

// Polices writes for as long as it lives: only paths inside `folder` may be written, and nothing
// at all when no folder is given.
class WriteGuard {
public:
    explicit WriteGuard(const std::string& folder = {});
    ~WriteGuard();
    WriteGuard(const WriteGuard&) = delete;
    WriteGuard& operator=(const WriteGuard&) = delete;
};

} // namespace karvex_fuzz
