#include "../support/image_plugins.h"
#include "app/start_place.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/list_view_widget.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStatusBar>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using testing_support::RunningViewer;
using testing_support::ScratchCache;
using testing_support::ScratchFolder;

struct Startup : testing::TestWithParam<const char*> {};

// Whether a group box has been painted since the watch began: the first paint of one used to
// read a picture of the style in a way that loaded every image-format plugin.
class GroupBoxPaintWatch : public QObject {
public:
    GroupBoxPaintWatch() { QCoreApplication::instance()->installEventFilter(this); }
    [[nodiscard]] bool seen() const { return seen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        seen_ = seen_ || (event->type() == QEvent::Paint && qobject_cast<QGroupBox*>(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

TEST_P(Startup, OpensTheMaximizedFrameWithItsSheetFillingTheClientArea)
{
    ScratchFolder folder;
    RunningViewer viewer(GetParam());
    w_main* frame = viewer.frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(QCoreApplication::applicationName(), "browser");
    EXPECT_EQ(frame->title(), "Varnelook1.0");
    EXPECT_TRUE(host::widgetOf(*frame).isMaximized());
    EXPECT_TRUE(host::frameWidgetOf(*frame).statusBar()->isVisible());
    EXPECT_FALSE(host::widgetOf(*frame).windowIcon().isNull());
    EXPECT_EQ(frame->mdiArea()->background().color(), QColor(0, 128, 128));

    ASSERT_EQ(frame->sheets().size(), 1u);
    w_brow* sheet = viewer.sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(frame->getactivesheet(), sheet);
    EXPECT_EQ(sheet->menuPosition(), 2);
    auto* sub = qobject_cast<QMdiSubWindow*>(host::widgetOf(*sheet).parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->geometry(), frame->mdiArea()->viewport()->rect());
    EXPECT_EQ(host::widgetOf(*sheet).focusWidget(), sheet->lv_fileico->widget());
    EXPECT_TRUE(RunningViewer::shownArchives(*sheet).empty()); // no archives here

    // Opening the sheet again only activates the one that is open.
    EXPECT_EQ(frame->opensheet<w_brow>(2), sheet);
    EXPECT_EQ(frame->sheets().size(), 1u);

    viewer.closeFrame();
    EXPECT_EQ(viewer.frame(), nullptr);
}

TEST_P(Startup, ListsTheFoldersArchivesWhateverTheArguments)
{
    ScratchFolder folder;
    folder.writeFile("b10.zqr", "");
    folder.writeFile("B2.zqr", "");
    folder.writeFile("a.zqr", "");
    folder.writeFile("readme.txt", "");
    RunningViewer viewer(GetParam());
    ASSERT_NE(viewer.sheet(), nullptr);
    EXPECT_EQ(RunningViewer::shownArchives(*viewer.sheet()),
              (std::vector<std::string>{"a.zqr", "B2.zqr", "b10.zqr"}));
    EXPECT_EQ(viewer.sheet()->lv_fileico->totalitems(), 0);
}

// Loading every image-format plugin, and the libraries behind them, was a good part of
// start-up; only the formats of the viewer's own pictures (the logo's GIF, the icon's ICO) are
// needed to show the frame.
TEST(StartupCost, ShowingAndPaintingTheViewerLoadsOnlyThePluginsOfItsOwnPictures)
{
    if (!testing_support::loadedImagePlugins().isEmpty()) {
        GTEST_SKIP() << "image plugins were loaded earlier in this process";
    }
    ScratchFolder folder;
    folder.writeFile("a.zqr", "");
    const GroupBoxPaintWatch painted;
    RunningViewer viewer; // started, shown and painted
    ASSERT_NE(viewer.sheet(), nullptr);
    ASSERT_TRUE(painted.seen());
    const QSet<QString> allowed{QStringLiteral("libqgif.so"), QStringLiteral("libqico.so")};
    const QSet<QString> loaded = testing_support::loadedImagePlugins();
    EXPECT_TRUE(loaded.contains(QStringLiteral("libqgif.so"))) << "the logo was not read";
    EXPECT_TRUE((loaded - allowed).isEmpty())
        << "also loaded: " << QStringList((loaded - allowed).values()).join(' ').toStdString();
}

// Runs the viewer's executable in `folder` with `arguments`; answers its exit code (-1 when it
// did not end) and what it wrote to standard output and standard error.
struct Exit {
    int code = -1;
    QString out;
    QString err;
};
Exit runViewer(const QString& folder, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VARNELOOK_EXECUTABLE), arguments);
    Exit exit;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit) {
        exit.code = process.exitCode();
    } else {
        process.kill();
        process.waitForFinished();
    }
    exit.out = QString::fromUtf8(process.readAllStandardOutput());
    exit.err = QString::fromUtf8(process.readAllStandardError());
    return exit;
}

// Each form of the viewer's own command line: a folder, an archive in another folder, and the
// command lines it refuses before any window opens.
TEST(StartPlace, TheViewerStartsOnTheFolderOrTheArchiveItIsGiven)
{
    ScratchFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("shelf")));
    folder.addArchive("shelf/b.zqr", {{"x.txt", "x"}, {"y.txt", "y"}});
    folder.addArchive("shelf/a.zqr", {{"z.txt", "z"}});
    folder.addArchive("here.zqr", {{"h.txt", "h"}});
    folder.writeFile("notes.txt", "not an archive");
    const QString home = QDir::currentPath();
    const std::vector<std::string> shelf{"a.zqr", "b.zqr"};

    {
        const app::StartCommand start = app::enterStartPlace({"shelf"});
        ASSERT_EQ(start.error, "");
        RunningViewer viewer(start.place);
        w_brow& sheet = *viewer.sheet();
        EXPECT_EQ(RunningViewer::shownArchives(sheet), shelf);
        EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty()) << "nothing listed unasked";
    }
    ASSERT_TRUE(QDir::setCurrent(home));
    {
        const app::StartCommand start = app::enterStartPlace({"shelf/b.zqr"});
        ASSERT_EQ(start.error, "");
        RunningViewer viewer(start.place);
        w_brow& sheet = *viewer.sheet();
        EXPECT_EQ(RunningViewer::shownArchives(sheet), shelf);
        // Listed and marked as if clicked.
        EXPECT_EQ(RunningViewer::shownMembers(sheet), (std::vector<std::string>{"x.txt", "y.txt"}));
        EXPECT_EQ(viewer.statusLine(), "总共:2个文件");
        EXPECT_EQ(sheet.title(), "在浏览<b.zqr>");
        EXPECT_EQ(QFileInfo(QString::fromStdString(sheet.zipFilePathName())).canonicalFilePath(),
                  QFileInfo(folder.path() + QStringLiteral("/shelf/b.zqr")).canonicalFilePath());
        const QListView* catalogue = sheet.lv_zip->listWidget();
        EXPECT_EQ(catalogue->currentIndex().row(), 1);
        EXPECT_TRUE(catalogue->selectionModel()->isSelected(catalogue->currentIndex()));
    }
    ASSERT_TRUE(QDir::setCurrent(home));

    // Refused: one line on standard error, exit code 2, no window and no change of folder.
    EXPECT_NE(app::enterStartPlace({"notes.txt"}).error, "");
    EXPECT_EQ(QDir::currentPath(), home);
    const std::vector<QStringList> refused{
        {QStringLiteral("no-such-folder")},
        {QStringLiteral("notes.txt")},
        {QStringLiteral("shelf"), QStringLiteral("here.zqr")},
        {QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("-reverse")},
        {QStringLiteral("-reverse")},
    };
    for (const QStringList& arguments : refused) {
        const Exit exit = runViewer(home, arguments);
        EXPECT_EQ(exit.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(exit.err.startsWith(QStringLiteral("varnelook: "))) << exit.err.toStdString();
        EXPECT_EQ(exit.err.count(QLatin1Char('\n')), 1) << exit.err.toStdString();
        EXPECT_TRUE(exit.out.isEmpty());
    }
    EXPECT_NE(
        runViewer(home, {QStringLiteral("notes.txt")}).err.indexOf(QStringLiteral("notes.txt")), -1)
        << "the message names the argument";
}

