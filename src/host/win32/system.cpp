#include "host/win32/system.h"

#include "host/win32/fonts.h"
#include "host/win32/gdi_internal.h"
#include "host/win32/gdi_objects.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <array>
#include <cmath>
#include <memory>

namespace win32 {

using namespace detail;

namespace {

constexpr int kSystemColorCount = 31;

struct PaletteRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The documented mapping (system.h) of system colour indexes to palette roles; index 25 is
// unused in Win32 and maps to nothing.
std::optional<PaletteRole> paletteRole(int index)
{
    using G = QPalette::ColorGroup;
    using R = QPalette::ColorRole;
    static const std::array<std::optional<PaletteRole>, kSystemColorCount> roles{{
        PaletteRole{G::Active, R::Button},            // 0 COLOR_SCROLLBAR
        PaletteRole{G::Active, R::Dark},              // 1 COLOR_BACKGROUND
        PaletteRole{G::Active, R::Highlight},         // 2 COLOR_ACTIVECAPTION
        PaletteRole{G::Inactive, R::Highlight},       // 3 COLOR_INACTIVECAPTION
        PaletteRole{G::Active, R::Window},            // 4 COLOR_MENU
        PaletteRole{G::Active, R::Base},              // 5 COLOR_WINDOW
        PaletteRole{G::Active, R::Shadow},            // 6 COLOR_WINDOWFRAME
        PaletteRole{G::Active, R::WindowText},        // 7 COLOR_MENUTEXT
        PaletteRole{G::Active, R::Text},              // 8 COLOR_WINDOWTEXT
        PaletteRole{G::Active, R::HighlightedText},   // 9 COLOR_CAPTIONTEXT
        PaletteRole{G::Active, R::Button},            // 10 COLOR_ACTIVEBORDER
        PaletteRole{G::Active, R::Button},            // 11 COLOR_INACTIVEBORDER
        PaletteRole{G::Active, R::Mid},               // 12 COLOR_APPWORKSPACE
        PaletteRole{G::Active, R::Highlight},         // 13 COLOR_HIGHLIGHT
        PaletteRole{G::Active, R::HighlightedText},   // 14 COLOR_HIGHLIGHTTEXT
        PaletteRole{G::Active, R::Button},            // 15 COLOR_BTNFACE
        PaletteRole{G::Active, R::Dark},              // 16 COLOR_BTNSHADOW
        PaletteRole{G::Disabled, R::Text},            // 17 COLOR_GRAYTEXT
        PaletteRole{G::Active, R::ButtonText},        // 18 COLOR_BTNTEXT
        PaletteRole{G::Inactive, R::HighlightedText}, // 19 COLOR_INACTIVECAPTIONTEXT
        PaletteRole{G::Active, R::Light},             // 20 COLOR_BTNHIGHLIGHT
        PaletteRole{G::Active, R::Shadow},            // 21 COLOR_3DDKSHADOW
        PaletteRole{G::Active, R::Midlight},          // 22 COLOR_3DLIGHT
        PaletteRole{G::Active, R::ToolTipText},       // 23 COLOR_INFOTEXT
        PaletteRole{G::Active, R::ToolTipBase},       // 24 COLOR_INFOBK
        std::nullopt,                                 // 25 unused
        PaletteRole{G::Active, R::Link},              // 26 COLOR_HOTLIGHT
        PaletteRole{G::Active, R::Highlight},         // 27 COLOR_GRADIENTACTIVECAPTION
        PaletteRole{G::Inactive, R::Highlight},       // 28 COLOR_GRADIENTINACTIVECAPTION
        PaletteRole{G::Active, R::Highlight},         // 29 COLOR_MENUHILIGHT
        PaletteRole{G::Active, R::Window},            // 30 COLOR_MENUBAR
    }};
    if (index < 0 || index >= kSystemColorCount) {
        return std::nullopt;
    }
    return roles.at(static_cast<std::size_t>(index));
}

QPalette currentPalette()
{
    return QCoreApplication::instance() != nullptr ? QGuiApplication::palette() : QPalette();
}

QHash<int, int>& metricOverrides()
{
    static QHash<int, int> overrides;
    return overrides;
}

QApplication* widgetApplication()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

// The WCAG relative luminance of a colour (0 black, 1 white).
double luminance(const QColor& colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045F ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// Whether a palette shows dark text on light surfaces.
bool isLight(const QPalette& palette)
{
    return luminance(palette.color(QPalette::Active, QPalette::Window)) >=
           luminance(palette.color(QPalette::Active, QPalette::WindowText));
}

// A light palette for a dark desktop: the running style's own standard palette when that is
// light, otherwise Qt's Fusion palette, which is.
QPalette lightPalette()
{
    if (widgetApplication() == nullptr) {
        // No widget style to ask: a palette that Qt derives from a light grey face.
        return QPalette(QColor(239, 239, 239));
    }
    QPalette standard = QApplication::style()->standardPalette();
    if (isLight(standard)) {
        return standard;
    }
    static const QPalette fusion = [] {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(QStringLiteral("Fusion")));
        return style != nullptr ? style->standardPalette() : QPalette(QColor(239, 239, 239));
    }();
    return fusion;
}

// The palette every system colour comes from (see system.h), worked out again only when the
// application's palette or style changes.
const QPalette& systemPalette()
{
    struct Cached {
        qint64 paletteKey = -1;
        const QStyle* style = nullptr;
        QPalette palette;
    };
    static Cached cached;
    const QPalette application = currentPalette();
    const QStyle* style = widgetApplication() != nullptr ? QApplication::style() : nullptr;
    if (cached.paletteKey != application.cacheKey() || cached.style != style) {
        cached = {application.cacheKey(), style,
                  isLight(application) ? application : lightPalette()};
    }
    return cached.palette;
}

// The height of a one-line menu bar as the running style lays it out in the menu-bar font.
int menuBarHeight()
{
    QApplication* app = widgetApplication();
    if (app == nullptr) {
        return 19; // Win32's classic value, when there is no widget style to ask
    }
    const QFont font = QApplication::font("QMenuBar");
    struct Cached {
        const QStyle* style = nullptr;
        QString fontKey;
        int height = 0;
    };
    static Cached cached;
    const QStyle* style = QApplication::style();
    if (cached.style != style || cached.fontKey != font.key() || cached.height == 0) {
        QMenuBar bar;
        bar.addAction(QStringLiteral("File"));
        cached = {style, font.key(), bar.sizeHint().height()};
    }
    return cached.height;
}

int stylePixelMetric(QStyle::PixelMetric metric, int fallback)
{
    if (widgetApplication() == nullptr) {
        return fallback;
    }
    return QApplication::style()->pixelMetric(metric);
}

QSize screenSize()
{
    const QScreen* screen =
        QCoreApplication::instance() != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    return screen != nullptr ? screen->size() : QSize(1024, 768);
}

HGDIOBJ makeStockBrush(BrushObject::Kind kind, COLORREF color)
{
    auto brush = std::make_unique<BrushObject>();
    brush->kind = kind;
    brush->color = color;
    return brushTable().addPermanent(std::move(brush));
}

HGDIOBJ makeStockPen(int style, COLORREF color)
{
    auto pen = std::make_unique<PenObject>();
    pen->style = style;
    pen->color = color;
    return penTable().addPermanent(std::move(pen));
}

HGDIOBJ makeStockFont(const QFont& font)
{
    auto object = std::make_unique<FontObject>();
    object->logfont = logFontFromFont(font);
    object->font = pixelSized(font);
    return fontTable().addPermanent(std::move(object));
}

QFont applicationFont()
{
    return QCoreApplication::instance() != nullptr ? QGuiApplication::font() : QFont();
}

} // namespace

DWORD GetSysColor(int index)
{
    const auto role = paletteRole(index);
    if (!role) {
        return 0;
    }
    return fromQColor(systemPalette().color(role->group, role->role));
}

HBRUSH GetSysColorBrush(int index)
{
    if (!paletteRole(index)) {
        return 0;
    }
    static std::array<HBRUSH, kSystemColorCount> brushes{};
    HBRUSH& brush = brushes.at(static_cast<std::size_t>(index));
    if (brush == 0) {
        auto object = std::make_unique<BrushObject>();
        object->kind = BrushObject::Kind::System;
        object->systemColor = index;
        brush = brushTable().addPermanent(std::move(object));
    }
    return brush;
}

HGDIOBJ GetStockObject(int object)
{
    static QHash<int, HGDIOBJ> stock;
    if (const auto it = stock.constFind(object); it != stock.constEnd()) {
        return it.value();
    }
    HGDIOBJ handle = 0;
    switch (object) {
    case WHITE_BRUSH:
        handle = makeStockBrush(BrushObject::Kind::Solid, RGB(255, 255, 255));
        break;
    case LTGRAY_BRUSH:
        handle = makeStockBrush(BrushObject::Kind::Solid, RGB(192, 192, 192));
        break;
    case GRAY_BRUSH:
        handle = makeStockBrush(BrushObject::Kind::Solid, RGB(128, 128, 128));
        break;
    case DKGRAY_BRUSH:
        handle = makeStockBrush(BrushObject::Kind::Solid, RGB(64, 64, 64));
        break;
    case BLACK_BRUSH:
        handle = makeStockBrush(BrushObject::Kind::Solid, RGB(0, 0, 0));
        break;
    case NULL_BRUSH:
        handle = makeStockBrush(BrushObject::Kind::Null, 0);
        break;
    case WHITE_PEN:
        handle = makeStockPen(PS_SOLID, RGB(255, 255, 255));
        break;
    case BLACK_PEN:
        handle = makeStockPen(PS_SOLID, RGB(0, 0, 0));
        break;
    case NULL_PEN:
        handle = makeStockPen(PS_NULL, 0);
        break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT:
    case ANSI_VAR_FONT:
    case DEVICE_DEFAULT_FONT:
        handle = makeStockFont(applicationFont());
        break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        handle = makeStockFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        break;
    default:
        return 0;
    }
    stock.insert(object, handle);
    return handle;
}

int GetSystemMetrics(int index)
{
    if (const auto it = metricOverrides().constFind(index); it != metricOverrides().constEnd()) {
        return it.value();
    }
    switch (index) {
    case SM_CXSCREEN:
        return screenSize().width();
    case SM_CYSCREEN:
        return screenSize().height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return stylePixelMetric(QStyle::PM_ScrollBarExtent, 17);
    case SM_CYCAPTION:
        return stylePixelMetric(QStyle::PM_TitleBarHeight, 23);
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return menuBarHeight();
    case SM_CXMENUCHECK:
        return stylePixelMetric(QStyle::PM_IndicatorWidth, 13);
    case SM_CYMENUCHECK:
        return stylePixelMetric(QStyle::PM_IndicatorHeight, 13);
    default:
        return 0;
    }
}

void overrideSystemMetric(int index, std::optional<int> value)
{
    if (value) {
        metricOverrides().insert(index, *value);
    } else {
        metricOverrides().remove(index);
    }
}

} // namespace win32
