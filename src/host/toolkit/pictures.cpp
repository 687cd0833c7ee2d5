#include "host/toolkit/pictures.h"

#include "host/toolkit/colors_internal.h"
#include "host/win32/stock_pictures.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <map>
#include <tuple>

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

bool isStock(const std::string& name)
{
    return !name.empty() && name.back() == '!';
}

QString storedPath(const std::string& name)
{
    return QStringLiteral(":/assets/") + QString::fromStdString(name);
}

// Pictures that cannot change while the program runs, by name, transparent colour and size.
using PictureKey = std::tuple<std::string, std::optional<long>, int, int>;
std::map<PictureKey, QPixmap>& sharedPictures()
{
    static std::map<PictureKey, QPixmap> pictures;
    return pictures;
}

// Pixmaps must go while the application still exists.
void forgetSharedPictures()
{
    sharedPictures().clear();
}

QPixmap makePixmap(const std::string& name, std::optional<long> transparent, QSize fit)
{
    const QImage picture = loadPicture(name);
    QPixmap pixmap =
        transparent ? withTransparentColor(picture, *transparent) : QPixmap::fromImage(picture);
    if (!pixmap.isNull() && fit.isValid()) {
        pixmap = pixmap.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return pixmap;
}

} // namespace

QImage loadPicture(const std::string& name)
{
    if (isStock(name)) {
        using win32::StockPictureKind;
        for (const auto kind :
             {StockPictureKind::Icon, StockPictureKind::Bitmap, StockPictureKind::Cursor}) {
            if (const auto* stock = win32::stockPictures().find(name, kind)) {
                return win32::StockPictureIndex::load(*stock);
            }
        }
        return {};
    }
    const QString stored = storedPath(name);
    return readPicture(QFile::exists(stored) ? stored : QString::fromStdString(name));
}

QPixmap picturePixmap(const std::string& name, std::optional<long> transparent, QSize fit)
{
    // A file outside the program may change on disk, so it is read afresh every time.
    if (!isStock(name) && !QFile::exists(storedPath(name))) {
        return makePixmap(name, transparent, fit);
    }
    auto& pictures = sharedPictures();
    const PictureKey key{name, transparent, fit.width(), fit.height()};
    if (const auto known = pictures.find(key); known != pictures.end()) {
        return known->second;
    }
    if (pictures.empty() && QCoreApplication::instance() != nullptr) {
        qAddPostRoutine(forgetSharedPictures);
    }
    return pictures.emplace(key, makePixmap(name, transparent, fit)).first->second;
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