// What the command line answers without a window: the help and the version on standard output,
// "--" before a path that starts with '-', and one line when there is no display to show on.
TEST(StartPlace, HelpVersionEndOfOptionsAndNoDisplayAnswerWithoutAWindow)
{
    ScratchFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("-x")));
    folder.addArchive("-x/a.zqr", {{"z.txt", "z"}});
    const QString home = QDir::currentPath();

    const Exit help = runViewer(home, {QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: varnelook "))) << help.out.toStdString();
    for (const char* named : {"FOLDER", "ARCHIVE.zqr", "--version", "--"}) {
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(named))) << named;
    }
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    // The help wins over what else is on the line; nothing else is looked at.
    EXPECT_EQ(runViewer(home, {QStringLiteral("no-such-folder"), QStringLiteral("--help")}).out,
              help.out);

    const Exit version = runViewer(home, {QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.toStdString(), "varnelook " VARNELOOK_VERSION "\n");
    EXPECT_TRUE(version.err.isEmpty()) << version.err.toStdString();

    // After "--" a name that starts with '-' is a path: the folder "-x" is opened...
    {
        const app::StartCommand start = app::enterStartPlace({"--", "-x"});
        ASSERT_EQ(start.error, "");
        EXPECT_EQ(start.output, "");
        RunningViewer viewer(start.place);
        EXPECT_EQ(RunningViewer::shownArchives(*viewer.sheet()),
                  (std::vector<std::string>{"a.zqr"}));
        EXPECT_EQ(QFileInfo(QDir::currentPath()).fileName(), QStringLiteral("-x"));
    }
    ASSERT_TRUE(QDir::setCurrent(home));
    // ... and "--help" too; a missing one is not an option but a missing folder.
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--"), QStringLiteral("--help")},
          QStringList{QStringLiteral("--"), QStringLiteral("-y")},
          QStringList{QStringLiteral("--"), QStringLiteral("-x"), QStringLiteral("-x")}}) {
        const Exit exit = runViewer(home, arguments);
        EXPECT_EQ(exit.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(exit.out.isEmpty());
        EXPECT_FALSE(exit.err.contains(QStringLiteral("unknown option"))) << exit.err.toStdString();
    }

    // No display: one line on standard error and exit code 1, whether none is named or the one
    // named cannot be reached.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        noDisplay.remove(QString::fromUtf8(name));
    }
    QProcessEnvironment unreachable = noDisplay;
    unreachable.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    unreachable.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4711"));
    for (const QProcessEnvironment& environment : {noDisplay, unreachable}) {
        const Exit exit = runViewer(home, {}, environment);
        EXPECT_EQ(exit.code, 1);
        EXPECT_TRUE(exit.err.startsWith(QStringLiteral("varnelook: "))) << exit.err.toStdString();
        EXPECT_EQ(exit.err.count(QLatin1Char('\n')), 1) << exit.err.toStdString();
        EXPECT_TRUE(exit.err.contains(QStringLiteral("xvfb-run"))) << exit.err.toStdString();
        EXPECT_TRUE(exit.out.isEmpty()) << exit.out.toStdString();
    }
    EXPECT_TRUE(runViewer(home, {}, unreachable).err.contains(QStringLiteral(":4711")));
}

