// Loading shared libraries by name and finding their entries, over QLibrary.
//
// A name "X.dll" (any case of ".dll") stands for the library X of this platform ("libX.so" on
// Linux, "X.dll" on Windows). It is looked for first in the folder of the executable
// (QCoreApplication::applicationDirPath()), then by the system's own search. A name with a
// folder part is used as given, with only the ".dll" mapped. The runtime's own library,
// "HostRT90.DLL" in any case, is not loaded from disk: it names the host itself, whose stock
// pictures serve as its resources (icons.h, runtime.h). Every LoadLibraryA answers a new handle
// that FreeLibrary releases; the library stays loaded while any handle to it lives.
#pragma once

#include "host/win32/types.h"

namespace win32 {

using FARPROC = void (*)();

// A new module handle, or 0 when the library cannot be loaded.
HMODULE LoadLibraryA(const char* name);

// The entry of that name, or nullptr. The runtime's module exports no entries.
FARPROC GetProcAddress(HMODULE module, const char* name);

BOOL FreeLibrary(HMODULE module);

} // namespace win32
