// What the viewer's GUI tests share: a temporary folder that is the current directory while a
// test runs, archives made in it, message boxes answered and recorded, and the running viewer.
#pragma once

#include "host/toolkit/message_box.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QMenu;
class QTimer;
class browser;
namespace app {
struct StartPlace;
}
class w_brow;
class w_main;

namespace testing_support {

// A fresh folder that is the process's current directory for the fixture's life.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    [[nodiscard]] QString path() const { return folder_.path(); }
    [[nodiscard]] std::string filePath(const std::string& name) const;

    // A ZIP archive holding the members (name, content) in this order; each dated with the DOS
    // time and date given, or now.
    void addArchive(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& members,
                    std::optional<std::pair<std::uint16_t, std::uint16_t>> dosTimeAndDate = {});
    void writeFile(const std::string& name, const std::string& content);
    [[nodiscard]] bool exists(const std::string& name) const;
    [[nodiscard]] std::string read(const std::string& name) const;
    // The names in the folder, sorted.
    [[nodiscard]] std::vector<std::string> names() const;

private:
    QTemporaryDir folder_;
    QString previous_;
};

// Answers every message box with OK and keeps what it showed.
class AnsweredMessageBoxes {
public:
    AnsweredMessageBoxes();
    AnsweredMessageBoxes(const AnsweredMessageBoxes&) = delete;
    AnsweredMessageBoxes& operator=(const AnsweredMessageBoxes&) = delete;
    ~AnsweredMessageBoxes();

    std::vector<host::MessageBoxRequest> shown;

private:
    host::MessageBoxHandler previous_;
};

// Closes every modal window that comes up while it lives (the about box) and keeps its title, so
// that an input that wrongly opens one fails a test instead of leaving it waiting for a person.
class ModalWindowsClosed {
public:
    ModalWindowsClosed();
    ModalWindowsClosed(const ModalWindowsClosed&) = delete;
    ModalWindowsClosed& operator=(const ModalWindowsClosed&) = delete;
    ~ModalWindowsClosed();

    std::vector<std::string> titles;

private:
    std::unique_ptr<QTimer> timer_;
};

// The viewer's private cache folder, made in a folder of the test's own while this lives
// (XDG_CACHE_HOME), the previous setting restored after.
class ScratchCache {
public:
    ScratchCache();
    ScratchCache(const ScratchCache&) = delete;
    ScratchCache& operator=(const ScratchCache&) = delete;
    ~ScratchCache();

    // The viewer's cache folder, and what it holds (hidden names included).
    [[nodiscard]] QString folder() const;
    [[nodiscard]] QStringList entries() const;

private:
    QTemporaryDir home_;
    QByteArray previous_;
};

// The viewer started as its executable starts it, in the current directory.
class RunningViewer {
public:
    explicit RunningViewer(const std::string& commandline = "");
    // Started on a place the executable's arguments named (app::enterStartPlace).
    explicit RunningViewer(const app::StartPlace& place);
    RunningViewer(const RunningViewer&) = delete;
    RunningViewer& operator=(const RunningViewer&) = delete;
    ~RunningViewer();

    [[nodiscard]] w_main* frame() const;
    [[nodiscard]] w_brow* sheet() const;
    // Closes the frame as its close box does and lets the closed windows go.
    void closeFrame();

    // Clicks and double-clicks item `row` (0-based) of a list view by mouse, or beside the items
    // when row is -1. A click in the catalogue returns once the listing it started has ended.
    static void clickItem(w_brow& sheet, bool catalogue, int row);
    // Right-clicks item `row` (0-based) of a list view and returns the menu that shows, if any.
    static QMenu* rightClickItem(w_brow& sheet, bool catalogue, int row);
    // The URLs a drag of member `row` carries, as the list hands them to the drag; none when it
    // starts no drag.
    static QList<QUrl> dragUrls(w_brow& sheet, int row);
    // Lets events run until the hourglass is gone.
    static void waitWhileBusy();
    // A double-click returns once the member's unpack has ended (and its file was opened or its
    // failure shown), unless the test goes on while it runs.
    enum class Unpack { Finished, Running };
    static void doubleClickItem(w_brow& sheet, int row, Unpack wait = Unpack::Finished);
    // Right-clicks member `row` and chooses 另存为... in its menu; returns once the dialog was
    // answered and the copy it asked for (if any) has ended, unless the test goes on while it runs.
    static void saveMemberAs(w_brow& sheet, int row, Unpack wait = Unpack::Finished);
    // Lets events run until the sheet's unpack has ended.
    static void waitForUnpack(const w_brow& sheet);
    // The labels the member list shows, top to bottom.
    static std::vector<std::string> shownMembers(const w_brow& sheet);
    // The archives the catalogue lists, in its order.
    static std::vector<std::string> shownArchives(const w_brow& sheet);
    // The text of the frame's status line as shown.
    [[nodiscard]] std::string statusLine() const;

private:
    std::unique_ptr<browser> application_;
    bool finished_ = false;
};

// Lets deferred deletions (closed windows) happen.
void letClosedWindowsGo();

} // namespace testing_support
