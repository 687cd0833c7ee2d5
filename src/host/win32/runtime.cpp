#include "host/win32/runtime.h"

#include "host/win32/stock_pictures.h"

#include <QGuiApplication>
#include <QScreen>

namespace win32 {

int GetEnvironment(Environment* env)
{
    if (env == nullptr) {
        return -1;
    }
    *env = Environment{};
    env->majorrevision = kRuntimeMajorVersion;
    const QScreen* screen =
        QCoreApplication::instance() != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    if (screen != nullptr) {
        env->screenwidth = screen->size().width();
        env->screenheight = screen->size().height();
        env->numberofcolors = screen->depth() >= 24 ? 16777216 : (1 << screen->depth());
    }
    return 1;
}

namespace {

std::int32_t stockId(const char* name, StockPictureKind kind)
{
    if (name == nullptr) {
        return 0;
    }
    const StockPicture* picture = stockPictures().find(name, kind);
    return picture == nullptr ? 0 : picture->id;
}

} // namespace

std::int32_t FN_ResGetBitmapID(const char* name)
{
    return stockId(name, StockPictureKind::Bitmap);
}

std::int32_t FN_ResGetIconID(const char* name)
{
    return stockId(name, StockPictureKind::Icon);
}

} // namespace win32
