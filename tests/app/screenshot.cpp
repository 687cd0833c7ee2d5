// Draws the picture of the viewer that the README shows: started in the current folder, the
// first archive clicked, the frame 1280 x 800 pixels, grabbed from the offscreen platform.
//   viewer_screenshot OUTPUT.png
#include "app/browser.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/list_view_widget.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: viewer_screenshot OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication toolkit(argc, argv);
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
    if (sheet->lv_zip->totalitems() > 0) {
        auto* catalogue = sheet->lv_zip->listWidget();
        QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, {},
                          catalogue->visualRect(catalogue->model()->index(0, 0)).center());
    }
    QCoreApplication::processEvents();
    const bool saved = frame->grab().save(QString::fromLocal8Bit(argv[1]));
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application.finish();
    return saved ? 0 : 1;
}
