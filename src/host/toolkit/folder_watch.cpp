#include "host/toolkit/folder_watch.h"

#include "host/toolkit/event_boundary.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <utility>

namespace host {

namespace {

// Copying a set of files changes the folder many times in a row: they are told once, this long
// after the last of them.
constexpr std::chrono::milliseconds kSettle(250);

} // namespace

struct FolderWatch::Watcher {
    QFileSystemWatcher system;
    QTimer settle;
    std::function<void()> changed;
};

FolderWatch::FolderWatch() = default;

FolderWatch::~FolderWatch() = default;

bool FolderWatch::watch(const std::string& folder, std::function<void()> changed)
{
    stop();
    watcher_ = std::make_unique<Watcher>();
    Watcher& watcher = *watcher_;
    watcher.changed = std::move(changed);
    watcher.settle.setSingleShot(true);
    watcher.settle.setInterval(kSettle);
    QObject::connect(&watcher.system, &QFileSystemWatcher::directoryChanged, &watcher.settle,
                     [&watcher] { watcher.settle.start(); });
    QObject::connect(&watcher.settle, &QTimer::timeout, &watcher.system, [&watcher] {
        if (watcher.changed) {
            raiseEvent(watcher.changed);
        }
    });
    if (!watcher.system.addPath(QString::fromStdString(folder))) {
        watcher_.reset();
        return false;
    }
    folder_ = folder;
    return true;
}

void FolderWatch::stop()
{
    watcher_.reset();
    folder_.clear();
}

} // namespace host
