// Starts the viewer as its executable does, in the current directory, and exits as soon as the
// frame has been painted with the catalogue filled: the start-up half of bench/startup-bench.
// With --catalogue it waits for the catalogue itself to be painted instead. Prints the number of
// archives in the catalogue.
#include "app/browser.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "first_paint.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/list_view_widget.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication toolkit(argc, argv);
    browser application;
    QuitAfterFirstPaint quit;
    w_main* frame = nullptr;
    application.start("");
    for (QWidget* window : QApplication::topLevelWidgets()) {
        frame = frame != nullptr ? frame : dynamic_cast<w_main*>(host::windowOf(window));
    }
    if (frame == nullptr) {
        return 1;
    }
    // The catalogue is filled by the time the frame is shown: the sheet's open event builds it.
    auto* sheet = dynamic_cast<w_brow*>(frame->getactivesheet());
    std::printf("archives %ld\n", sheet != nullptr ? sheet->lv_zip->totalitems() : -1L);
    const bool catalogue = argc > 1 && std::strcmp(argv[1], "--catalogue") == 0;
    if (catalogue && sheet != nullptr) {
        sheet->lv_zip->listWidget()->viewport()->installEventFilter(&quit);
    } else {
        host::widgetOf(*frame).installEventFilter(&quit);
    }
    const int code = QApplication::exec();
    application.finish();
    return code;
}
