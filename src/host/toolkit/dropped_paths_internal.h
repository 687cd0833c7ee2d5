// Host-internal: a local file or folder dropped anywhere on a window (its sheets and controls
// included) handed to the window's event, and the mark of drags that start in the program.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QDropEvent;
class QWidget;

namespace host {

// The format every drag out of the program's own controls carries, so that the program's
// windows never take such a drag as a file dropped from outside.
inline constexpr const char* kOwnDragFormat = "application/x-varnelook-own-drag";

class DroppedPaths : public QObject {
public:
    // `window` (a top-level widget) must outlive this.
    DroppedPaths(QWidget& window, std::function<bool(const std::string&)> accepts,
                 std::function<void(const std::string&)> dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The path the drag carries when the window takes it: one local file or folder, from
    // outside the program, that `accepts_` takes.
    [[nodiscard]] std::optional<std::string> takenPath(const QDropEvent& drag) const;

    QWidget& window_;
    std::function<bool(const std::string&)> accepts_;
    std::function<void(const std::string&)> dropped_;
};

} // namespace host
