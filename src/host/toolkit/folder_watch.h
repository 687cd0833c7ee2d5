// Watches one folder for entries added to it, removed from it or renamed in it, and tells the
// program once a burst of such changes has settled, as an event of its own.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace host {

class FolderWatch {
public:
    FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch();

    // Watches `folder` from now on, and no longer the folder before; `changed` runs after its
    // entries changed. False when the system cannot watch it: then nothing is told.
    bool watch(const std::string& folder, std::function<void()> changed);
    // Stops watching; nothing is told any more.
    void stop();
    // The folder being watched, empty when none.
    [[nodiscard]] const std::string& folder() const { return folder_; }

private:
    struct Watcher;
    std::unique_ptr<Watcher> watcher_;
    std::string folder_;
};

} // namespace host
