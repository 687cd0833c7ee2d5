// Draws the pictures of the viewer that the README shows, grabbed from the offscreen platform
// with the frame 1280 x 800 pixels:
//   viewer_screenshot OUTPUT.png             started in the current folder, the first archive
//                                            clicked
//   viewer_screenshot --damaged OUTPUT.png   started in a fresh folder whose one archive is
//                                            damaged, clicked: the message over the frame
#include "app/browser.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/list_view_widget.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The frame with the modal box that is open over it, as the screen would show both. The
// offscreen platform draws no window decorations, so the box's title, which carries the error
// code, is drawn in a plain title bar above it, as a window manager would.
QImage frameWithModalBox(QWidget& frame)
{
    QImage picture = frame.grab().toImage();
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) {
        return picture;
    }
    constexpr int kTitleBarHeight = 26;
    QPoint at = box->geometry().topLeft() - frame.geometry().topLeft();
    at.setY(std::max(at.y(), kTitleBarHeight));
    QPainter painter(&picture);
    const QRect titleBar(at.x(), at.y() - kTitleBarHeight, box->width(), kTitleBarHeight);
    painter.fillRect(titleBar, box->palette().color(QPalette::Highlight));
    painter.setPen(box->palette().color(QPalette::HighlightedText));
    painter.setFont(box->font());
    painter.drawText(titleBar.adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     box->windowTitle());
    painter.drawPixmap(at, box->grab());
    painter.setPen(box->palette().color(QPalette::Dark));
    painter.drawRect(titleBar.united(QRect(at, box->size())).adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    const bool damaged = argc == 3 && std::strcmp(argv[1], "--damaged") == 0;
    if (argc != 2 && !damaged) {
        std::fprintf(stderr, "usage: viewer_screenshot [--damaged] OUTPUT.png\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[argc - 1]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication toolkit(argc, argv);
    const QString outputPath = QFileInfo(output).absoluteFilePath();
    QTemporaryDir scratch;
    if (damaged) {
        // An archive cut short by a failed download: text where the archive should be.
        QDir::setCurrent(scratch.path());
        QFile file(scratch.filePath("唐诗选读.zqr"));
        if (!file.open(QIODevice::WriteOnly)) {
            return 1;
        }
        file.write("<html>404 Not Found</html>\n");
    }
    browser application;
    application.start("");
    w_main* frame = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        frame = frame != nullptr ? frame : dynamic_cast<w_main*>(window);
    }
    auto* sheet = frame != nullptr ? dynamic_cast<w_brow*>(frame->getactivesheet()) : nullptr;
    if (sheet == nullptr) {
        std::fprintf(stderr, "the viewer did not open\n");
        return 1;
    }
    frame->showNormal();
    frame->resize(1280, 800);
    QCoreApplication::processEvents();
    bool saved = false;
    if (damaged) {
        // Grabbed while the message box is open, then answered.
        QTimer::singleShot(200, [&saved, frame, outputPath] {
            saved = frameWithModalBox(*frame).save(outputPath);
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->close();
            }
        });
    }
    if (sheet->lv_zip->totalitems() > 0) {
        auto* catalogue = sheet->lv_zip->listWidget();
        QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, {},
                          catalogue->visualRect(catalogue->model()->index(0, 0)).center());
    }
    QCoreApplication::processEvents();
    if (!damaged) {
        saved = frame->grab().save(outputPath);
    }
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application.finish();
    return saved ? 0 : 1;
}
