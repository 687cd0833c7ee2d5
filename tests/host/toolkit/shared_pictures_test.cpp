// Pictures that windows opened again and again share, so Qt's caches keyed by pixmap find what
// they made before instead of filling up with copies.
#include "host/toolkit/application_style.h"
#include "host/toolkit/pictures.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SharedPictures, TheProgramsOwnPicturesAreMadeOnceForEachTransparencyAndSize)
{
    const QPixmap first = host::picturePixmap("file.bmp", 0xFFFFFF, QSize(16, 16));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(host::picturePixmap("file.bmp", 0xFFFFFF, QSize(16, 16)).cacheKey(),
              first.cacheKey());
    EXPECT_LE(first.width(), 16);

    // Another size, another transparency or none: a picture of its own, each kept as well.
    const QPixmap large = host::picturePixmap("file.bmp", 0xFFFFFF, QSize(32, 32));
    EXPECT_NE(large.cacheKey(), first.cacheKey());
    EXPECT_GT(large.width(), first.width());
    const QPixmap opaque = host::picturePixmap("file.bmp");
    EXPECT_NE(opaque.cacheKey(), first.cacheKey());
    EXPECT_EQ(qAlpha(opaque.toImage().pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(host::picturePixmap("file.bmp", 0xFFFFFF).toImage().pixel(0, 0)), 0);
    EXPECT_EQ(host::picturePixmap("file.bmp").cacheKey(), opaque.cacheKey());
}

TEST(SharedPictures, APictureFileOutsideTheProgramIsReadAfreshEachTime)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("picture.png");
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(path));
    EXPECT_EQ(host::picturePixmap(path.toStdString()).toImage().pixelColor(0, 0), QColor(Qt::red));

    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(path));
    EXPECT_EQ(host::picturePixmap(path.toStdString()).toImage().pixelColor(0, 0), QColor(Qt::blue));
}

TEST(ApplicationStyle, FrameButtonPicturesAreMadeOnce)
{
    host::ApplicationStyle::install();
    auto* style = dynamic_cast<host::ApplicationStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    host::ApplicationStyle::install(); // once is enough: not a proxy over a proxy
    EXPECT_EQ(QApplication::style(), style);
    // Over a style of its own, made like the one the application had.
    ASSERT_NE(style->baseStyle(), nullptr);
    EXPECT_EQ(dynamic_cast<host::ApplicationStyle*>(style->baseStyle()), nullptr);
    EXPECT_FALSE(style->baseStyle()->name().isEmpty());

    const QStyle* asStyle = style;
    for (const auto button : {QStyle::SP_TitleBarCloseButton, QStyle::SP_TitleBarMinButton,
                              QStyle::SP_TitleBarNormalButton}) {
        const QPixmap first = asStyle->standardIcon(button).pixmap(16, 16);
        ASSERT_FALSE(first.isNull());
        EXPECT_EQ(asStyle->standardIcon(button).pixmap(16, 16).cacheKey(), first.cacheKey());
    }
    const QIcon close = asStyle->standardIcon(QStyle::SP_TitleBarCloseButton);
    EXPECT_NE(asStyle->standardIcon(QStyle::SP_TitleBarMinButton).cacheKey(), close.cacheKey());
}

} // namespace
