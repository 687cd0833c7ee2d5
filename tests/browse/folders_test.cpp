// Opening another folder from the window: the catalogue's 打开文件夹... and a folder or an
// archive dropped onto the window list that folder's archives as if the viewer had been started
// there; a folder without archives says so and how to leave it.
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/folder_dialog.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/window_functions.h"
#include "host/toolkit/window_internal.h"
#include "viewer_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using testing_support::AnsweredMessageBoxes;
using testing_support::RunningViewer;
using testing_support::ScratchCache;
using testing_support::ScratchFolder;
using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

const std::string kNoArchive =
    "此文件夹中没有文件库 (右击左边的文件清单选“打开文件夹...”,或把文件夹拖到窗口上)";

// Answers the folder chooser with the next of `answers` (none: cancelled) and keeps where each
// one started.
class AnsweredFolderChoosers {
public:
    AnsweredFolderChoosers()
        : previous_(host::setFolderDialogHandler([this](const host::FolderDialogRequest& request) {
              started.push_back(request.folder);
              titles.push_back(request.title);
              std::optional<std::string> answer;
              if (!answers.empty()) {
                  answer = answers.front();
                  answers.erase(answers.begin());
              }
              return answer;
          }))
    {
    }
    AnsweredFolderChoosers(const AnsweredFolderChoosers&) = delete;
    AnsweredFolderChoosers& operator=(const AnsweredFolderChoosers&) = delete;
    ~AnsweredFolderChoosers() { host::setFolderDialogHandler(previous_); }

    std::vector<std::optional<std::string>> answers;
    std::vector<std::string> started;
    std::vector<std::string> titles;

private:
    host::FolderDialogHandler previous_;
};

std::vector<std::string> entryTexts(const host::OwnerDrawMenu& menu)
{
    std::vector<std::string> texts;
    for (const QAction* action : menu.entryActions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return texts;
}

// Chooses 打开文件夹... in the catalogue's menu that is open.
void chooseOpenFolder(QMenu* shown)
{
    auto* menu = dynamic_cast<host::OwnerDrawMenu*>(shown);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(entryTexts(*menu), (std::vector<std::string>{"列出", "-", "打开文件夹..."}));
    QAction* open = menu->entryActions()[2];
    ASSERT_TRUE(open->isEnabled());
    menu->close();
    open->trigger();
    RunningViewer::waitWhileBusy();
}

std::string canonical(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).canonicalFilePath().toStdString();
}

