// The frame's toolbar, made from the menu: every item with a toolbar picture gets a button, in
// menu order (depth first), showing the picture (the down picture while pressed or hovered),
// the toolbar text as label and tip, and the item's micro-help in the status line while
// hovered. A space of n before a button is a gap of n times kToolbarSpaceUnit pixels. A button
// sends the owner window the item's WM_COMMAND, as choosing the item in the menu does.
#pragma once

#include "host/win32/handles.h"

class QToolBar;

namespace host {

class MenuItem;

inline constexpr int kToolbarSpaceUnit = 8;

void fillToolbar(QToolBar& toolbar, const MenuItem& menu, win32::HWND owner);

} // namespace host
