// A sheet: a document window inside a frame (an MDI sub-window). The program's sheets derive
// from it and override its events; the frame opens them (Frame::opensheet).
#pragma once

#include "host/win32/handles.h"

#include <QWidget>
#include <string>

namespace host {

class Frame;

class Sheet : public QWidget {
public:
    Sheet();
    ~Sheet() override;

    [[nodiscard]] std::string title() const;
    void setTitle(const std::string& title);
    void setIcon(const std::string& pictureName);
    [[nodiscard]] win32::HWND handle() const;
    void setredraw(bool redraw);
    [[nodiscard]] int workspacewidth() const;
    [[nodiscard]] int workspaceheight() const;

    // Size in layout units when the sheet is not maximized; the frame centres it at that size.
    void setDesignSize(int width, int height);
    [[nodiscard]] int designWidth() const { return designWidth_; }
    [[nodiscard]] int designHeight() const { return designHeight_; }

    // The frame this sheet is open in; nullptr before it is opened.
    [[nodiscard]] Frame* parentFrame() const;

    // The frame's menu-bar position under which the frame lists this sheet.
    [[nodiscard]] int menuPosition() const { return menuPosition_; }
    // Whether the sheet has been asked to close (it goes away when its event ends).
    [[nodiscard]] bool closing() const { return closing_; }

protected:
    virtual void onOpen() {}
    virtual void onClose() {}
    // Raised on every size change of the workspace and when the sheet first opens.
    virtual void onResize(int sizetype, int newwidth, int newheight);

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Frame;
    void raiseOpen(int menuPosition);

    int menuPosition_ = 0;
    int designWidth_ = 0;
    int designHeight_ = 0;
    bool closing_ = false;
};

} // namespace host
