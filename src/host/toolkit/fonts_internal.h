// Host-internal: fonts by the face names the program uses: "宋体" is drawn with the installed
// Noto CJK Song face (Noto Serif CJK SC), "Arial" with its metric twin Liberation Sans; sizes in
// points.
#pragma once

#include "host/toolkit/fonts.h"

#include <QFont>
#include <string>

namespace host {

QFont font(const std::string& face, int points, FontWeight weight = FontWeight::Normal);

} // namespace host
