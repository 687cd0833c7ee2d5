#include "host/toolkit/application_style.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>
#include <optional>

namespace host {

namespace {

// The pictures the style draws frames from, read by file name when first painted.
constexpr const char* kStylePictures[] = {
    ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png",
};

// An icon that asks the style for the real one when it is first used, then answers from it.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap which,
                       std::optional<QStyleOption> option, const QWidget* widget)
        // QPointer holds only non-const objects; both are only ever used as const.
        : style_(const_cast<QStyle*>(style)), which_(which), option_(std::move(option)),
          widget_(const_cast<QWidget*>(widget))
    {
    }

    // As Qt's own engines paint: the pixmap for the rectangle at the device's pixel ratio,
    // drawn into it. (QIcon::paint would fit the icon into the rectangle once more.)
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPaintDevice* device = painter->device();
        const qreal ratio = device != nullptr                     ? device->devicePixelRatio()
                            : QApplication::instance() != nullptr ? qApp->devicePixelRatio()
                                                                  : 1.0;
        painter->drawPixmap(rect, icon().pixmap(rect.size(), ratio, mode, state));
    }

    // The icon's own pixmap, at device pixel ratio 1 (QIcon::pixmap with no ratio would take
    // the application's).
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }

    // `size` is in device pixels, as QIcon::pixmap asks its engine.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(scale > 0 ? (QSizeF(size) / scale).toSize() : size, scale, mode,
                             state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override
    {
        icon().addPixmap(pixmap, mode, state);
    }

    void addFile(const QString& fileName, const QSize& size, QIcon::Mode mode,
                 QIcon::State state) override
    {
        icon().addFile(fileName, size, mode, state);
    }

    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    [[nodiscard]] QString key() const override { return QStringLiteral("DeferredIconEngine"); }

    [[nodiscard]] QIconEngine* clone() const override
    {
        // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): QIcon owns its engine
        auto* copy = new DeferredIconEngine(style_, which_, option_, widget_);
        copy->icon_ = icon_;
        return copy;
    }

private:
    QIcon& icon()
    {
        if (!icon_) {
            // The style may have been replaced since; then the application's answers.
            const QStyle* style = style_ != nullptr ? style_.data() : QApplication::style();
            icon_ = style->standardIcon(which_, option_ ? &*option_ : nullptr, widget_);
        }
        return *icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    std::optional<QStyleOption> option_;
    QPointer<QWidget> widget_;
    std::optional<QIcon> icon_;
};

bool isWindowButton(QStyle::StandardPixmap picture)
{
    switch (picture) {
    case QStyle::SP_TitleBarMenuButton:
    case QStyle::SP_TitleBarMinButton:
    case QStyle::SP_TitleBarMaxButton:
    case QStyle::SP_TitleBarCloseButton:
    case QStyle::SP_TitleBarNormalButton:
    case QStyle::SP_TitleBarShadeButton:
    case QStyle::SP_TitleBarUnshadeButton:
    case QStyle::SP_TitleBarContextHelpButton:
        return true;
    default:
        return false;
    }
}

// A number as QPixmap::load writes it into its cache keys: its bytes in memory order, each as
// two hexadecimal digits, low digit first.
template <typename T> QString keyDigits(T value)
{
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    QString digits;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        digits += QChar(kDigits[bytes[i] & 0xF]);
        digits += QChar(kDigits[bytes[i] >> 4]);
    }
    return digits;
}

} // namespace

bool preloadPicture(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return false;
    }
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return false;
    }
    // The key QPixmap::load(path) looks up before it reads the file: the absolute path, the
    // modification time in seconds, the size, and the pixmap type (0, a pixmap).
    const QString key = QStringLiteral("qt_pixmap") + info.absoluteFilePath() +
                        keyDigits(static_cast<uint>(info.lastModified().toSecsSinceEpoch())) +
                        keyDigits(static_cast<quint64>(info.size())) + keyDigits(0u);
    QPixmapCache::insert(key, QPixmap::fromImage(picture));
    return true;
}

void ApplicationStyle::install()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr ||
        dynamic_cast<ApplicationStyle*>(QApplication::style()) != nullptr) {
        return;
    }
    for (const char* path : kStylePictures) {
        preloadPicture(QString::fromLatin1(path));
    }
    // The proxy takes the current style as its base and owns it from here; the application
    // owns the proxy, as it owns its default style (it deletes its style when it goes).
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory)
    auto* style = new ApplicationStyle(QApplication::style());
    style->setParent(QCoreApplication::instance());
    QApplication::setStyle(style);
}

QIcon ApplicationStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                     const QWidget* widget) const
{
    if (!isWindowButton(standardIcon)) {
        return deferredIcon(standardIcon, option, widget);
    }
    // Looked up, not tested for null: that would make the deferred icon at once.
    auto known = windowButtonIcons_.find(standardIcon);
    if (known == windowButtonIcons_.end()) {
        known = windowButtonIcons_.emplace(standardIcon, deferredIcon(standardIcon, option, widget))
                    .first;
    }
    return known->second;
}

QIcon ApplicationStyle::deferredIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                     const QWidget* widget) const
{
    // The icon is made later with a copy of the option, so only an option that is a plain
    // QStyleOption (not one of its subclasses, which a copy would cut short) can be deferred.
    if (baseStyle() == nullptr || (option != nullptr && option->type != QStyleOption::SO_Default)) {
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    std::optional<QStyleOption> copied;
    if (option != nullptr) {
        copied = *option;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): QIcon owns its engine
    return QIcon(new DeferredIconEngine(baseStyle(), standardIcon, std::move(copied), widget));
}

} // namespace host
