#include "host/win32/stock_pictures.h"

#include "assets/assets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTextStream>
#include <memory>

namespace win32 {

namespace {

std::optional<StockPictureKind> kindFromWord(const QString& word)
{
    if (word == QLatin1String("bitmap")) {
        return StockPictureKind::Bitmap;
    }
    if (word == QLatin1String("icon")) {
        return StockPictureKind::Icon;
    }
    if (word == QLatin1String("cursor")) {
        return StockPictureKind::Cursor;
    }
    return std::nullopt;
}

std::unique_ptr<StockPictureIndex>& activeIndex()
{
    static std::unique_ptr<StockPictureIndex> index;
    return index;
}

} // namespace

StockPictureIndex StockPictureIndex::fromFile(const QString& indexFile)
{
    StockPictureIndex index;
    QFile file(indexFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return index;
    }
    const QDir folder = QFileInfo(indexFile).dir();
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() != 4 && fields.size() != 6) {
            continue;
        }
        const auto kind = kindFromWord(fields[1]);
        bool numeric = false;
        const int id = fields[2].toInt(&numeric);
        if (!kind || !numeric || id <= 0) {
            continue;
        }
        StockPicture picture;
        picture.name = fields[0].toStdString();
        picture.kind = *kind;
        picture.id = id;
        picture.file = folder.filePath(fields[3]);
        if (fields.size() == 6) {
            bool xNumeric = false;
            bool yNumeric = false;
            const QPoint hotspot(fields[4].toInt(&xNumeric), fields[5].toInt(&yNumeric));
            if (!xNumeric || !yNumeric) {
                continue;
            }
            picture.hotspot = hotspot;
        }
        // The first line for a name or an id wins; later duplicates are ignored.
        if (index.find(picture.name, picture.kind) != nullptr ||
            index.find(picture.kind, picture.id) != nullptr) {
            continue;
        }
        index.pictures_.push_back(std::move(picture));
    }
    return index;
}

const StockPicture* StockPictureIndex::find(std::string_view name, StockPictureKind kind) const
{
    for (const StockPicture& picture : pictures_) {
        if (picture.kind == kind && picture.name == name) {
            return &picture;
        }
    }
    return nullptr;
}

const StockPicture* StockPictureIndex::find(StockPictureKind kind, int id) const
{
    for (const StockPicture& picture : pictures_) {
        if (picture.kind == kind && picture.id == id) {
            return &picture;
        }
    }
    return nullptr;
}

void StockPictureIndex::prepareReader(QImageReader& reader, const StockPicture& picture)
{
    reader.setFileName(picture.file);
    reader.setFormat(QFileInfo(picture.file).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
}

QImage StockPictureIndex::load(const StockPicture& picture)
{
    QImageReader reader;
    prepareReader(reader, picture);
    // An icon file may hold several sizes; the largest is the best source to scale from.
    QImage best;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height()) {
            best = image;
        }
    } while (reader.jumpToNextImage());
    return best;
}

const StockPictureIndex& stockPictures()
{
    auto& index = activeIndex();
    if (index == nullptr) {
        index = std::make_unique<StockPictureIndex>(
            StockPictureIndex::fromFile(QString::fromLatin1(assets::stockIndex)));
    }
    return *index;
}

void useStockPictureIndex(const std::optional<QString>& indexFile)
{
    auto& index = activeIndex();
    if (indexFile) {
        index = std::make_unique<StockPictureIndex>(StockPictureIndex::fromFile(*indexFile));
    } else {
        index.reset();
    }
}

} // namespace win32
