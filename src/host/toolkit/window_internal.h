// Host-internal: the Qt widget behind a window of the program's, for the host's own windows and
// controls that must parent to it.
#pragma once

#include "host/toolkit/window.h"

namespace host {

QWidget& widgetOf(const Window& window);

} // namespace host
