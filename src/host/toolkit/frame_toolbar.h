// The frame's toolbar, made from the menu: every item with a toolbar picture gets a button, in
// menu order (depth first), showing the picture (the down picture while pressed or hovered),
// the toolbar text as label and tip, and the item's micro-help in the status line while
// hovered. A space of n before a button is a gap of n times kToolbarSpaceUnit pixels. A button
// sends the owner window the item's WM_COMMAND, as choosing the item in the menu does.
//
// The toolbar keeps its layout values in a record of its own (ToolbarRecord): its window has the
// class name kFrameToolbarClassName and 4 extra bytes holding the record's address at offset 0,
// so a program finds it with FindWindowExA(frame, 0, kFrameToolbarClassName, nullptr) and
// reads the address with GetWindowLongA(window, 0). Whenever the record changes the toolbar
// lays itself out again from these fields (a 0 keeps the toolbar's own value):
//   2500, 2504  icon width and height
//   2464, 2468  least button width and height
//   2476, 2480  button face width and height (2564 and 2556 repeat them; the larger counts)
//   2492        space between neighbouring buttons (the separator width)
//   2496        space before the first and after the last button
//   2248, 2252  normal and pressed button-face bitmaps: when a field holds a bitmap, a button
//               in that state paints it, stretched, instead of the style's panel, and its
//               picture and text on top
#pragma once

#include "host/records/toolbar_record.h"
#include "host/win32/handles.h"

#include <QToolBar>

namespace host {

class MenuItem;

inline constexpr int kToolbarSpaceUnit = 8;
inline constexpr const char* kFrameToolbarClassName = "VarnelookFrameToolbar";

class FrameToolbar : public QToolBar {
public:
    FrameToolbar(QWidget* frame, const MenuItem& menu, win32::HWND owner);
    FrameToolbar(const FrameToolbar&) = delete;
    FrameToolbar& operator=(const FrameToolbar&) = delete;
    ~FrameToolbar() override;

    void setLabelFont(const std::string& face, int points);
    void setTextsShown(bool shown);
    [[nodiscard]] bool textsShown() const;

    [[nodiscard]] win32::LONG address() const { return record_.address(); }
    [[nodiscard]] const win32::AddressableRecord& record() const { return record_.record(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the toolbar out again from the record's fields, after a program wrote into it.
    void recordChanged();
    void addButtons(const MenuItem& menu, win32::HWND owner);
    void addButton(const MenuItem& item, win32::HWND owner);
    [[nodiscard]] int field(std::size_t offset) const;

    QSize defaultIconSize_;
    int defaultSpacing_ = 0;
    QMargins defaultMargins_;
    ToolbarRecord record_;
};

} // namespace host
