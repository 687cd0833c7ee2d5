// The gallery sheet: the File popup in every look over every background, each cell captioned
// with the look's and the background's names, and the frame's own look at twice the size on
// top. Lay out first (galleryLayout), then paint (renderGallery).
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace menupreview {
class FileMenuWindow;
}

namespace gallery {

struct GalleryCell {
    std::int16_t look = 0;
    std::int16_t background = 0;
    QRect caption;
    // Where the popup itself lies, at its own size.
    QRect popup;
};

struct GalleryLayout {
    QSize size;
    QRect title;
    QRect zoomCaption;
    // The frame's look, magnified two times.
    QRect zoomPopup;
    // Row by row: one row per look, one column per background.
    std::vector<GalleryCell> cells;
};

// Where everything goes for a popup of `popupSize`.
GalleryLayout galleryLayout(QSize popupSize);

// Paints the sheet of `window`'s File popup: opens the popup, takes its picture in every look
// and closes it again. The engine's look and background are put back as they were.
QImage renderGallery(menupreview::FileMenuWindow& window);

} // namespace gallery
