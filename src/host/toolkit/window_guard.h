// Tells whether a window still exists, for code that lets other events run (a yield) and must
// not touch its window afterwards if one of those events destroyed it.
#pragma once

#include <QPointer>
#include <QWidget>

namespace host {

class WindowGuard {
public:
    explicit WindowGuard(QWidget& window) : window_(&window) {}
    [[nodiscard]] bool alive() const { return !window_.isNull(); }

private:
    QPointer<QWidget> window_;
};

} // namespace host