TEST(Folders, TheCataloguesMenuOpensAnotherFolderAndLeavesTheOldOneClean)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    const ScratchCache cache;
    AnsweredFolderChoosers choosers;
    ASSERT_TRUE(QDir(folder.path()).mkpath("书架"));
    ASSERT_TRUE(QDir(folder.path()).mkpath("空"));
    folder.addArchive("a.zqr", {{"a.txt", "from a"}, {"b.txt", "b"}});
    folder.addArchive("书架/b.zqr", {{"x.txt", "x"}, {"y.txt", "y"}});
    folder.addArchive("书架/c.zqr", {{"z.txt", "z"}});
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    EXPECT_EQ(viewer.statusLine(), ""); // archives here: nothing to say

    // A document opened and one dragged out: the old folder's files the sheet is to remove.
    RunningViewer::clickItem(sheet, true, 0);
    RunningViewer::doubleClickItem(sheet, 0);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("a.txt"));
    ASSERT_TRUE(folder.exists("a.txt"));
    const QList<QUrl> dragged = RunningViewer::dragUrls(sheet, 1);
    ASSERT_EQ(dragged.size(), 1);
    ASSERT_TRUE(QFile::exists(dragged[0].toLocalFile()));

    // Beside the archives the menu offers only another folder; cancelled, nothing changes.
    QMenu* shown = RunningViewer::rightClickItem(sheet, true, -1);
    auto* menu = dynamic_cast<host::OwnerDrawMenu*>(shown);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->entryActions()[0]->isEnabled());
    chooseOpenFolder(shown);
    ASSERT_EQ(choosers.started.size(), 1u);
    EXPECT_EQ(canonical(choosers.started[0]), canonical(folder.path().toStdString()));
    EXPECT_EQ(choosers.titles[0], "打开文件夹");
    EXPECT_EQ(RunningViewer::shownMembers(sheet), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_TRUE(folder.exists("a.txt"));

    // Chosen, the folder's archives are listed as if the viewer had started there: the old
    // folder's document and drag copy are gone, the members, title and status start over.
    choosers.answers.emplace_back(folder.filePath("书架"));
    chooseOpenFolder(RunningViewer::rightClickItem(sheet, true, 0));
    EXPECT_EQ(RunningViewer::shownArchives(sheet), (std::vector<std::string>{"b.zqr", "c.zqr"}));
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(sheet.title(), "");
    EXPECT_EQ(viewer.statusLine(), "");
    EXPECT_EQ(sheet.zipFilePathName(), "");
    EXPECT_EQ(sheet.openFileName(), "");
    EXPECT_FALSE(folder.exists("a.txt"));
    EXPECT_FALSE(QFile::exists(dragged[0].toLocalFile()));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.zqr", "书架", "空"}));
    RunningViewer::clickItem(sheet, true, 1);
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"z.txt"});
    EXPECT_EQ(sheet.zipFilePathName(), folder.filePath("书架/c.zqr"));
    EXPECT_EQ(sheet.title(), "在浏览<c.zqr>");

    // From the menu key, into a folder without archives: the status line says so and names
    // the way out; the menu key there, with no archive to be current, still offers a folder.
    host::ListViewWidget& catalogue = *sheet.lv_zip->listWidget();
    catalogue.setFocus();
    choosers.answers.emplace_back(folder.filePath("空"));
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0),
                              catalogue.mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(&catalogue, &menuKey);
    chooseOpenFolder(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    EXPECT_TRUE(RunningViewer::shownArchives(sheet).empty());
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(viewer.statusLine(), kNoArchive);
    EXPECT_EQ(sheet.title(), "");
    QApplication::sendEvent(&catalogue, &menuKey);
    chooseOpenFolder(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    EXPECT_EQ(choosers.started.size(), 4u);
    EXPECT_EQ(viewer.statusLine(), kNoArchive);

    // A fresh sheet there says it too, at its open.
    host::close(sheet);
    testing_support::letClosedWindowsGo();
    EXPECT_EQ(viewer.statusLine(), "");
    viewer.frame()->opensheet<w_brow>(2);
    EXPECT_EQ(viewer.statusLine(), kNoArchive);
    EXPECT_TRUE(boxes.shown.empty());
}

// Drags `data` over the frame's window to the centre of `target` and drops it there, as the
// window system hands a drag from another program to the window: false when the window shows no
// drop cursor for it (and nothing is dropped).
bool dropOnto(w_main& frame, QWidget& target, const QMimeData& data)
{
    QWidget& window = host::widgetOf(frame);
    QWindow* handle = window.windowHandle();
    const QPoint at = target.mapTo(&window, target.rect().center());
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &enter);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    if (!enter.isAccepted() || !move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(handle, &leave);
        return false;
    }
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &drop);
    QCoreApplication::processEvents();
    RunningViewer::waitWhileBusy();
    return drop.isAccepted() && drop.dropAction() != Qt::MoveAction;
}

std::unique_ptr<QMimeData> filesData(const std::vector<std::string>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    data->setUrls(urls);
    return data;
}

