// A sheet: a document window inside a frame (an MDI sub-window). The program's sheets derive
// from it and override its events; the frame opens them (Frame::opensheet) and owns them.
#pragma once

#include "host/toolkit/window.h"

#include <string>

namespace host {

class Frame;
class SheetWidget;

class Sheet : public Window {
public:
    Sheet();
    ~Sheet() override;

    // Size in layout units when the sheet is not maximized; the frame centres it at that size.
    void setDesignSize(int width, int height);
    [[nodiscard]] int designWidth() const { return designWidth_; }
    [[nodiscard]] int designHeight() const { return designHeight_; }

    // The frame this sheet is open in; nullptr before it is opened.
    [[nodiscard]] Frame* parentFrame() const { return frame_; }

    // The frame's menu-bar position under which the frame lists this sheet.
    [[nodiscard]] int menuPosition() const { return menuPosition_; }
    // Whether the sheet has been asked to close (it goes away when its event ends).
    [[nodiscard]] bool closing() const { return closing_; }

protected:
    // The user asked for what the sheet shows to be read again (F5 in its frame).
    virtual void onRefresh() {}
    // The sub-window that frames the sheet shows its title and icon.
    void decorationChanged() override;

private:
    friend class Frame;
    friend class FrameMenu;
    friend class SheetWidget;
    void raiseOpen(Frame& frame, int menuPosition);
    // From the sheet's widget.
    void resized();
    void closeRequested();

    Frame* frame_ = nullptr;
    int menuPosition_ = 0;
    int designWidth_ = 0;
    int designHeight_ = 0;
    bool closing_ = false;
};

} // namespace host