// Writes `content` to `path`, making the folders on the way.
void writeFileAt(const QString& path, const QByteArray& content)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A viewer that was killed leaves its drag copies in the cache; the next viewer to start removes
// them. The copies of a viewer still running, links and everything else in the cache stay.
TEST(StartupCleaning, DragCopiesLeftByAKilledViewerGoWhenAViewerStarts)
{
    ScratchFolder folder;
    const ScratchCache scratchCache;
    folder.addArchive("a.zqr", {{"b.txt", "b of a"}});
    const QString outside = folder.path() + QStringLiteral("/outside");
    writeFileAt(outside + QStringLiteral("/kept.txt"), "not the cache's");

    // A viewer running in this process, with a copy prepared for a drag.
    RunningViewer running;
    w_brow& sheet = *running.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    const QList<QUrl> dragged = RunningViewer::dragUrls(sheet, 0);
    ASSERT_EQ(dragged.size(), 1);
    const QString liveCopy = dragged[0].toLocalFile();
    ASSERT_TRUE(QFileInfo::exists(liveCopy));

    // What a killed viewer left: its drag folder, with a big copy, a folder, and links out.
    const QDir cache(scratchCache.folder());
    const QString left = cache.filePath(QStringLiteral("drag-1234"));
    writeFileAt(left + QStringLiteral("/big.bin"), QByteArray(1 << 20, 'z'));
    writeFileAt(left + QStringLiteral("/deep/er/x.txt"), "x");
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/kept.txt"), left + QStringLiteral("/link")));
    ASSERT_TRUE(QFile::link(outside, left + QStringLiteral("/deep/folder-link")));
    // Not drag folders: a link and a file with such a name, other names, other files.
    ASSERT_TRUE(QFile::link(outside, cache.filePath(QStringLiteral("drag-99"))));
    writeFileAt(cache.filePath(QStringLiteral("drag-77")), "a file");
    writeFileAt(cache.filePath(QStringLiteral("drag-x/y.txt")), "y");
    writeFileAt(cache.filePath(QStringLiteral("notes.txt")), "notes");
    QStringList expected = scratchCache.entries();
    expected.removeAll(QStringLiteral("drag-1234"));

    // A second viewer starts: the viewer's executable, on the same cache.
    QProcess second;
    second.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), QFileInfo(cache.path()).path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(VARNELOOK_EXECUTABLE), {});
    ASSERT_TRUE(second.waitForStarted());
    const bool removed = QTest::qWaitFor(
        [&] { return !QFileInfo::exists(left) || second.state() == QProcess::NotRunning; }, 30000);
    // Asked to end as at log out: the cleaning, done as it started, is over by then.
    second.terminate();
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_TRUE(removed);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(QFileInfo::exists(left));

    EXPECT_EQ(scratchCache.entries(), expected);
    EXPECT_TRUE(QFileInfo(cache.filePath(QStringLiteral("drag-99"))).isSymLink());
    EXPECT_EQ(folder.read("outside/kept.txt"), "not the cache's");
    EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList{QStringLiteral("kept.txt")});
    QFile other(cache.filePath(QStringLiteral("drag-x/y.txt")));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll().toStdString(), "y");
    // The running viewer's copy is still there for its drag, and goes with its sheet as ever.
    QFile copy(liveCopy);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll().toStdString(), "b of a");
    copy.close();
    running.closeFrame();
    EXPECT_FALSE(QFileInfo::exists(liveCopy));
    expected.removeAll(QFileInfo(QFileInfo(liveCopy).path()).fileName());
    EXPECT_EQ(scratchCache.entries(), expected);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutArguments, Startup,
                         testing::Values("", "b10.zqr --help extra"));

} // namespace
