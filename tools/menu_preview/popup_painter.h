// Paints a registered popup the way the frame's popup does, into any QPainter: every entry is
// measured by the engine, the entries are stacked top to bottom, and each is painted through a
// device context whose origin is the popup's top-left corner.
#pragma once

#include "host/win32/types.h"

#include <QPoint>
#include <QSize>
#include <vector>

class QPainter;
class nvo_supermenu_class;

namespace menupreview {

// One entry of a laid-out popup, in the popup's own coordinates.
struct PopupEntry {
    win32::RECT rect{};
    win32::DWORD itemData = 0;
    // ODS_CHECKED, ODS_GRAYED and ODS_DISABLED as the entry's state says.
    win32::UINT drawState = 0;
};

struct PopupLayout {
    std::vector<PopupEntry> entries;
    QSize size;
};

// No entry highlighted.
inline constexpr int kNoHighlight = -1;

// Measures every entry of `popup` (owner-drawn by `engine`) and stacks them. The popup is as
// wide as its widest entry plus the room the window system keeps for a check mark.
PopupLayout layoutPopup(nvo_supermenu_class& engine, win32::HMENU popup);

// Paints every entry in its normal state, then the entry at position `highlighted` (0-based)
// highlighted over it, as an opened popup does when the pointer comes to rest on an entry.
// Every device context it makes is released before it returns.
void paintPopup(nvo_supermenu_class& engine, const PopupLayout& layout, QPainter& painter,
                QPoint origin, int highlighted = kNoHighlight);

} // namespace menupreview
