// Opening a file with the application the desktop associates with its type (the "open" verb).
// A result above 32 means the open was handed to an application; otherwise it is the error
// code: 2 the file does not exist, 5 access denied, 31 no application is associated with the
// type (or the associated one could not be started), 32 the library that opens files cannot be
// loaded. On Linux the type and its default application come from GIO (the XDG mime database
// and mimeapps.list), in the desktop-open module (host/desktop_open), which is loaded on the
// first open rather than at start-up: GIO and what it pulls in are a good part of the start-up
// time of a program that may never open a file.
#pragma once

#include "host/win32/types.h"

#include <string>

namespace win32 {

inline constexpr HINSTANCE SE_ERR_FNF = 2;
inline constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
inline constexpr HINSTANCE SE_ERR_NOASSOC = 31;
inline constexpr HINSTANCE SE_ERR_DLLNOTFOUND = 32;
inline constexpr int SW_SHOWNORMAL = 1;

// `file` is taken relative to `directory` when it is not absolute; `operation` may be null or
// "open"; `parameters` are not passed on to a document's application. `hwnd` and `showCommand`
// are accepted for the caller's sake: the application decides how it shows itself.
HINSTANCE ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                        const char* directory, int showCommand);

// ---- host-internal ----------------------------------------------------------------------------

// The library name of the desktop-open module (kDesktopOpenModule unless changed): looked for
// next to the executable, then by the system's search; a name with a folder is used as given.
// Tests name a missing module to see how an open fails without it.
void setDesktopOpenModule(const std::string& name);

} // namespace win32
