#include "../support/image_plugins.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

using testing_support::RunningViewer;
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
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_TRUE(frame->statusBar()->isVisible());
    EXPECT_FALSE(frame->windowIcon().isNull());
    EXPECT_EQ(frame->mdiArea()->background().color(), QColor(0, 128, 128));

    ASSERT_EQ(frame->sheets().size(), 1u);
    w_brow* sheet = viewer.sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(frame->getactivesheet(), sheet);
    EXPECT_EQ(sheet->menuPosition(), 2);
    auto* sub = qobject_cast<QMdiSubWindow*>(sheet->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->geometry(), frame->mdiArea()->viewport()->rect());
    EXPECT_EQ(sheet->focusWidget(), sheet->lv_fileico->widget());
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

INSTANTIATE_TEST_SUITE_P(WithAndWithoutArguments, Startup,
                         testing::Values("", "b10.zqr --help extra"));

} // namespace
