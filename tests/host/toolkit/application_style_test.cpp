#include "../../support/image_plugins.h"
#include "host/toolkit/application_style.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOption>
#include <gtest/gtest.h>
#include <memory>

namespace {

using host::ApplicationStyle;
using host::preloadPicture;
using testing_support::loadedImagePlugins;

constexpr const char* kGroupBoxPicture =
    ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";

QImage painted(const QIcon& icon, QSize size, QIcon::Mode mode)
{
    QImage image(size + QSize(6, 6), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(3, 3), size), Qt::AlignCenter, mode);
    return image;
}

// Every standard icon the application's style defers looks exactly like the base style's: as
// pixmaps of many sizes and modes, painted, and in the sizes it offers.
TEST(ApplicationStyle, DeferredStandardIconsLookExactlyLikeTheBaseStylesIcons)
{
    std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
    ApplicationStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    QStyleOption plain;
    plain.direction = Qt::RightToLeft; // read by the extension buttons' pictures
    for (const auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_TitleBarMenuButton, QStyle::SP_TitleBarCloseButton,
          QStyle::SP_MessageBoxWarning, QStyle::SP_DialogOkButton}) {
        for (const QStyleOption* option : {static_cast<const QStyleOption*>(nullptr),
                                           static_cast<const QStyleOption*>(&plain)}) {
            SCOPED_TRACE(testing::Message()
                         << "standard pixmap " << which << " option " << (option != nullptr));
            const QIcon deferred = style.standardIcon(which, option, nullptr);
            const QIcon expected = base->standardIcon(which, option, nullptr);
            EXPECT_EQ(deferred.isNull(), expected.isNull());
            EXPECT_EQ(deferred.availableSizes(), expected.availableSizes());
            for (const int side : {8, 13, 16, 24, 32, 48, 64}) {
                for (const auto mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
                    const QSize size(side, side);
                    EXPECT_EQ(deferred.actualSize(size, mode), expected.actualSize(size, mode));
                    EXPECT_EQ(deferred.pixmap(size, mode).toImage(),
                              expected.pixmap(size, mode).toImage())
                        << side << " px, mode " << mode;
                    EXPECT_EQ(deferred.pixmap(size, 2.0, mode).toImage(),
                              expected.pixmap(size, 2.0, mode).toImage())
                        << side << " px at ratio 2, mode " << mode;
                    EXPECT_EQ(painted(deferred, size, mode), painted(expected, size, mode))
                        << side << " px painted, mode " << mode;
                }
            }
        }
    }
}

// Run first in its process (ctest runs each test alone): nothing has loaded a plugin yet.
TEST(ApplicationStyle, AnIconAskedForAtConstructionLoadsNoImagePluginUntilItIsDrawn)
{
    if (!loadedImagePlugins().isEmpty()) {
        GTEST_SKIP() << "image plugins were loaded earlier in this process";
    }
    ApplicationStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    const QIcon icon =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, nullptr);
    EXPECT_TRUE(loadedImagePlugins().isEmpty()) << "making the icon loaded image plugins";
    EXPECT_FALSE(icon.pixmap(16).isNull());
}

TEST(ApplicationStyle, APreloadedStylePictureIsFoundByQPixmapWithoutLoadingImagePlugins)
{
    if (!loadedImagePlugins().isEmpty()) {
        GTEST_SKIP() << "image plugins were loaded earlier in this process";
    }
    ASSERT_TRUE(preloadPicture(QString::fromLatin1(kGroupBoxPicture)));
    const QPixmap found(QString::fromLatin1(kGroupBoxPicture));
    EXPECT_TRUE(loadedImagePlugins().isEmpty()) << "QPixmap read the picture itself";

    // The same pixels as Qt's own reading, which is free to try every format now.
    QImageReader reader(QString::fromLatin1(kGroupBoxPicture));
    const QImage expected = reader.read();
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(found.toImage(), QPixmap::fromImage(expected).toImage());

    EXPECT_FALSE(preloadPicture(QStringLiteral(":/no/such/picture.png")));
}

} // namespace
