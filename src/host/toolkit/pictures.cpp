#include "host/toolkit/pictures.h"

#include "host/toolkit/colors.h"
#include "host/win32/stock_pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace host {

namespace {

// Reads a picture file in the format its suffix names; of a file with several pictures (an
// icon), the largest. Never asks every image plugin whether it knows the contents: that would
// load them all, and their libraries, at start-up.
QImage readPicture(const QString& path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage best = reader.read();
    for (int index = 1; index < reader.imageCount() && reader.jumpToImage(index); ++index) {
        const QImage image = reader.read();
        if (image.width() * image.height() > best.width() * best.height()) {
            best = image;
        }
    }
    return best;
}

} // namespace

QImage loadPicture(const std::string& name)
{
    if (!name.empty() && name.back() == '!') {
        using win32::StockPictureKind;
        for (const auto kind :
             {StockPictureKind::Icon, StockPictureKind::Bitmap, StockPictureKind::Cursor}) {
            if (const auto* stock = win32::stockPictures().find(name, kind)) {
                return readPicture(stock->file);
            }
        }
        return {};
    }
    const QString stored = QStringLiteral(":/assets/") + QString::fromStdString(name);
    return readPicture(QFile::exists(stored) ? stored : QString::fromStdString(name));
}

QPixmap withTransparentColor(const QImage& picture, long transparent)
{
    if (picture.isNull()) {
        return {};
    }
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = toQColor(transparent).rgb() & 0x00FFFFFFu;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == clear) {
                line[x] = 0;
            }
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace host
