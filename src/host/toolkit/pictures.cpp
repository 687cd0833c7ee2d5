#include "host/toolkit/pictures.h"

#include "host/toolkit/colors.h"
#include "host/win32/stock_pictures.h"

#include <QFile>

namespace host {

QImage loadPicture(const std::string& name)
{
    if (!name.empty() && name.back() == '!') {
        using win32::StockPictureKind;
        for (const auto kind :
             {StockPictureKind::Icon, StockPictureKind::Bitmap, StockPictureKind::Cursor}) {
            if (const auto* stock = win32::stockPictures().find(name, kind)) {
                return win32::StockPictureIndex::load(*stock);
            }
        }
        return {};
    }
    const QString stored = QStringLiteral(":/assets/") + QString::fromStdString(name);
    if (QFile::exists(stored)) {
        return QImage(stored);
    }
    return QImage(QString::fromStdString(name));
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
