// The top-level windows the host owns: opened by open(), destroyed once they have closed.
#include "host/toolkit/frame.h"
#include "host/toolkit/frame_internal.h"

#include <QCoreApplication>
#include <algorithm>
#include <memory>
#include <vector>

namespace host {

namespace {

std::vector<std::unique_ptr<Frame>>& openWindows()
{
    static std::vector<std::unique_ptr<Frame>> windows;
    return windows;
}

} // namespace

void openOwned(std::unique_ptr<Frame> window)
{
    Frame& frame = *window;
    // Windows still open when the toolkit goes (the loop left without closing them) are
    // destroyed while it is still there.
    static const bool cleanupAdded = [] {
        qAddPostRoutine(destroyOpenWindows);
        return true;
    }();
    static_cast<void>(cleanupAdded);
    openWindows().push_back(std::move(window));
    // Closing deletes the widget later, when the close event has long ended; the widget hands
    // that deletion to the list (FrameWidget::event), which destroys the frame, widget and all.
    frameWidgetOf(frame).setAttribute(Qt::WA_DeleteOnClose);
    frame.openWindow();
}

bool releaseOpenWindow(const Frame& frame)
{
    auto& windows = openWindows();
    const auto it = std::find_if(windows.begin(), windows.end(),
                                 [&frame](const auto& window) { return window.get() == &frame; });
    if (it == windows.end()) {
        return false;
    }
    // Out of the list before it goes, so its destruction never meets the list half changed.
    const std::unique_ptr<Frame> released = std::move(*it);
    windows.erase(it);
    return true;
}

void destroyOpenWindows()
{
    auto& windows = openWindows();
    while (!windows.empty()) {
        const std::unique_ptr<Frame> last = std::move(windows.back());
        windows.pop_back();
    }
}

} // namespace host
