// The viewer started in process as its executable starts it, for the benchmark drivers: its
// browse sheet, and its end.
#pragma once

#include "app/browser.h"
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame_internal.h"

#include <QApplication>
#include <cstdio>

namespace bench {

// The sheet of the viewer's visible frame, nullptr when there is none.
inline w_brow* openSheet()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = dynamic_cast<w_main*>(host::windowOf(window));
            frame && window->isVisible()) {
            return dynamic_cast<w_brow*>(frame->getactivesheet());
        }
    }
    return nullptr;
}

// Starts the viewer in the current folder, which holds one archive; its sheet, or nullptr (and a
// message) when it did not open on that archive.
inline w_brow* startViewer(browser& application)
{
    application.start("");
    w_brow* sheet = openSheet();
    if (sheet == nullptr || sheet->lv_zip->totalitems() != 1) {
        std::fprintf(stderr, "the viewer did not open on the archive\n");
        return nullptr;
    }
    return sheet;
}

// Closes the frame as its close box does and ends the application object.
inline void closeViewer(browser& application)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (dynamic_cast<w_main*>(host::windowOf(window)) != nullptr) {
            window->close();
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application.finish();
}

} // namespace bench
