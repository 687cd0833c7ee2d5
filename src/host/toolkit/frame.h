// The multiple-document frame: a main window whose client area holds sheets, with a micro-help
// status line. The program's frame derives from it; the menu bar and toolbar of the main
// window are its own to fill.
#pragma once

#include "host/toolkit/deferred_update.h"
#include "host/toolkit/sheet.h"
#include "host/win32/handles.h"

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMdiArea;

namespace host {

class Frame : public QMainWindow {
public:
    Frame();
    ~Frame() override;

    [[nodiscard]] std::string title() const;
    void setTitle(const std::string& title);
    void setIcon(const std::string& pictureName);
    [[nodiscard]] win32::HWND handle() const;
    void setredraw(bool redraw);
    [[nodiscard]] int workspacewidth() const;
    [[nodiscard]] int workspaceheight() const;

    // Size in layout units when the frame is not maximized; it opens centred on the screen.
    void setDesignSize(int width, int height);
    void setOpenMaximized(bool maximized);
    void setClientBackColor(long color);

    // Shows the text in the status line.
    void setmicrohelp(const std::string& text);
    [[nodiscard]] std::string microhelp() const;

    // Opens a sheet of type S listed under menu-bar position `menuPosition`; when one is open
    // already, it is only activated.
    template <typename S> S* opensheet(int menuPosition)
    {
        for (Sheet* sheet : sheets()) {
            if (auto* existing = dynamic_cast<S*>(sheet)) {
                activate(*existing);
                return existing;
            }
        }
        auto sheet = std::make_unique<S>();
        S* opened = sheet.get();
        addSheet(std::move(sheet), menuPosition);
        return opened;
    }

    // The open sheets in the order they were opened, and the active one (nullptr when none).
    [[nodiscard]] std::vector<Sheet*> sheets() const;
    [[nodiscard]] Sheet* getactivesheet() const;

    // Shows the frame and raises its open event; the frame then owns itself and is destroyed
    // when it closes.
    void openWindow();

    [[nodiscard]] QMdiArea* mdiArea() const { return mdi_; }

protected:
    virtual void onOpen() {}
    virtual void onClose() {}
    virtual void onResize(int sizetype, int newwidth, int newheight);

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void addSheet(std::unique_ptr<Sheet> sheet, int menuPosition);
    void activate(Sheet& sheet);

    QMdiArea* mdi_;
    QLabel* microhelp_;
    std::string microhelpText_;
    DeferredUpdate microhelpUpdate_;
    int designWidth_ = 0;
    int designHeight_ = 0;
    bool openMaximized_ = false;
    bool closing_ = false;
};

// Opens a top-level window of type W (a frame) and returns it; it lives until it closes.
template <typename W> W* open()
{
    auto window = std::make_unique<W>();
    W* opened = window.release(); // owned from here by itself: WA_DeleteOnClose
    opened->openWindow();
    return opened;
}

} // namespace host
