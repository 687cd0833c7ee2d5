// Window handles: every toolkit window and control that the program may name by handle gets an
// HWND from one table, so the operating-system entries (menus, device contexts, window styles)
// can find the widget behind a handle and the handle of a widget.
#pragma once

#include "host/win32/handles.h"

class QWidget;

namespace win32 {

// Gives the widget a handle for as long as it lives; a widget that has one keeps it. The handle
// is released by itself when the widget is destroyed.
HWND registerWindow(QWidget* widget);

// The widget behind a handle, or nullptr for 0, a stale handle or another kind of handle.
QWidget* windowFromHandle(HWND handle);

// The handle of a registered widget, or 0.
HWND handleFromWindow(const QWidget* widget);

} // namespace win32
