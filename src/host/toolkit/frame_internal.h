// Host-internal: the Qt main window of a frame, which hands its events to its frame, and the
// end of the host's list of open windows.
#pragma once

#include "host/toolkit/frame.h"
#include "host/toolkit/window_internal.h"

#include <QMainWindow>

namespace host {

class FrameWidget : public QMainWindow, public WindowLink {
public:
    FrameWidget() = default;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Watches the sheets' sub-windows for their deletion.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] Frame* frame() const { return static_cast<Frame*>(linkedWindow()); }
};

// The main window behind a frame.
inline FrameWidget& frameWidgetOf(const Frame& frame)
{
    return static_cast<FrameWidget&>(widgetOf(frame));
}

// The frame whose widget `widget` is, nullptr for any other widget.
Frame* frameOf(const QWidget* widget);

// The host's list of open windows (open_windows.cpp): destroys `frame` if the list holds it,
// false when it does not; and destroys those still listed (when the application ends).
bool releaseOpenWindow(const Frame& frame);
void destroyOpenWindows();

} // namespace host
