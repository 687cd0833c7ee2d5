// Window messages: SendMessageA delivers a message to the procedure of a window synchronously and
// answers its result. The host sends the menu messages (commands, popup set-up, highlighting,
// owner-draw size and paint requests) this way, so the window that owns a menu handles them the
// way a Win32 window does.
#pragma once

#include "host/win32/types.h"

#include <cstdint>
#include <functional>

namespace win32 {

using LRESULT = std::intptr_t;

inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_MENUSELECT = 0x011F;

// WM_MENUSELECT flags (high word of wParam); 0xFFFF with a menu of 0 means the menu closed.
inline constexpr UINT MF_MOUSESELECT = 0x8000;
inline constexpr UINT kMenuClosedFlags = 0xFFFF;

constexpr WPARAM MAKEWPARAM(UINT low, UINT high)
{
    return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr UINT LOWORD(WPARAM value)
{
    return static_cast<UINT>(value & 0xFFFFu);
}
constexpr UINT HIWORD(WPARAM value)
{
    return static_cast<UINT>((value >> 16) & 0xFFFFu);
}

// Calls the window's procedure and answers its result; 0 when the handle names no window with a
// procedure. Records passed "by address" travel in lParam as real pointers.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- host-internal ----------------------------------------------------------------------------

using WindowProcedure = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

// Makes `procedure` the window's procedure while this object lives (the window's own object
// holds it); a later binding for the same window replaces it until that one ends.
class WindowProcedureBinding {
public:
    WindowProcedureBinding(HWND window, WindowProcedure procedure);
    WindowProcedureBinding(const WindowProcedureBinding&) = delete;
    WindowProcedureBinding& operator=(const WindowProcedureBinding&) = delete;
    ~WindowProcedureBinding();

private:
    HWND window_;
    std::uint64_t id_;
};

} // namespace win32
