// A frame whose menu bar holds the viewer's File menu with one entry in every state an item can
// be drawn in (icon, checked, disabled, separator, plain), owner-drawn by an engine of its own.
// Its popups are the viewer's: the host's popup asks the frame for every size and paint, and the
// frame hands the requests to the engine, as the viewer's frame does. The gallery, the paint
// benchmark and their tests take their pictures of the File popup from it.
#pragma once

#include "host/toolkit/frame.h"
#include "host/win32/types.h"
#include "menu/nvo_supermenu_class.h"

#include <QImage>

namespace host {
class OwnerDrawMenu;
}

namespace menupreview {

class FileMenuWindow : public host::Frame {
public:
    // Positions of the File popup's entries.
    static constexpr int kOpenEntry = 0;  // icon; the one the gallery highlights
    static constexpr int kCloseEntry = 1; // icon
    static constexpr int kHelpEntry = 2;  // checked (the check mark wins over its icon)
    static constexpr int kAboutEntry = 3; // disabled, greyed icon
    static constexpr int kSeparator = 4;
    static constexpr int kQuitEntry = 5; // icon
    static constexpr int kEntryCount = 6;

    // Shown at once (on the offscreen platform nothing appears on a screen).
    FileMenuWindow();
    ~FileMenuWindow() override;

    // The engine that paints the window's popups; set its look and background at will: it reads
    // them at every paint.
    [[nodiscard]] nvo_supermenu_class& engine() { return engine_; }
    // The File popup's Win32 menu, and the popup that shows it.
    [[nodiscard]] win32::HMENU filePopup() const;
    [[nodiscard]] host::OwnerDrawMenu& popup() const;

    // Opens the File popup from the menu bar, as a click on its title does, with the entry at
    // `highlighted` under the selection; answers the popup.
    host::OwnerDrawMenu& openFilePopup(int highlighted);
    // What the open popup shows now, painted afresh.
    [[nodiscard]] QImage popupPicture() const;
    void closeFilePopup();

private:
    nvo_supermenu_class engine_;
};

} // namespace menupreview
