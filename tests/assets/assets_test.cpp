// The shipped pictures, read back the way the program reads them: through the embedded resources
// and Qt's image readers. A broken encoder or a missing file shows up here, not on screen.
#include "assets/assets.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QStringList>
#include <QTextStream>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

struct StockEntry {
    QString kind;
    int id = 0;
    QString file;
    QStringList extra;
};

std::map<QString, StockEntry> readStockIndex()
{
    std::map<QString, StockEntry> entries;
    QFile file(QStringLiteral(":/assets/stock/index.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_GE(fields.size(), 4) << line.toStdString();
        if (fields.size() < 4) {
            continue;
        }
        EXPECT_EQ(entries.count(fields[0]), 0U) << "listed twice: " << fields[0].toStdString();
        entries[fields[0]] = {fields[1], fields[2].toInt(), fields[3], fields.mid(4)};
    }
    return entries;
}

// The bit depth stored in a BMP file's header (offset 28), which QImage does not report.
int bmpBitCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM")) {
        return -1;
    }
    return static_cast<unsigned char>(header[28]) | (static_cast<unsigned char>(header[29]) << 8);
}

QString stockFile(const QString& file)
{
    return QString::fromLatin1(assets::stockFolder) + file;
}

double shareOfColour(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFFU) == (colour & 0xFFFFFFU) ? 1 : 0;
        }
    }
    return static_cast<double>(count) / (image.width() * image.height());
}

// A masked bitmap: 24-bit, the given size, its corners in the mask colour, and a drawing that
// neither vanishes into the mask nor covers it completely.
void expectMaskedBitmap(const QString& path, int size, QRgb mask)
{
    SCOPED_TRACE(path.toStdString());
    EXPECT_EQ(bmpBitCount(path), 24);
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(size, size));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFU, mask & 0xFFFFFFU);
    const double background = shareOfColour(image, image.pixel(0, 0));
    EXPECT_GT(background, 0.1);
    EXPECT_LT(background, 0.75);
}

TEST(Assets, PathConstantsNameTheEmbeddedFiles)
{
    for (const char* path :
         {assets::logo, assets::zipPicture, assets::filePicture, assets::stockIndex}) {
        EXPECT_TRUE(QFile::exists(QString::fromLatin1(path))) << path;
    }
    EXPECT_EQ(QString::fromLatin1(assets::logo), ":/assets/logo.gif");
    EXPECT_EQ(QString::fromLatin1(assets::stockIndex),
              QString::fromLatin1(assets::stockFolder) + "index.txt");
}

TEST(Assets, LogoIsAFullSizeGifBanner)
{
    QImageReader reader(QStringLiteral(":/assets/logo.gif"));
    EXPECT_EQ(reader.format(), QByteArray("gif"));
    const QImage logo = reader.read();
    ASSERT_FALSE(logo.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(logo.size(), QSize(680, 113));
    // A decoder that stops early leaves the rest of the picture in one colour.
    EXPECT_LT(shareOfColour(logo, logo.pixel(679, 60)), 0.5);
}

TEST(Assets, ListPicturesAre24BitWithWhiteAsTransparentColour)
{
    expectMaskedBitmap(QStringLiteral(":/assets/zip.bmp"), 32, qRgb(255, 255, 255));
    expectMaskedBitmap(QStringLiteral(":/assets/file.bmp"), 32, qRgb(255, 255, 255));
}

TEST(Assets, StockIndexListsEveryPictureTheProgramNames)
{
    const auto entries = readStockIndex();
    const QStringList names = {"AppIcon!", "HyperLink!", "Custom050!", "Custom039!",
                               "exit!",    "help!",      "Help!",      "Asterisk!"};
    for (const QString& name : names) {
        EXPECT_EQ(entries.count(name), 1U) << name.toStdString();
    }
    std::set<std::pair<QString, int>> ids;
    std::set<QString> files;
    for (const auto& [name, entry] : entries) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(entry.kind == "bitmap" || entry.kind == "icon" || entry.kind == "cursor");
        EXPECT_GT(entry.id, 0);
        EXPECT_TRUE(ids.insert({entry.kind, entry.id}).second) << "resource number reused";
        // Names that differ only in case must not share a file on a case-insensitive disk.
        EXPECT_TRUE(files.insert(entry.file.toLower()).second) << "file shared";
        EXPECT_TRUE(QFile::exists(stockFile(entry.file)));
    }
    EXPECT_EQ(entries.at("Custom050!").kind, "bitmap");
    EXPECT_EQ(entries.at("AppIcon!").kind, "icon");
    EXPECT_EQ(entries.at("Asterisk!").kind, "icon");
    EXPECT_EQ(entries.at("HyperLink!").kind, "cursor");
}

TEST(Assets, StockBitmapsAreMaskedToolbarPictures)
{
    for (const auto& [name, entry] : readStockIndex()) {
        if (entry.kind == "bitmap") {
            expectMaskedBitmap(stockFile(entry.file), 16, qRgb(192, 192, 192));
        }
    }
}

TEST(Assets, HelpUpAndDownStatesDiffer)
{
    const auto entries = readStockIndex();
    const QImage up(stockFile(entries.at("help!").file));
    const QImage down(stockFile(entries.at("Help!").file));
    ASSERT_FALSE(up.isNull());
    ASSERT_FALSE(down.isNull());
    EXPECT_NE(up, down);
}

TEST(Assets, StockIconsHoldSmallAndLargeImagesWithTransparentCorners)
{
    for (const auto& [name, entry] : readStockIndex()) {
        if (entry.kind != "icon") {
            continue;
        }
        SCOPED_TRACE(name.toStdString());
        QImageReader reader(stockFile(entry.file));
        EXPECT_EQ(reader.format(), QByteArray("ico"));
        std::set<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            ASSERT_TRUE(reader.jumpToImage(i));
            const QImage image = reader.read();
            ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
            ASSERT_TRUE(image.hasAlphaChannel());
            EXPECT_EQ(image.width(), image.height());
            sizes.insert(image.width());
            EXPECT_EQ(qAlpha(image.pixel(0, image.height() - 1)), 0);
            EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 32}));
    }
}

TEST(Assets, HyperlinkCursorHasItsHotspotOnTheDrawing)
{
    const StockEntry entry = readStockIndex().at("HyperLink!");
    ASSERT_EQ(entry.extra.size(), 2);
    const QImage cursor(stockFile(entry.file));
    ASSERT_FALSE(cursor.isNull());
    EXPECT_EQ(cursor.size(), QSize(32, 32));
    ASSERT_TRUE(cursor.hasAlphaChannel());
    const int x = entry.extra[0].toInt();
    const int y = entry.extra[1].toInt();
    ASSERT_TRUE(cursor.rect().contains(x, y));
    // A click lands on the fingertip, not on empty space.
    EXPECT_GT(qAlpha(cursor.pixel(x, y)), 128);
    EXPECT_EQ(qAlpha(cursor.pixel(31, 0)), 0);
}

} // namespace
