#include "host/win32/handles.h"
#include "host/win32/owner_draw.h"
#include "host/win32/system.h"
#include "menu/nvo_supermenu_class.h"
#include "menu_preview/file_menu_window.h"
#include "menu_preview/popup_painter.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

using menupreview::FileMenuWindow;

win32::COLORREF at(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return win32::RGB(qRed(p), qGreen(p), qBlue(p));
}

TEST(PopupPainter, LaysTheEntriesOutTopToBottomWithTheirStates)
{
    win32::overrideSystemMetric(win32::SM_CYMENU, 19);
    FileMenuWindow window;
    const menupreview::PopupLayout layout =
        menupreview::layoutPopup(window.engine(), window.filePopup());
    win32::overrideSystemMetric(win32::SM_CYMENU, std::nullopt);

    ASSERT_EQ(layout.entries.size(), std::size_t{FileMenuWindow::kEntryCount});
    int top = 0;
    for (const menupreview::PopupEntry& entry : layout.entries) {
        EXPECT_EQ(entry.rect.top, top) << "no gap and no overlap between entries";
        EXPECT_EQ(entry.rect.left, 0);
        EXPECT_EQ(entry.rect.right, layout.size.width());
        EXPECT_NE(entry.itemData, 0u) << "every entry is registered";
        top = entry.rect.bottom;
    }
    EXPECT_EQ(layout.size.height(), top);
    EXPECT_EQ(layout.entries[0].rect.bottom, 22) << "SM_CYMENU + 3";
    EXPECT_EQ(layout.entries[FileMenuWindow::kSeparator].rect.bottom -
                  layout.entries[FileMenuWindow::kSeparator].rect.top,
              6)
        << "a third of SM_CYMENU";
    EXPECT_EQ(layout.entries[FileMenuWindow::kHelpEntry].drawState, win32::ODS_CHECKED);
    EXPECT_NE(layout.entries[FileMenuWindow::kAboutEntry].drawState & win32::ODS_DISABLED, 0u);
    EXPECT_EQ(layout.entries[FileMenuWindow::kOpenEntry].drawState, 0u);
}

TEST(PopupPainter, PaintsEveryEntryAtTheOriginAndTheHighlightedOneOnTopLeavingNothingBehind)
{
    FileMenuWindow window;
    nvo_supermenu_class& engine = window.engine();
    const menupreview::PopupLayout layout = menupreview::layoutPopup(engine, window.filePopup());
    const QPoint origin(5, 3);
    QImage picture(layout.size + QSize(10, 6), QImage::Format_RGB32);
    picture.fill(Qt::black);
    const auto liveBrushes = win32::liveHandles(win32::HandleKind::Brush);
    const auto livePens = win32::liveHandles(win32::HandleKind::Pen);
    const auto liveContexts = win32::liveHandles(win32::HandleKind::DeviceContext);
    {
        QPainter painter(&picture);
        menupreview::paintPopup(engine, layout, painter, origin, FileMenuWindow::kCloseEntry);
    }
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::Brush), liveBrushes);
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::Pen), livePens);
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::DeviceContext), liveContexts);

    const win32::RECT& open = layout.entries[FileMenuWindow::kOpenEntry].rect;
    const win32::RECT& close = layout.entries[FileMenuWindow::kCloseEntry].rect;
    // The frame's look: the highlighted entry framed in orange, the others white beside a
    // button-face icon column.
    EXPECT_EQ(at(picture, origin.x() + 1, origin.y() + close.top), win32::RGB(255, 131, 6));
    EXPECT_EQ(at(picture, origin.x() + close.right - 1, origin.y() + close.bottom - 1),
              win32::RGB(255, 131, 6));
    EXPECT_EQ(at(picture, origin.x() + close.right - 3, origin.y() + close.top + 2),
              win32::RGB(255, 196, 136));
    EXPECT_EQ(at(picture, origin.x() + open.right - 3, origin.y() + open.top + 2),
              win32::RGB(255, 255, 255));
    EXPECT_EQ(at(picture, origin.x(), origin.y() + open.top),
              win32::GetSysColor(win32::COLOR_BTNFACE));
    // Nothing outside the popup.
    EXPECT_EQ(at(picture, origin.x() - 1, origin.y()), win32::RGB(0, 0, 0));
    EXPECT_EQ(at(picture, origin.x() + layout.size.width(), origin.y() + layout.size.height()),
              win32::RGB(0, 0, 0));
}

} // namespace
