// System colours, system metrics and stock objects, taken from the running Qt style so that the
// program fits the desktop theme while staying deterministic for a given palette and font.
//
// System colours (GetSysColor) come from one palette, the system palette, by the roles below.
// The system palette is the application's (QApplication::palette()) when that is light, its
// window colour lighter than its window text. The window system's colours are a light scheme:
// its stock brushes are white and greys, and the menu engine paints its items over white and
// light tints of its own, in the system's menu-text colour. So with a dark palette (a dark
// desktop theme) the system palette is a light one instead: the running style's standard
// palette when that is light, otherwise Fusion's. Text in a system colour then keeps its
// contrast against every surface the program paints, and the widgets that Qt paints itself keep
// the desktop's dark palette. The toolkit's colour codes (toolkit/colors.h) are system colours
// too. Roles, active colour group unless named:
//   COLOR_SCROLLBAR 0           Button                COLOR_BTNFACE 15             Button
//   COLOR_BACKGROUND 1          Dark                  COLOR_BTNSHADOW 16           Dark
//   COLOR_ACTIVECAPTION 2       Highlight             COLOR_GRAYTEXT 17            Disabled Text
//   COLOR_INACTIVECAPTION 3     Inactive Highlight    COLOR_BTNTEXT 18             ButtonText
//   COLOR_MENU 4                Window                COLOR_INACTIVECAPTIONTEXT 19 Inactive
//                                                                                 HighlightedText
//   COLOR_WINDOW 5              Base                  COLOR_BTNHIGHLIGHT 20        Light
//   COLOR_WINDOWFRAME 6         Shadow                COLOR_3DDKSHADOW 21          Shadow
//   COLOR_MENUTEXT 7            WindowText            COLOR_3DLIGHT 22             Midlight
//   COLOR_WINDOWTEXT 8          Text                  COLOR_INFOTEXT 23            ToolTipText
//   COLOR_CAPTIONTEXT 9         HighlightedText       COLOR_INFOBK 24              ToolTipBase
//   COLOR_ACTIVEBORDER 10       Button                (25 unused: 0, no brush)
//   COLOR_INACTIVEBORDER 11     Button                COLOR_HOTLIGHT 26            Link
//   COLOR_APPWORKSPACE 12       Mid                   COLOR_GRADIENTACTIVECAPTION 27   Highlight
//   COLOR_HIGHLIGHT 13          Highlight             COLOR_GRADIENTINACTIVECAPTION 28 Inactive
//                                                                                 Highlight
//   COLOR_HIGHLIGHTTEXT 14      HighlightedText       COLOR_MENUHILIGHT 29         Highlight
//                                                     COLOR_MENUBAR 30             Window
// A system colour brush (GetSysColorBrush) paints the colour of its index at the moment it is
// used, so it follows a palette change; it belongs to the system and DeleteObject ignores it.
//
// System metrics (GetSystemMetrics): SM_CYMENU is the height of a QMenuBar holding one item in
// the application's menu-bar font, as the running style lays it out; the other metrics come from
// QStyle pixel metrics or the primary screen (see system.cpp). Tests may override any metric.
//
// Stock objects (GetStockObject) are created once, never counted as live objects and never
// deleted: the Win32 brushes and pens with their Win32 colours (LTGRAY 192, GRAY 128, DKGRAY 64),
// SYSTEM_FONT and DEFAULT_GUI_FONT = QApplication::font(), the fixed fonts = the system's fixed
// font.
#pragma once

#include "host/win32/types.h"

#include <optional>

namespace win32 {

inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_DESKTOP = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_3DFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_3DSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CXMENUCHECK = 71;
inline constexpr int SM_CYMENUCHECK = 72;

inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int OEM_FIXED_FONT = 10;
inline constexpr int ANSI_FIXED_FONT = 11;
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEVICE_DEFAULT_FONT = 14;
inline constexpr int SYSTEM_FIXED_FONT = 16;
inline constexpr int DEFAULT_GUI_FONT = 17;

// The colour of a system colour index, 0 for an index that names none.
DWORD GetSysColor(int index);

// The system's brush of a system colour index, 0 for an index that names none.
HBRUSH GetSysColorBrush(int index);

// A stock pen, brush or font; 0 for a number that names none.
HGDIOBJ GetStockObject(int object);

// A system metric in pixels; 0 for an index that is not supported.
int GetSystemMetrics(int index);

// Test seam: a metric answers `value` until the override is cleared.
void overrideSystemMetric(int index, std::optional<int> value);

} // namespace win32
