// The runtime's named stock pictures ("exit!", "AppIcon!", "HyperLink!", ...), listed by an index
// file whose lines read `NAME KIND ID FILE [HOTSPOT_X HOTSPOT_Y]`: KIND is bitmap, icon or cursor,
// ID a positive number unique per kind, FILE a path relative to the index's folder, the hotspot
// (cursors) in pixels from the top-left. Blank lines and lines starting with "#" are ignored. The
// built-in index is the embedded assets::stockIndex (":/assets/stock/index.txt").
#pragma once

#include <QImage>
#include <QImageReader>
#include <QPoint>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

enum class StockPictureKind { Bitmap, Icon, Cursor };

struct StockPicture {
    std::string name; // full name with its "!", UTF-8
    StockPictureKind kind = StockPictureKind::Bitmap;
    int id = 0;
    QString file; // absolute path or resource path of the picture
    std::optional<QPoint> hotspot;
};

class StockPictureIndex {
public:
    // Reads an index file; unreadable files and malformed lines leave it empty or without them.
    static StockPictureIndex fromFile(const QString& indexFile);

    // Exact, case-sensitive look-ups; nullptr when there is no such picture.
    [[nodiscard]] const StockPicture* find(std::string_view name, StockPictureKind kind) const;
    [[nodiscard]] const StockPicture* find(StockPictureKind kind, int id) const;
    [[nodiscard]] const std::vector<StockPicture>& pictures() const { return pictures_; }

    // The picture's pixels; a null image when its file cannot be read.
    [[nodiscard]] static QImage load(const StockPicture& picture);

    // Sets `reader` to the picture's file, read in the format its suffix names. Stock pictures
    // are the program's own files, so their formats are known; trying others would load every
    // image-format plugin, and its libraries, during start-up.
    static void prepareReader(QImageReader& reader, const StockPicture& picture);

private:
    std::vector<StockPicture> pictures_;
};

// The index in use, read from ":/assets/stock/index.txt" at first use.
const StockPictureIndex& stockPictures();

// Test seam: use the index read from another file (nullopt: the built-in one again).
void useStockPictureIndex(const std::optional<QString>& indexFile);

} // namespace win32
