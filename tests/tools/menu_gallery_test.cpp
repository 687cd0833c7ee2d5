#include "gallery/gallery_sheet.h"
#include "gallery/style_names.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/window_internal.h"
#include "menu/nvo_supermenu_class.h"
#include "menu_preview/file_menu_window.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using menupreview::FileMenuWindow;

// Runs the gallery program; answers its exit code (-1 when it did not finish).
int runGallery(const QStringList& arguments)
{
    QProcess process;
    process.setProgram(QStringLiteral(MENU_GALLERY_EXECUTABLE));
    process.setArguments(arguments);
    process.start();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process.exitCode();
}

// The File popup as a user sees it in one look: opened with Alt+F, which highlights its first
// entry.
QImage shownPopup(FileMenuWindow& window, std::int16_t look, std::int16_t background)
{
    window.engine().menustyle = look;
    window.engine().menubkstyle = background;
    host::OwnerDrawMenu& popup = window.popup();
    if (!popup.isVisible()) {
        QApplication::setActiveWindow(&host::widgetOf(window));
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(window)));
        QTest::keyClick(&host::widgetOf(window), Qt::Key_F, Qt::AltModifier);
    }
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.activeAction(), popup.entryActions().front());
    return popup.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool hasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

// One run of the program for the whole suite: it paints 56 popups.
class MenuGallery : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        path_ = folder_->filePath(QStringLiteral("menu-gallery.png"));
        exitCode_ = runGallery({path_});
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::unique_ptr<QTemporaryDir> folder_;
    static QString path_;
    static int exitCode_;
};

std::unique_ptr<QTemporaryDir> MenuGallery::folder_;
QString MenuGallery::path_;
int MenuGallery::exitCode_ = -1;

TEST_F(MenuGallery, EachCellIsThePopupTheUserSeesInItsLookPixelForPixel)
{
    ASSERT_EQ(exitCode_, 0);
    const QImage sheet = QImage(path_, "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(sheet.isNull());

    FileMenuWindow window;
    const QSize popupSize =
        shownPopup(window, gallery::kFrameLook, gallery::kFrameBackground).size();
    const gallery::GalleryLayout layout = gallery::galleryLayout(popupSize);
    EXPECT_EQ(sheet.size(), layout.size);
    ASSERT_EQ(layout.cells.size(), gallery::kLooks.size() * gallery::kBackgrounds.size());
    EXPECT_GT(popupSize.width(), 100);
    EXPECT_GT(popupSize.height(), 100);

    for (const gallery::GalleryCell& cell : layout.cells) {
        ASSERT_TRUE(QRect(QPoint(0, 0), sheet.size()).contains(cell.popup));
        EXPECT_EQ(sheet.copy(cell.popup), shownPopup(window, cell.look, cell.background))
            << "look " << cell.look << " background " << cell.background
            << " is not what the popup shows, or not where its caption says";
        EXPECT_TRUE(hasInk(sheet, cell.caption)) << "a cell without its caption";
    }
}

TEST_F(MenuGallery, NoTwoLooksOrBackgroundsComeOutAlike)
{
    ASSERT_EQ(exitCode_, 0);
    const QImage sheet = QImage(path_, "PNG").convertToFormat(QImage::Format_RGB32);
    FileMenuWindow window;
    const gallery::GalleryLayout layout =
        gallery::galleryLayout(window.openFilePopup(FileMenuWindow::kOpenEntry).size());
    std::vector<QImage> popups;
    for (const gallery::GalleryCell& cell : layout.cells) {
        popups.push_back(sheet.copy(cell.popup));
    }
    for (std::size_t i = 0; i < popups.size(); ++i) {
        for (std::size_t j = i + 1; j < popups.size(); ++j) {
            EXPECT_NE(popups[i], popups[j])
                << "looks " << layout.cells[i].look << "/" << layout.cells[i].background << " and "
                << layout.cells[j].look << "/" << layout.cells[j].background;
        }
    }
}

TEST_F(MenuGallery, TheZoomShowsTheFramesOwnLookPixelForPixelAtTwiceTheSize)
{
    ASSERT_EQ(exitCode_, 0);
    const QImage sheet = QImage(path_, "PNG").convertToFormat(QImage::Format_RGB32);
    FileMenuWindow window;
    const gallery::GalleryLayout layout =
        gallery::galleryLayout(window.openFilePopup(FileMenuWindow::kOpenEntry).size());
    const auto frameCell =
        std::find_if(layout.cells.begin(), layout.cells.end(), [](const gallery::GalleryCell& c) {
            return c.look == gallery::kFrameLook && c.background == gallery::kFrameBackground;
        });
    ASSERT_NE(frameCell, layout.cells.end());
    const QImage cell = sheet.copy(frameCell->popup);
    const QImage zoom = sheet.copy(layout.zoomPopup);
    ASSERT_EQ(zoom.size(), cell.size() * 2);
    for (int y = 0; y < zoom.height(); ++y) {
        for (int x = 0; x < zoom.width(); ++x) {
            ASSERT_EQ(zoom.pixel(x, y), cell.pixel(x / 2, y / 2)) << "at " << x << "," << y;
        }
    }
    EXPECT_TRUE(hasInk(sheet, layout.zoomCaption));
}

TEST(MenuGalleryProgram, ReportsAnUnwritablePathAndAMissingArgumentAsFailures)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("no-such-folder/gallery.png"));
    EXPECT_NE(runGallery({path}), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(runGallery({}), 2);
}

} // namespace
