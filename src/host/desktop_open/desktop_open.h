// The one entry of the desktop-open module (libVarnelookDesktopOpen.so): opens a file with the
// application the desktop associates with its type, through GIO. The host loads the module by
// name on the first shell open (win32/shell.cpp), so GIO's libraries are not loaded at start-up;
// this header is the contract between the two.
#pragma once

#include <cstdint>

extern "C" {

// What became of an open. The values cross the module boundary: never renumber them.
enum VarnelookOpenResult : std::int32_t {
    VarnelookOpenLaunched = 0,      // handed to the associated application
    VarnelookOpenFileNotFound = 1,  // the file cannot be found or its type not read
    VarnelookOpenAccessDenied = 2,  // the file or the application may not be used
    VarnelookOpenNoApplication = 3, // no application handles the type, or it did not start
};

// Opens the file at `path` (absolute, or relative to the current directory).
__attribute__((visibility("default"))) std::int32_t VarnelookDesktopOpenFile(const char* path);

using VarnelookDesktopOpenFileEntry = decltype(&VarnelookDesktopOpenFile);

} // extern "C"

// The module by its library name ("libVarnelookDesktopOpen.so" on Linux), and its entry's name.
inline constexpr const char* kDesktopOpenModule = "VarnelookDesktopOpen";
inline constexpr const char* kDesktopOpenEntry = "VarnelookDesktopOpenFile";
