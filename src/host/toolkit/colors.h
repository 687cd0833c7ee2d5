// Colours as the program gives them: RGB values built as red + 256 * green + 65536 * blue, or
// the toolkit's codes for system colours: window text, button face and link are the window
// system's COLOR_WINDOWTEXT, COLOR_BTNFACE and COLOR_HOTLIGHT (host/win32/system.h).
#pragma once

namespace host {

inline constexpr long kColorWindowText = 33554432;
inline constexpr long kColorButtonFace = 67108864;
inline constexpr long kColorLink = 134217856;

constexpr long RGB(int red, int green, int blue)
{
    return red + 256L * green + 65536L * blue;
}

} // namespace host
