// The font weights the program names; the fonts themselves are the host's (fonts_internal.h).
#pragma once

namespace host {

enum class FontWeight { Normal, Bold };

} // namespace host
