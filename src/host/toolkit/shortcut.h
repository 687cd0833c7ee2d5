// A shortcut key as the program names it: a Win32 virtual key code and its modifiers.
#pragma once

namespace host {

// A shortcut key: a Win32 virtual key code (0: none) and its modifiers.
struct Shortcut {
    int virtualKey = 0;
    bool control = false;
    bool shift = false;
    bool alt = false;
    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

} // namespace host
