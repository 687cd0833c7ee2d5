// Functions every window of the toolkit has (frame, sheet, response window), shared here so
// each window class stays a thin face over its Qt widget.
#pragma once

#include <string>

class QIcon;
class QWidget;

namespace host {

class Window;

// Closes a window the way its close box does: a sheet closes with its sub-window.
void close(Window& window);
void close(QWidget& window);

// The size of a window's workspace (client area) in layout units.
int workspaceWidth(const QWidget& workspace);
int workspaceHeight(const QWidget& workspace);

// Chains the window's controls by their tab order (0 stays out) and gives the first one the
// focus.
void applyTabOrder(QWidget& window);

// Keeps a window from repainting while many of its controls move, and repaints it after.
void setRedraw(QWidget& window, bool redraw);

// The icon of a window by picture name: a stock picture ("AppIcon!") or a picture file.
QIcon windowIcon(const std::string& name);

} // namespace host
