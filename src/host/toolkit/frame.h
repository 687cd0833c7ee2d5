// The multiple-document frame: a main window whose client area holds sheets, with a micro-help
// status line. The program's frame derives from it; the menu bar and toolbar of the main
// window are its own to fill. The frame owns the sheets open in it.
#pragma once

#include "host/toolkit/deferred_update.h"
#include "host/toolkit/menu_host.h"
#include "host/toolkit/sheet.h"
#include "host/toolkit/window.h"
#include "host/win32/handles.h"
#include "host/win32/messages.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMdiArea;
class QObject;

namespace host {

class DroppedPaths;
class FrameMenu;
class FrameWidget;
class MenuItem;

class Frame : public Window, public MenuHost {
public:
    Frame();
    ~Frame() override;

    [[nodiscard]] win32::HWND handle() const override { return Window::handle(); }

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

    // Raises the open event and shows the frame (open() below hands it to the host first).
    void openWindow();

    [[nodiscard]] QMdiArea* mdiArea() const { return mdi_; }

    // The frame's menu (its sub-items are the menu-bar titles; items with a toolbar picture
    // make the toolbar), owned by the frame from here on. nullptr before one is set.
    void setmenuid(std::unique_ptr<MenuItem> menu);
    [[nodiscard]] MenuItem* menuid() const override;
    [[nodiscard]] FrameMenu* frameMenu() const { return menu_.get(); }

    // A user event bound to a window message of the frame, raised with the message's two
    // parameters whenever the message is sent to the frame.
    using UserEvent = std::function<void(win32::WPARAM, win32::LPARAM)>;
    void bindUserEvent(win32::UINT message, UserEvent event);

    // Lets a local file or folder be dropped anywhere on the frame, its sheets included:
    // `accepts` says whether the frame takes a path (a drag of anything else shows no drop
    // cursor), `dropped` is raised with it once the drop is done. One file or folder at a time;
    // a drag out of the program's own windows is never taken.
    void onPathDropped(std::function<bool(const std::string&)> accepts,
                       std::function<void(const std::string&)> dropped);

    // A popup menu of a sheet's (built from `root` as the bar `bar`), handed over so it is
    // painted like the frame's own menus; a frame without menus of its own paints nothing.
    virtual void adoptPopupMenu(MenuItem& /*root*/, win32::HMENU /*bar*/) {}

protected:
    // The frame's workspace is its client area, around the sheets.
    [[nodiscard]] const QWidget& workspace() const override;

private:
    friend class FrameWidget;
    [[nodiscard]] FrameWidget& frameWidget() const;
    void addSheet(std::unique_ptr<Sheet> sheet, int menuPosition);
    void activate(Sheet& sheet);
    win32::LRESULT windowMessage(win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam);
    // From the frame's widget: a resize, a close the frame answers (false keeps it open), and the
    // deletion of a closed sheet's sub-window, which takes the sheet first.
    void resized();
    [[nodiscard]] bool closeRequested();
    void releaseSheetIn(const QObject* subWindow);

    // The open sheets and those closed but not yet gone, in the order they were opened.
    std::vector<std::unique_ptr<Sheet>> sheets_;
    QMdiArea* mdi_;
    QLabel* microhelp_;
    std::string microhelpText_;
    DeferredUpdate microhelpUpdate_;
    int designWidth_ = 0;
    int designHeight_ = 0;
    bool openMaximized_ = false;
    bool closing_ = false;
    std::unique_ptr<FrameMenu> menu_;
    std::map<win32::UINT, UserEvent> userEvents_;
    std::unique_ptr<DroppedPaths> drops_;
    // Last, so no message reaches the frame while its members go.
    std::unique_ptr<win32::WindowProcedureBinding> procedure_;
};

// Hands a frame to the host's list of open windows and opens it; the list destroys it once it
// has closed (after its close event has ended), or when the application ends.
void openOwned(std::unique_ptr<Frame> window);

// Opens a top-level window of type W (a frame) and returns it; it lives until it closes.
template <typename W> W* open()
{
    auto window = std::make_unique<W>();
    W* opened = window.get();
    openOwned(std::move(window));
    return opened;
}

} // namespace host
