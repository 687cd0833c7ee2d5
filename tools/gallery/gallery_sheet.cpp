#include "gallery/gallery_sheet.h"

#include "gallery/style_names.h"
#include "menu/nvo_supermenu_class.h"
#include "menu_preview/file_menu_window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <string>

namespace gallery {

namespace {

constexpr int kMargin = 20;
constexpr int kColumnGap = 20;
constexpr int kRowGap = 16;
constexpr int kCaptionGap = 4;
constexpr int kZoom = 2;
const QColor kPaper(250, 250, 250);
const QColor kInk(32, 32, 32);
// The popup's own border is the window system's; a thin line stands in for it here.
const QColor kPopupBorder(120, 120, 120);

QFont labelFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(12);
    return font;
}

QFont titleFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(18);
    font.setBold(true);
    return font;
}

QString styleLabel(const StyleName& style)
{
    return QString::number(style.value) + QLatin1Char(' ') +
           QString::fromLatin1(style.name.data(), static_cast<qsizetype>(style.name.size()));
}

QString cellCaption(const StyleName& look, const StyleName& background)
{
    return styleLabel(look) + QLatin1Char('\n') + styleLabel(background);
}

const QString& titleText()
{
    static const QString text =
        QStringLiteral("Varnelook menu looks: the File menu in every menustyle over every "
                       "menubkstyle");
    return text;
}

const QString& explanationText()
{
    static const QString text = QStringLiteral(
        "Each cell: the look (menustyle) on the first line, the background (menubkstyle) on the "
        "second. The first entry is highlighted; \"Help for Varnelook\" is checked, \"About...\" "
        "disabled.");
    return text;
}

QString zoomCaption()
{
    return QStringLiteral("The frame's own look, %1 over %2, at 2x:")
        .arg(styleLabel(kLooks[kFrameLook - 1]), styleLabel(kBackgrounds[kFrameBackground]));
}

// The open popup in the engine's current look and background, at its own size.
QImage popupInLook(menupreview::FileMenuWindow& window, std::int16_t look, std::int16_t background)
{
    window.engine().menustyle = look;
    window.engine().menubkstyle = background;
    return window.popupPicture();
}

void drawPopup(QPainter& painter, const QRect& where, const QImage& image)
{
    painter.drawImage(where, image);
    painter.setPen(kPopupBorder);
    painter.setBrush(Qt::NoBrush);
    // QPainter's outline of a w x h rectangle covers w + 1 x h + 1 pixels: this one lies just
    // outside the popup.
    painter.drawRect(where.adjusted(-1, -1, 0, 0));
}

} // namespace

GalleryLayout galleryLayout(QSize popupSize)
{
    const QFontMetrics label(labelFont());
    const QFontMetrics title(titleFont());
    int captionWidth = 0;
    for (const StyleName& look : kLooks) {
        captionWidth = std::max(captionWidth, label.horizontalAdvance(styleLabel(look)));
    }
    for (const StyleName& background : kBackgrounds) {
        captionWidth = std::max(captionWidth, label.horizontalAdvance(styleLabel(background)));
    }
    const int captionHeight = 2 * label.lineSpacing();
    // One pixel of border on each side of every popup.
    const int cellWidth = std::max(popupSize.width() + 2, captionWidth);
    const int cellHeight = captionHeight + kCaptionGap + popupSize.height() + 2;

    GalleryLayout layout;
    int y = kMargin;
    const int titleWidth =
        std::max(title.horizontalAdvance(titleText()), label.horizontalAdvance(explanationText()));
    layout.title = QRect(kMargin, y, titleWidth, title.lineSpacing() + label.lineSpacing());
    y = layout.title.bottom() + 1 + kRowGap;

    layout.zoomCaption =
        QRect(kMargin, y, label.horizontalAdvance(zoomCaption()), label.lineSpacing());
    y = layout.zoomCaption.bottom() + 1 + kCaptionGap + 1;
    layout.zoomPopup = QRect(QPoint(kMargin + 1, y), popupSize * kZoom);
    y = layout.zoomPopup.bottom() + 1 + 1 + 2 * kRowGap;

    for (const StyleName& look : kLooks) {
        int x = kMargin;
        for (const StyleName& background : kBackgrounds) {
            GalleryCell cell;
            cell.look = look.value;
            cell.background = background.value;
            cell.caption = QRect(x, y, cellWidth, captionHeight);
            cell.popup = QRect(QPoint(x + 1, y + captionHeight + kCaptionGap + 1), popupSize);
            layout.cells.push_back(cell);
            x += cellWidth + kColumnGap;
        }
        y += cellHeight + kRowGap;
    }
    const int gridWidth =
        static_cast<int>(kBackgrounds.size()) * (cellWidth + kColumnGap) - kColumnGap;
    const int contentWidth = std::max({gridWidth, layout.title.width(), layout.zoomCaption.width(),
                                       layout.zoomPopup.width() + 2});
    layout.size = QSize(kMargin + contentWidth + kMargin, y - kRowGap + kMargin);
    return layout;
}

QImage renderGallery(menupreview::FileMenuWindow& window)
{
    nvo_supermenu_class& engine = window.engine();
    const std::int16_t savedLook = engine.menustyle;
    const std::int16_t savedBackground = engine.menubkstyle;
    // The popup the viewer shows, opened with its first entry highlighted; each cell is a
    // picture of it in one look.
    window.openFilePopup(menupreview::FileMenuWindow::kOpenEntry);
    const QImage frameLook = popupInLook(window, kFrameLook, kFrameBackground);
    const GalleryLayout layout = galleryLayout(frameLook.size());

    QImage sheet(layout.size, QImage::Format_RGB32);
    sheet.fill(kPaper);
    QPainter painter(&sheet);
    painter.setPen(kInk);
    painter.setFont(titleFont());
    const QFontMetrics title(titleFont());
    painter.drawText(layout.title.topLeft() + QPoint(0, title.ascent()), titleText());
    painter.setFont(labelFont());
    const QFontMetrics label(labelFont());
    painter.drawText(layout.title.topLeft() + QPoint(0, title.lineSpacing() + label.ascent()),
                     explanationText());
    painter.drawText(layout.zoomCaption, Qt::AlignLeft | Qt::AlignTop, zoomCaption());
    drawPopup(
        painter, layout.zoomPopup,
        frameLook.scaled(layout.zoomPopup.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));

    for (const GalleryCell& cell : layout.cells) {
        drawPopup(painter, cell.popup, popupInLook(window, cell.look, cell.background));
        QFont font = labelFont();
        font.setBold(cell.look == kFrameLook && cell.background == kFrameBackground);
        painter.setFont(font);
        painter.setPen(kInk);
        painter.drawText(cell.caption, Qt::AlignLeft | Qt::AlignTop,
                         cellCaption(kLooks[static_cast<std::size_t>(cell.look - 1)],
                                     kBackgrounds[static_cast<std::size_t>(cell.background)]));
    }
    window.closeFilePopup();
    engine.menustyle = savedLook;
    engine.menubkstyle = savedBackground;
    return sheet;
}

} // namespace gallery
