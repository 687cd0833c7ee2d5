#include "host/toolkit/dropped_paths_internal.h"
#include "host/toolkit/event_boundary.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

namespace host {

DroppedPaths::DroppedPaths(QWidget& window, std::function<bool(const std::string&)> accepts,
                           std::function<void(const std::string&)> dropped)
    : window_(window), accepts_(std::move(accepts)), dropped_(std::move(dropped))
{
    // Qt hands a drag to the nearest widget under it that takes drops, up to the window.
    window_.setAcceptDrops(true);
    qApp->installEventFilter(this);
}

std::optional<std::string> DroppedPaths::takenPath(const QDropEvent& drag) const
{
    const QMimeData* data = drag.mimeData();
    // A drag out of the program's own lists (a member dragged out and back) is not a file the
    // user brings; nor is one that only a move would take, since nothing is to be moved here.
    if (data == nullptr || drag.source() != nullptr || data->hasFormat(kOwnDragFormat) ||
        (drag.possibleActions() & (Qt::CopyAction | Qt::LinkAction)) == 0) {
        return std::nullopt;
    }
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return std::nullopt;
    }
    std::string path = urls.front().toLocalFile().toStdString();
    if (path.empty() || !accepts_(path)) {
        return std::nullopt;
    }
    return path;
}

bool DroppedPaths::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) ||
        !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &window_) {
        return false;
    }
    auto* drag = static_cast<QDropEvent*>(event);
    // Text dragged onto a field stays the field's; anything with files in it is the window's.
    if (drag->mimeData() == nullptr || !drag->mimeData()->hasUrls()) {
        return false;
    }
    const std::optional<std::string> path = takenPath(*drag);
    if (!path) {
        drag->ignore(); // no drop cursor
        return true;
    }
    // The file stays where it is: the window only opens it.
    drag->setDropAction((drag->possibleActions() & Qt::LinkAction) != 0 ? Qt::LinkAction
                                                                        : Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop) {
        // After the drop is answered: the source waits for that answer, not for the opening.
        QMetaObject::invokeMethod(
            this, [this, dropped = *path] { raiseEvent([this, &dropped] { dropped_(dropped); }); },
            Qt::QueuedConnection);
    }
    return true;
}

} // namespace host
