// System colours follow the palette, metrics follow the style, and tests can pin them.
#include "pixels.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

using namespace win32;

// Installs a light palette (dark text on a light window) with a distinct colour per role for the
// life of the object.
class PaletteScope {
public:
    PaletteScope() : saved_(QApplication::palette())
    {
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(241, 242, 243));
        palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
        palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
        palette.setColor(QPalette::HighlightedText, QColor(10, 11, 12));
        palette.setColor(QPalette::Button, QColor(13, 14, 15));
        palette.setColor(QPalette::Light, QColor(16, 17, 18));
        palette.setColor(QPalette::Dark, QColor(19, 20, 21));
        palette.setColor(QPalette::Base, QColor(22, 23, 24));
        palette.setColor(QPalette::ToolTipBase, QColor(25, 26, 27));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(28, 29, 30));
        QApplication::setPalette(palette);
    }
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;
    ~PaletteScope() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

TEST(SystemColours, FollowTheDocumentedPaletteRoles)
{
    const PaletteScope palette;
    EXPECT_EQ(GetSysColor(COLOR_MENU), RGB(241, 242, 243));
    EXPECT_EQ(GetSysColor(COLOR_MENUTEXT), RGB(4, 5, 6));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(7, 8, 9));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(10, 11, 12));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(13, 14, 15));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(16, 17, 18));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(19, 20, 21));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(22, 23, 24));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(25, 26, 27));
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), RGB(28, 29, 30));
    EXPECT_EQ(GetSysColor(25), 0u);
    EXPECT_EQ(GetSysColorBrush(25), 0u);
    EXPECT_EQ(GetSysColor(-1), 0u);
}

TEST(SystemColours, ABrushPaintsTheColourOfTheMomentItIsUsed)
{
    const HBRUSH menu = GetSysColorBrush(COLOR_MENU);
    test::Canvas canvas;
    const RECT rect{0, 0, 4, 4};
    {
        const PaletteScope palette;
        EXPECT_EQ(GetSysColorBrush(COLOR_MENU), menu); // one brush per index
        FillRect(canvas.handle(), &rect, menu);
        EXPECT_EQ(canvas.at(0, 0), RGB(241, 242, 243));
    }
    FillRect(canvas.handle(), &rect, menu);
    EXPECT_EQ(canvas.at(0, 0), GetSysColor(COLOR_MENU));
}

TEST(SystemColours, ADarkPaletteGivesTheStylesLightColoursSoTextStaysDarkOnLightSurfaces)
{
    const QPalette light = QApplication::style()->standardPalette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(dark);
    const COLORREF menuText = GetSysColor(COLOR_MENUTEXT);
    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    QApplication::setPalette(saved);
    const auto rgb = [](const QColor& colour) {
        return RGB(colour.red(), colour.green(), colour.blue());
    };
    EXPECT_EQ(menuText, rgb(light.color(QPalette::WindowText)));
    EXPECT_EQ(buttonFace, rgb(light.color(QPalette::Button)));
    EXPECT_EQ(windowText, rgb(light.color(QPalette::Text)));
    EXPECT_NE(menuText, rgb(dark.color(QPalette::WindowText)));
}

TEST(SystemMetrics, MenuHeightComesFromTheStyleAndCanBePinned)
{
    const int menu = GetSystemMetrics(SM_CYMENU);
    EXPECT_GT(menu, 10);
    EXPECT_LT(menu, 60);
    overrideSystemMetric(SM_CYMENU, 19);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 19);
    overrideSystemMetric(SM_CYMENU, std::nullopt);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), menu);
    // A larger menu-bar font makes a taller menu bar.
    const QFont saved = QApplication::font("QMenuBar");
    QFont large = saved;
    large.setPixelSize(40);
    QApplication::setFont(large, "QMenuBar");
    EXPECT_GT(GetSystemMetrics(SM_CYMENU), menu);
    QApplication::setFont(saved, "QMenuBar");
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
}

TEST(RtlMoveMemory, CopiesRecordsAndOverlappingBlocks)
{
    const RECT source{1, 2, 3, 4};
    RECT copy;
    RtlMoveMemory(&copy, &source, sizeof copy);
    EXPECT_EQ(copy.right, 3);
    char text[] = "abcdef";
    RtlMoveMemory(text + 1, text, 4);
    EXPECT_STREQ(text, "aabcdf");
}

} // namespace
