// menu-gallery: writes one PNG that shows the File menu in all eleven looks over all five
// backgrounds, and the frame's own look at twice the size. Runs without a display.
//
//   menu-gallery OUTPUT.png
#include "gallery/gallery_sheet.h"
#include "host/win32/handles.h"
#include "menu_preview/file_menu_window.h"

#include <QApplication>
#include <array>
#include <cstdio>

namespace {

std::array<std::size_t, 6> liveDrawingObjects()
{
    using win32::HandleKind;
    return {win32::liveHandles(HandleKind::DeviceContext), win32::liveHandles(HandleKind::Pen),
            win32::liveHandles(HandleKind::Brush),         win32::liveHandles(HandleKind::Font),
            win32::liveHandles(HandleKind::Bitmap),        win32::liveHandles(HandleKind::Icon)};
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures only: no window is ever shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: menu-gallery OUTPUT.png\n");
        return 2;
    }
    const auto before = liveDrawingObjects();
    QImage sheet;
    {
        menupreview::FileMenuWindow window;
        sheet = gallery::renderGallery(window);
    }
    // A renderer that leaves pens, brushes or icons behind is broken even if the picture looks
    // right.
    if (liveDrawingObjects() != before) {
        std::fprintf(stderr, "menu-gallery: the paint left drawing objects behind\n");
        return 1;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!sheet.save(path, "PNG")) {
        std::fprintf(stderr, "menu-gallery: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d x %d\n", argv[1], sheet.width(), sheet.height());
    return 0;
}
