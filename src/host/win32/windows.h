// Window handles: every toolkit window and control that the program may name by handle gets an
// HWND from one table, so the operating-system entries (menus, device contexts, window styles)
// can find the widget behind a handle and the handle of a widget.
//
// Each window also keeps its two style words, as Win32 does. They start from the kind of widget
// when the program first reads or writes them:
//   dialog (a top-level QDialog)  WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
//                                 DS_MODALFRAME;
//                                 ex: WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT
//   other top-level window        WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
//                                 ex: WS_EX_WINDOWEDGE
//   sheet (inside an MDI area)    WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS;
//                                 ex: WS_EX_MDICHILD | WS_EX_WINDOWEDGE
//   control (any other child)     WS_CHILD | WS_CLIPSIBLINGS; ex: 0
// WS_VISIBLE and WS_DISABLED are read from the widget itself, so they always tell the truth;
// showing, hiding and enabling go through the toolkit, and SetWindowLongA leaves those two bits
// to it. Every other bit is kept exactly as written.
#pragma once

#include "host/win32/types.h"

#include <string>

class QWidget;

namespace win32 {

// Gives the widget a handle for as long as it lives; a widget that has one keeps it. The handle
// is released by itself when the widget is destroyed.
HWND registerWindow(QWidget* widget);

// The widget behind a handle, or nullptr for 0, a stale handle or another kind of handle.
QWidget* windowFromHandle(HWND handle);

// The handle of a registered widget, or 0.
HWND handleFromWindow(const QWidget* widget);

// ---- window styles ----------------------------------------------------------------------------

inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;

inline constexpr LONG WS_OVERLAPPED = 0x00000000;
inline constexpr LONG WS_POPUP = static_cast<LONG>(0x80000000u);
inline constexpr LONG WS_CHILD = 0x40000000;
inline constexpr LONG WS_VISIBLE = 0x10000000;
inline constexpr LONG WS_DISABLED = 0x08000000;
inline constexpr LONG WS_CLIPSIBLINGS = 0x04000000;
inline constexpr LONG WS_CLIPCHILDREN = 0x02000000;
inline constexpr LONG WS_CAPTION = 0x00C00000;
inline constexpr LONG WS_SYSMENU = 0x00080000;
inline constexpr LONG WS_THICKFRAME = 0x00040000;
inline constexpr LONG WS_MINIMIZEBOX = 0x00020000;
inline constexpr LONG WS_MAXIMIZEBOX = 0x00010000;
inline constexpr LONG WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr LONG DS_MODALFRAME = 0x00000080;

inline constexpr LONG WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr LONG WS_EX_TOPMOST = 0x00000008;
inline constexpr LONG WS_EX_MDICHILD = 0x00000040;
inline constexpr LONG WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr LONG WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr LONG WS_EX_LAYERED = 0x00080000;

// The style word at `index` (GWL_STYLE or GWL_EXSTYLE), or the long at byte `index` of the
// window's extra bytes (0 and up); 0 for an unknown window, an unknown index or one whose four
// bytes do not lie within the extra bytes.
LONG GetWindowLongA(HWND window, int index);

// Replaces the style word or extra long at `index` and answers the previous value; 0 (nothing
// changed) for an unknown window or index. Taking WS_EX_LAYERED away makes the window opaque again
// and forgets its layered attributes, as Win32 does.
LONG SetWindowLongA(HWND window, int index, LONG value);

// Host-internal: gives a window `count` extra bytes, all 0, as a window class's extra bytes do in
// Win32; the toolkit keeps values there for programs that read them with GetWindowLongA.
void setWindowExtraBytes(HWND window, int count);

// ---- finding windows ------------------------------------------------------------------------
//
// A window's children are the registered widgets whose nearest registered ancestor it is, in
// the order Qt keeps them (creation order); the children of 0 are the top-level windows. A
// window's class name is the one the toolkit gave it, else the name of its Qt class; its
// window name is its window title.

// Host-internal: the class name FindWindowExA matches the window by.
void setWindowClassName(HWND window, const std::string& className);
[[nodiscard]] std::string windowClassName(HWND window);

// The first child of `parent` after `childAfter` (0: from the first child) whose class name
// equals `className` ignoring case and whose window name equals `windowName`; a null
// `className` or `windowName` matches any. 0 when there is none, when `parent` is not a window,
// or when `childAfter` is not one of its children.
HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName);

// ---- layered windows --------------------------------------------------------------------------

inline constexpr DWORD LWA_COLORKEY = 0x00000001;
inline constexpr DWORD LWA_ALPHA = 0x00000002;

// Makes a layered top-level window translucent: with LWA_ALPHA its opacity becomes
// alpha / 255 for the whole window; without it, the window is opaque. Refused (FALSE, nothing
// changed) for an unknown window, a window without WS_EX_LAYERED (as Win32 refuses it), a child
// window (its opacity cannot be set apart from its window's) and LWA_COLORKEY, because keying out
// one colour is not something this host can draw: it says so rather than pretend.
BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);

// What the last successful SetLayeredWindowAttributes gave. FALSE for an unknown window, one
// without WS_EX_LAYERED, or one whose attributes were never set. Null pointers are skipped.
BOOL GetLayeredWindowAttributes(HWND window, COLORREF* key, BYTE* alpha, DWORD* flags);

} // namespace win32
