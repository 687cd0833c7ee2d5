#include "viewer_fixture.h"

#include "app/browser.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/window_functions.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <zip.h>

namespace testing_support {

ScratchFolder::ScratchFolder() : previous_(QDir::currentPath())
{
    EXPECT_TRUE(folder_.isValid());
    EXPECT_TRUE(QDir::setCurrent(folder_.path()));
}

ScratchFolder::~ScratchFolder()
{
    QDir::setCurrent(previous_);
}

std::string ScratchFolder::filePath(const std::string& name) const
{
    return folder_.filePath(QString::fromStdString(name)).toStdString();
}

void ScratchFolder::addArchive(
    const std::string& name, const std::vector<std::pair<std::string, std::string>>& members,
    std::optional<std::pair<std::uint16_t, std::uint16_t>> dosTimeAndDate)
{
    int error = 0;
    zip_t* archive = zip_open(filePath(name).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [member, content] : members) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_NE(source, nullptr);
        const zip_int64_t index = zip_file_add(archive, member.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            FAIL() << "cannot add " << member;
        }
        if (dosTimeAndDate) {
            ASSERT_EQ(zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index),
                                           dosTimeAndDate->first, dosTimeAndDate->second, 0),
                      0);
        }
    }
    ASSERT_EQ(zip_close(archive), 0);
}

void ScratchFolder::writeFile(const std::string& name, const std::string& content)
{
    QFile file(QString::fromStdString(filePath(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
}

bool ScratchFolder::exists(const std::string& name) const
{
    return QFile::exists(QString::fromStdString(filePath(name)));
}

std::string ScratchFolder::read(const std::string& name) const
{
    QFile file(QString::fromStdString(filePath(name)));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

std::vector<std::string> ScratchFolder::names() const
{
    std::vector<std::string> names;
    for (const QString& entry :
         QDir(folder_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name)) {
        names.push_back(entry.toStdString());
    }
    return names;
}

AnsweredMessageBoxes::AnsweredMessageBoxes()
    : previous_(host::setMessageBoxHandler([this](const host::MessageBoxRequest& box) {
          shown.push_back(box);
          return 1;
      }))
{
}

AnsweredMessageBoxes::~AnsweredMessageBoxes()
{
    host::setMessageBoxHandler(previous_);
}

ModalWindowsClosed::ModalWindowsClosed() : timer_(std::make_unique<QTimer>())
{
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            titles.push_back(modal->windowTitle().toStdString());
            modal->close();
        }
    });
    timer_->start(5);
}

ModalWindowsClosed::~ModalWindowsClosed() = default;

RunningViewer::RunningViewer(const std::string& commandline)
    : application_(std::make_unique<browser>())
{
    application_->start(commandline);
    QCoreApplication::processEvents();
    waitWhileBusy();
}

ScratchCache::ScratchCache() : previous_(qgetenv("XDG_CACHE_HOME"))
{
    qputenv("XDG_CACHE_HOME", home_.path().toUtf8());
}

ScratchCache::~ScratchCache()
{
    if (previous_.isNull()) {
        qunsetenv("XDG_CACHE_HOME");
    } else {
        qputenv("XDG_CACHE_HOME", previous_);
    }
}

QString ScratchCache::folder() const
{
    return home_.filePath("varnelook");
}

QStringList ScratchCache::entries() const
{
    return QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

RunningViewer::RunningViewer(const app::StartPlace& place)
    : application_(std::make_unique<browser>(place))
{
    application_->start("");
    QCoreApplication::processEvents();
    waitWhileBusy(); // an archive it starts on is listed first
}

RunningViewer::~RunningViewer()
{
    closeFrame();
}

w_main* RunningViewer::frame() const
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = dynamic_cast<w_main*>(host::frameOf(window));
            frame != nullptr && window->isVisible()) {
            return frame;
        }
    }
    return nullptr;
}

w_brow* RunningViewer::sheet() const
{
    w_main* main = frame();
    if (main == nullptr) {
        return nullptr;
    }
    for (host::Sheet* open : main->sheets()) {
        if (auto* browse = dynamic_cast<w_brow*>(open)) {
            return browse;
        }
    }
    return nullptr;
}

