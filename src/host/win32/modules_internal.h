// Host-internal: what the module loader shares with the rest of the host and its tests.
#pragma once

#include "host/win32/modules.h"

#include <QStringList>

namespace win32 {

// Whether a module handle is one of the runtime's own (the stock-picture resources).
bool isRuntimeModule(HMODULE module);

// Where a library of this platform's name (no ".dll" mapping) is looked for, in order: the
// executable's folder, then the system's own search; a name with a folder part only as given.
QStringList librarySearchPaths(const QString& name);

} // namespace win32
