#include "host/toolkit/window_button_style.h"

#include <QApplication>
#include <QStyleFactory>

namespace host {

namespace {

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

} // namespace

WindowButtonStyle::WindowButtonStyle(QStyle* base) : QProxyStyle(base) {}

void WindowButtonStyle::install()
{
    QStyle* current = QApplication::style();
    if (dynamic_cast<WindowButtonStyle*>(current) != nullptr) {
        return;
    }
    QStyle* base = current != nullptr ? QStyleFactory::create(current->name()) : nullptr;
    // The proxy owns its base, a fresh instance of the style in use; the application owns the
    // proxy (QApplication::setStyle takes it over).
    // NOLINTBEGIN(cppcoreguidelines-owning-memory,clang-analyzer-cplusplus.NewDeleteLeaks)
    QApplication::setStyle(new WindowButtonStyle(base));
}
// NOLINTEND(cppcoreguidelines-owning-memory,clang-analyzer-cplusplus.NewDeleteLeaks)

QIcon WindowButtonStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                      const QWidget* widget) const
{
    if (!isWindowButton(standardIcon)) {
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    QIcon& icon = icons_[standardIcon];
    if (icon.isNull()) {
        icon = QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    return icon;
}

} // namespace host
