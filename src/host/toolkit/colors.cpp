#include "host/toolkit/colors_internal.h"
#include "host/win32/system.h"
#include "host/win32/types.h"

namespace host {

namespace {

QColor fromColorRef(win32::COLORREF color)
{
    return {win32::GetRValue(color), win32::GetGValue(color), win32::GetBValue(color)};
}

} // namespace

QColor toQColor(long color)
{
    // The codes name system colours, from the same palette as the window system's own, so a
    // code stays legible beside the fixed colours the program pairs it with (system.h).
    switch (color) {
    case kColorWindowText:
        return fromColorRef(win32::GetSysColor(win32::COLOR_WINDOWTEXT));
    case kColorButtonFace:
        return fromColorRef(win32::GetSysColor(win32::COLOR_BTNFACE));
    case kColorLink:
        return fromColorRef(win32::GetSysColor(win32::COLOR_HOTLIGHT));
    default:
        break;
    }
    return fromColorRef(static_cast<win32::COLORREF>(color));
}

} // namespace host
