// Host-internal: the Win32 virtual keys of Qt's key codes and back, for the keys the program
// names (letters, digits and the function keys).
#pragma once

#include "host/toolkit/shortcut.h"

#include <QKeySequence>

namespace host {

// The virtual key of a Qt key code; 0 for keys the program does not name.
int virtualKeyOf(int qtKey);
// The key sequence of a shortcut; an empty one for a key the program does not name.
QKeySequence keySequenceOf(const Shortcut& key);

} // namespace host