void RunningViewer::closeFrame()
{
    if (finished_) {
        return;
    }
    if (w_main* main = frame()) {
        host::close(*main);
    }
    letClosedWindowsGo();
    application_->finish();
    finished_ = true;
}

std::string RunningViewer::statusLine() const
{
    w_main* main = frame();
    if (main == nullptr) {
        return {};
    }
    const auto labels = host::frameWidgetOf(*main).statusBar()->findChildren<QLabel*>();
    return labels.isEmpty() ? std::string() : labels.front()->text().toStdString();
}

namespace {

QPoint pointOf(host::ListViewWidget& view, int row)
{
    if (row < 0) {
        // Beside the items: the bottom-right corner of an otherwise sparse list.
        return QPoint(view.viewport()->width() - 3, view.viewport()->height() - 3);
    }
    const QRect rect = view.visualRect(view.model()->index(row, 0));
    EXPECT_TRUE(rect.isValid()) << "no item " << row;
    return rect.center();
}

} // namespace

void RunningViewer::clickItem(w_brow& sheet, bool catalogue, int row)
{
    host::ListViewWidget& view = *(catalogue ? sheet.lv_zip : sheet.lv_fileico)->listWidget();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointOf(view, row));
    if (catalogue) {
        waitWhileBusy();
    }
}

QMenu* RunningViewer::rightClickItem(w_brow& sheet, bool catalogue, int row)
{
    host::ListViewWidget& view = *(catalogue ? sheet.lv_zip : sheet.lv_fileico)->listWidget();
    const QPoint at = pointOf(view, row);
    // What the window system sends on a right-click, after the press and release.
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void RunningViewer::saveMemberAs(w_brow& sheet, int row, Unpack wait)
{
    auto* menu = dynamic_cast<host::OwnerDrawMenu*>(rightClickItem(sheet, false, row));
    ASSERT_NE(menu, nullptr);
    ASSERT_GT(menu->entryActions().size(), 1u);
    QAction* saveAs = menu->entryActions()[1];
    ASSERT_EQ(saveAs->text().toStdString(), "另存为...");
    menu->close();
    saveAs->trigger();
    if (wait == Unpack::Finished) {
        waitWhileBusy();
    }
}

QList<QUrl> RunningViewer::dragUrls(w_brow& sheet, int row)
{
    const QAbstractItemModel& model = *sheet.lv_fileico->listWidget()->model();
    const QModelIndex item = model.index(row, 0);
    EXPECT_TRUE(model.flags(item).testFlag(Qt::ItemIsDragEnabled));
    const std::unique_ptr<QMimeData> data(model.mimeData({item}));
    return data ? data->urls() : QList<QUrl>();
}

void RunningViewer::waitWhileBusy()
{
    // The list is read off the GUI thread; the hourglass shows until it has been read.
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 30000))
        << "still busy after 30 s";
}

void RunningViewer::doubleClickItem(w_brow& sheet, int row, Unpack wait)
{
    host::ListViewWidget& view = *sheet.lv_fileico->listWidget();
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOf(view, row));
    if (wait == Unpack::Finished) {
        waitForUnpack(sheet);
    }
}

void RunningViewer::waitForUnpack(const w_brow& sheet)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sheet.unpacking(); }, 60000))
        << "the unpack did not end";
}

std::vector<std::string> RunningViewer::shownMembers(const w_brow& sheet)
{
    std::vector<std::string> labels;
    const auto* model = sheet.lv_fileico->listWidget()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        labels.push_back(model->index(row, 0).data().toString().toStdString());
    }
    return labels;
}

std::vector<std::string> RunningViewer::shownArchives(const w_brow& sheet)
{
    std::vector<std::string> labels;
    for (long item = 1; item <= sheet.lv_zip->totalitems(); ++item) {
        labels.push_back(sheet.lv_zip->getitem(item).value_or("?"));
    }
    return labels;
}

void letClosedWindowsGo()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace testing_support