TEST(Folders, AFolderOrAnArchiveDroppedOntoTheWindowOpensAsOnTheCommandLine)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    ASSERT_TRUE(QDir(folder.path()).mkpath("书架"));
    folder.addArchive("书架/b.zqr", {{"x.txt", "x"}, {"y.txt", "y"}});
    folder.addArchive("书架/c.zqr", {{"inner.zqr", "an archive in an archive"}, {"z.txt", "z"}});
    folder.writeFile("notes.txt", "not an archive");
    const ScratchCache cache;
    RunningViewer viewer;
    w_main& frame = *viewer.frame();
    w_brow& fresh = *viewer.sheet();
    EXPECT_TRUE(RunningViewer::shownArchives(fresh).empty());
    EXPECT_EQ(viewer.statusLine(), kNoArchive);

    // Anything but one folder or one archive shows no drop cursor and changes nothing.
    QWidget& members = *fresh.lv_fileico->listWidget()->viewport();
    EXPECT_FALSE(dropOnto(frame, members, *filesData({folder.filePath("notes.txt")})));
    EXPECT_FALSE(dropOnto(frame, members, *filesData({folder.filePath("gone.zqr")})));
    EXPECT_FALSE(dropOnto(frame, members,
                          *filesData({folder.filePath("书架"), folder.filePath("书架/b.zqr")})));
    QMimeData text;
    text.setText(QString::fromStdString(folder.filePath("书架")));
    EXPECT_FALSE(dropOnto(frame, members, text));
    EXPECT_EQ(viewer.statusLine(), kNoArchive);

    // A folder dropped onto the member list: its archives, nothing listed.
    ASSERT_TRUE(dropOnto(frame, members, *filesData({folder.filePath("书架")})));
    EXPECT_EQ(RunningViewer::shownArchives(fresh), (std::vector<std::string>{"b.zqr", "c.zqr"}));
    EXPECT_TRUE(RunningViewer::shownMembers(fresh).empty());
    EXPECT_EQ(viewer.statusLine(), "");
    EXPECT_EQ(canonical(QDir::currentPath().toStdString()), canonical(folder.filePath("书架")));

    // An archive dropped onto the filter field: listed and marked, as a click on it does.
    QWidget& field = *fresh.sle_find->widget();
    ASSERT_TRUE(dropOnto(frame, field, *filesData({folder.filePath("书架/c.zqr")})));
    EXPECT_EQ(RunningViewer::shownMembers(fresh), (std::vector<std::string>{"inner.zqr", "z.txt"}));
    EXPECT_EQ(fresh.title(), "在浏览<c.zqr>");
    EXPECT_EQ(fresh.lv_zip->listWidget()->currentIndex().row(), 1);
    EXPECT_EQ(fresh.sle_find->text(), "");

    // A member dragged out of the viewer's own list and back is no archive to open, even one
    // named .zqr.
    const QAbstractItemModel& model = *fresh.lv_fileico->listWidget()->model();
    const std::unique_ptr<QMimeData> own(model.mimeData({model.index(0, 0)}));
    ASSERT_NE(own, nullptr);
    ASSERT_TRUE(own->urls().front().toLocalFile().endsWith("/inner.zqr"));
    EXPECT_FALSE(dropOnto(frame, *fresh.lv_zip->listWidget()->viewport(), *own));
    EXPECT_EQ(fresh.title(), "在浏览<c.zqr>");

    // With the sheet closed, a folder dropped onto the frame opens a sheet on it.
    host::close(fresh);
    testing_support::letClosedWindowsGo();
    ASSERT_TRUE(frame.sheets().empty());
    ASSERT_TRUE(dropOnto(frame, *frame.mdiArea(), *filesData({folder.path().toStdString()})));
    ASSERT_NE(viewer.sheet(), nullptr);
    EXPECT_TRUE(RunningViewer::shownArchives(*viewer.sheet()).empty());
    EXPECT_EQ(viewer.statusLine(), kNoArchive);

    // An archive that comes into the folder meanwhile is listed, and the word goes with it.
    folder.addArchive("新.zqr", {{"n.txt", "n"}});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !RunningViewer::shownArchives(*viewer.sheet()).empty(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.statusLine().empty(); }, 1000));
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
