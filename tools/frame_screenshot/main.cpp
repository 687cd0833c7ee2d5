// Takes a picture of the viewer's frame with its File menu open and the first item highlighted,
// for the documentation: frame_screenshot OUTPUT.png [WIDTH HEIGHT]. Runs on any Qt platform
// (offscreen included); the frame and the popup are grabbed and laid on one picture where
// they are on the screen.
#include "app/browser.h"
#include "app/w_main.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/owner_draw_menu.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <cstdio>
#include <memory>

namespace {

w_main* shownFrame()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = dynamic_cast<w_main*>(host::frameOf(window));
            frame != nullptr && window->isVisible()) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_screenshot OUTPUT.png [WIDTH HEIGHT]\n");
        return 2;
    }
    QApplication application(argc, argv);
    auto program = std::make_unique<browser>();
    program->start("");
    QCoreApplication::processEvents();
    w_main* shown = shownFrame();
    if (shown == nullptr) {
        std::fprintf(stderr, "the frame did not open\n");
        return 1;
    }
    QMainWindow* frame = &host::frameWidgetOf(*shown);
    if (argc >= 4) {
        bool wide = false;
        bool high = false;
        const int width = QString::fromLocal8Bit(argv[2]).toInt(&wide);
        const int height = QString::fromLocal8Bit(argv[3]).toInt(&high);
        if (!wide || !high || width <= 0 || height <= 0) {
            std::fprintf(stderr, "the size must be two positive numbers\n");
            return 2;
        }
        frame->showNormal();
        frame->resize(width, height);
    }
    QCoreApplication::processEvents();

    QMenuBar* bar = frame->menuBar();
    host::OwnerDrawMenu* file = nullptr;
    for (QAction* title : bar->actions()) {
        if (title->text() == QStringLiteral("[&F]文件")) {
            file = dynamic_cast<host::OwnerDrawMenu*>(title->menu<QMenu*>());
            bar->setActiveAction(title);
        }
    }
    QCoreApplication::processEvents();
    if (file == nullptr || !file->isVisible()) {
        std::fprintf(stderr, "the File menu did not open\n");
        return 1;
    }
    file->setActiveAction(file->actions().value(0));
    QCoreApplication::processEvents();

    QImage picture = frame->grab().toImage();
    {
        QPainter painter(&picture);
        painter.drawImage(file->mapToGlobal(QPoint(0, 0)) - frame->mapToGlobal(QPoint(0, 0)),
                          file->grab().toImage());
    }
    const bool saved = picture.save(QString::fromLocal8Bit(argv[1]));
    file->close();
    frame->close();
    QCoreApplication::processEvents();
    program->finish();
    return saved ? 0 : 1;
}
