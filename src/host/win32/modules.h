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

#include <QStringList>

namespace win32 {

using FARPROC = void (*)();

// A new module handle, or 0 when the library cannot be loaded.
HMODULE LoadLibraryA(const char* name);

// The entry of that name, or nullptr. The runtime's module exports no entries.
FARPROC GetProcAddress(HMODULE module, const char* name);

BOOL FreeLibrary(HMODULE module);

// ---- host-internal ----------------------------------------------------------------------------

// Whether a module handle is one of the runtime's own (the stock-picture resources).
bool isRuntimeModule(HMODULE module);

// Where a library of this platform's name (no ".dll" mapping) is looked for, in order: the
// executable's folder, then the system's own search; a name with a folder part only as given.
QStringList librarySearchPaths(const QString& name);

} // namespace win32
