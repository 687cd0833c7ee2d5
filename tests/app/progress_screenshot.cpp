// Draws the picture of the progress window that the README shows: the viewer in a folder of its
// own with one archive holding a big member, the member double-clicked, the frame grabbed with
// the progress window over it once the unpack is under way; then the unpack is cancelled.
//   progress_screenshot OUTPUT.png
#include "app/browser.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/progress_window.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <random>
#include <string>
#include <zip.h>

namespace {

const char* const kMember = "第三卷/全书扫描版.pdf";

// 512 MiB of text-like data, deflated at level 1: long enough to unpack that the window shows.
bool writeArchive(const std::string& path, std::string& data)
{
    static const char* const kWords[] = {"第", "卷", "章", "页", "river ", "page ", "scan "};
    std::mt19937 random(3);
    constexpr std::size_t kBytes = std::size_t{512} << 20;
    data.reserve(kBytes + 16);
    while (data.size() < kBytes) {
        data += kWords[random() % std::size(kWords)];
    }
    data.resize(kBytes);
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return false;
    }
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    const zip_int64_t index =
        source == nullptr ? -1 : zip_file_add(archive, kMember, source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    return zip_close(archive) == 0;
}

QWidget* progressWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == host::ProgressWindow::kObjectName && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: progress_screenshot OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication toolkit(argc, argv);
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    {
        std::string data;
        if (!writeArchive(folder.filePath("典籍.zqr").toStdString(), data)) {
            std::fprintf(stderr, "cannot write the archive\n");
            return 1;
        }
    }
    browser application;
    application.start("");
    w_main* frame = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        frame = frame != nullptr ? frame : dynamic_cast<w_main*>(window);
    }
    auto* sheet = frame != nullptr ? dynamic_cast<w_brow*>(frame->getactivesheet()) : nullptr;
    if (sheet == nullptr || sheet->lv_zip->totalitems() != 1) {
        std::fprintf(stderr, "the viewer did not open\n");
        return 1;
    }
    frame->showNormal();
    frame->resize(1280, 800);
    QCoreApplication::processEvents();
    auto* catalogue = sheet->lv_zip->listWidget();
    QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, {},
                      catalogue->visualRect(catalogue->model()->index(0, 0)).center());
    auto* members = sheet->lv_fileico->listWidget();
    QTest::mouseDClick(members->viewport(), Qt::LeftButton, {},
                       members->visualRect(members->model()->index(0, 0)).center());

    // Once the window shows and a good part is done.
    QWidget* window = nullptr;
    const bool underWay = QTest::qWaitFor(
        [&] {
            window = progressWindow();
            const auto* bar = window != nullptr ? window->findChild<QProgressBar*>() : nullptr;
            return bar != nullptr && bar->value() >= bar->maximum() / 3;
        },
        60000);
    if (!underWay || window == nullptr) {
        std::fprintf(stderr, "the progress window did not show\n");
        return 1;
    }
    QImage picture = frame->grab().toImage();
    {
        QPainter painter(&picture);
        const QPoint at = window->geometry().topLeft() - frame->geometry().topLeft();
        painter.drawPixmap(at, window->grab());
        // The offscreen platform draws no window frames: a plain border marks the window.
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(QRect(at, window->size()).adjusted(-1, -1, 0, 0));
    }
    const bool saved = picture.save(output);

    QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
    const bool cancelled = QTest::qWaitFor([&] { return !sheet->unpacking(); }, 60000);
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application.finish();
    return saved && cancelled ? 0 : 1;
}
