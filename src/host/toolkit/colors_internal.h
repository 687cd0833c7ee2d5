// Host-internal: the Qt colour a program colour value stands for.
#pragma once

#include "host/toolkit/colors.h"

#include <QColor>

namespace host {

// The colour a value stands for; system colours come from the running style's palette.
QColor toQColor(long color);

} // namespace host
