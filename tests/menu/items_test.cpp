#include "engine_test_support.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/owner_draw.h"
#include "host/win32/system.h"
#include "menu/nvo_supermenu_class.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using enginetest::Canvas;
using enginetest::kBlue;
using enginetest::kWhite;
using namespace win32;
using Rect = nvo_supermenu_class::tagrect;

constexpr COLORREF kOdd = 0x563412; // RGB 18, 52, 86: what the popup showed before
constexpr COLORREF kXp2Frame = 0x0683FF;
constexpr COLORREF kXp2Fill = 0x88C4FF;

// An engine with registered items of every kind the renderers distinguish, painted into a
// canvas through a device context, as the frame's popup will paint them.
class ItemPainting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        iconFile = enginetest::writeSquareBitmap(dir);
    }

    // Registers an item; with `icon`, its toolbar picture is the blue-square bitmap.
    int add(const std::string& text, bool icon = false, bool checked = false, bool enabled = true)
    {
        auto item = host::MenuItem::create();
        item->setText(text);
        item->setChecked(checked);
        item->setEnabled(enabled && text != "-");
        if (icon) {
            item->settoolbaritemname(iconFile);
        }
        items.push_back(std::move(item));
        return engine.of_add(static_cast<std::int32_t>(items.size()), text, items.back().get(), 1);
    }

    [[nodiscard]] const nvo_supermenu_class::ust_menuinfo& record(int row) const
    {
        return *engine.menuinfo(row);
    }

    void normal(std::int16_t background, int row, Rect rect)
    {
        engine.menubkstyle = background;
        engine.of_drawnormalitem(background, canvas.dc(), rect, record(row));
    }

    void selected(std::int16_t look, int row, Rect rect)
    {
        engine.menustyle = look;
        engine.of_drawselectitem(look, canvas.dc(), rect, record(row));
    }

    // A paint request as the window system sends it.
    void request(int row, UINT state, Rect rect)
    {
        DRAWITEMSTRUCT draw;
        draw.CtlType = ODT_MENU;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hDC = canvas.dc();
        draw.rcItem = rect;
        draw.itemData = row > 0 ? record(row).itemid : 99999;
        engine.of_drawitem(0, &draw);
    }

    QTemporaryDir dir;
    std::string iconFile;
    nvo_supermenu_class engine;
    std::vector<std::unique_ptr<host::MenuItem>> items;
    Canvas canvas{220, 40, QColor(18, 52, 86)};
};

// ---- normal items ---------------------------------------------------------------------------

TEST_F(ItemPainting, TheNormalBackgroundIsOneFlatFillOfTheMenuColour)
{
    const int row = add("Open\tO");
    for (const std::int16_t background : {0, 9}) {
        normal(background, row, {0, 0, 200, 22});
        EXPECT_TRUE(canvas.all(0, 0, 24, 22, GetSysColor(COLOR_MENU))) << background;
        EXPECT_TRUE(canvas.all(196, 0, 200, 22, GetSysColor(COLOR_MENU)));
        EXPECT_TRUE(canvas.all(200, 0, 220, 40, kOdd));
        EXPECT_TRUE(canvas.all(0, 22, 220, 40, kOdd));
        EXPECT_TRUE(canvas.any(24, 4, 80, 22, GetSysColor(COLOR_MENU))) << "text from L + 24";
    }
}

TEST_F(ItemPainting, TheWhiteBackgroundHasALightColumnBetweenTwoLines)
{
    const int row = add("Open");
    normal(nvo_supermenu_class::style_bkwhite, row, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.all(1, 0, 20, 22, 0xF0F0F0));
    EXPECT_TRUE(canvas.all(0, 0, 1, 22, 0xC8C8C8)) << "from T to B - 1";
    EXPECT_TRUE(canvas.all(20, 0, 21, 22, 0xC8C8C8));
    EXPECT_TRUE(canvas.all(21, 0, 24, 22, kWhite));
    EXPECT_TRUE(canvas.all(150, 0, 200, 22, kWhite));
}

TEST_F(ItemPainting, GrayBackgroundsRedrawALineOnTheFirstRowOfThePopup)
{
    const int row = add("Open");
    normal(nvo_supermenu_class::style_bkgray, row, {0, 10, 200, 32});
    EXPECT_TRUE(canvas.all(150, 10, 200, 32, 0xEBE3DD));
    EXPECT_TRUE(canvas.all(1, 10, 20, 32, 0xBAAB9C));
    EXPECT_TRUE(canvas.all(0, 10, 1, 32, 0x93887F));
    EXPECT_TRUE(canvas.all(20, 10, 21, 32, 0x93887F));
    EXPECT_TRUE(canvas.all(0, 0, 19, 1, 0x93887F)) << "row 0, from rl to rr - 2";
    EXPECT_EQ(canvas.at(19, 0), kOdd);
    EXPECT_TRUE(canvas.all(0, 1, 220, 10, kOdd));

    normal(nvo_supermenu_class::style_bkgray_xp, row, {0, 10, 200, 32});
    EXPECT_TRUE(canvas.all(150, 10, 200, 32, kWhite));
    EXPECT_TRUE(canvas.all(1, 10, 20, 32, 0xC0C0C0));
    EXPECT_TRUE(canvas.all(20, 10, 21, 32, 0x93887F));
}

TEST_F(ItemPainting, TheAmbBackgroundHasAButtonFaceColumnTwentyTwoWide)
{
    const int row = add("Open");
    normal(nvo_supermenu_class::style_bkamb, row, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.all(0, 0, 22, 22, GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(canvas.all(22, 0, 24, 22, kWhite));
    EXPECT_TRUE(canvas.all(150, 0, 200, 22, kWhite));
}

TEST_F(ItemPainting, OnlyTheWhiteBackgroundPutsASpaceBeforeTheText)
{
    const int plain = add("Open");
    const int spaced = add(" Open");
    normal(nvo_supermenu_class::style_bkwhite, plain, {0, 0, 200, 22});
    const QImage prefixed = canvas.image().copy();
    // The same background painted with another style in the engine: no prefix is added.
    engine.menubkstyle = nvo_supermenu_class::style_bknormal;
    Rect rect{0, 0, 200, 22};
    engine.of_drawnormalitem(nvo_supermenu_class::style_bkwhite, canvas.dc(), rect, record(spaced));
    EXPECT_EQ(canvas.image(), prefixed);
    normal(nvo_supermenu_class::style_bknormal, plain, {0, 0, 200, 22});
    EXPECT_NE(canvas.image(), prefixed);
}

TEST_F(ItemPainting, TheShortcutComesFromTheRecordNotFromTheText)
{
    const int row = add("Save");
    items.back()->setText("Save\tCtrl+S");
    normal(nvo_supermenu_class::style_bkamb, row, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.all(100, 0, 200, 22, kWhite)) << "the record has no shortcut";
    EXPECT_TRUE(canvas.any(24, 4, 60, 22, kWhite));

    const int withShortcut = add("Save\tCtrl+S");
    normal(nvo_supermenu_class::style_bkamb, withShortcut, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.any(140, 4, 188, 22, kWhite));
    EXPECT_TRUE(canvas.all(188, 0, 200, 22, kWhite));
}

TEST_F(ItemPainting, SeparatorsAreEtchedOrSingleLinesAcrossTheMiddle)
{
    const int row = add("-");
    normal(nvo_supermenu_class::style_bknormal, row, {10, 10, 190, 17});
    EXPECT_TRUE(canvas.all(6, 13, 189, 14, 0x808080)) << "dark line from L - 4 to R - 2";
    EXPECT_NE(canvas.at(189, 13), 0x808080u);
    EXPECT_EQ(canvas.at(5, 13), kOdd);
    EXPECT_TRUE(canvas.all(6, 14, 30, 15, kWhite)) << "white line below it";
    EXPECT_TRUE(canvas.all(100, 14, 189, 15, kWhite));
    EXPECT_EQ(canvas.at(189, 14), GetSysColor(COLOR_MENU));

    normal(nvo_supermenu_class::style_bkgray, row, {10, 10, 190, 17});
    EXPECT_TRUE(canvas.all(32, 13, 190, 14, 0x99A8AC)) << "one line from L + 22 to R - 1";
    EXPECT_EQ(canvas.at(31, 13), 0xEBE3DDu);
    EXPECT_EQ(canvas.at(100, 12), 0xEBE3DDu);
    EXPECT_EQ(canvas.at(100, 14), 0xEBE3DDu);

    // The white backgrounds take the single line too, not the etched pair.
    for (const std::int16_t background :
         {nvo_supermenu_class::style_bkwhite, nvo_supermenu_class::style_bkgray_xp}) {
        normal(background, row, {10, 10, 190, 17});
        EXPECT_TRUE(canvas.all(32, 13, 190, 14, 0x99A8AC)) << background;
        EXPECT_EQ(canvas.at(31, 13), kWhite) << background;
        EXPECT_EQ(canvas.at(100, 12), kWhite) << background;
        EXPECT_EQ(canvas.at(100, 14), kWhite) << background << ": no second line";
        EXPECT_EQ(canvas.at(5, 13), kOdd) << background << ": nothing left of the item";
    }
}

TEST_F(ItemPainting, ACheckMarkBeatsTheIconAndDisabledItemsShowAGreyedIcon)
{
    const int iconOnly = add("Open", true);
    normal(nvo_supermenu_class::style_bkamb, iconOnly, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(5, 5), kBlue) << "icon at L + 3, T + 3";
    EXPECT_EQ(canvas.at(3, 3), GetSysColor(COLOR_BTNFACE)) << "drawn through its mask";

    const int checked = add("Open", true, true);
    normal(nvo_supermenu_class::style_bkamb, checked, {0, 0, 200, 22});
    EXPECT_NE(canvas.at(5, 5), kBlue);
    EXPECT_TRUE(canvas.all(8, 9, 14, 14, GetSysColor(COLOR_HIGHLIGHT)));

    const int disabled = add("Open", true, true, false);
    normal(nvo_supermenu_class::style_bkamb, disabled, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(5, 5), GetSysColor(COLOR_BTNSHADOW)) << "the greyed icon";
    EXPECT_EQ(canvas.at(10, 7), GetSysColor(COLOR_BTNSHADOW)) << "no check frame";

    const int bare = add("Open", false, false, false);
    normal(nvo_supermenu_class::style_bkamb, bare, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.all(0, 0, 22, 22, GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(canvas.any(24, 3, 60, 22, kWhite)) << "the embossed text";
}

// ---- selected items -------------------------------------------------------------------------

TEST_F(ItemPainting, TheNormalLookFillsWithTheHighlightAndRedrawsTheIcon)
{
    const int row = add("Open", true);
    normal(nvo_supermenu_class::style_bkamb, row, {0, 0, 200, 22});
    selected(nvo_supermenu_class::style_normal, row, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(1, 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.at(199, 21), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.at(5, 5), kBlue);
}

TEST_F(ItemPainting, Office2kFramesTheIconColumnAndHighlightsTheText)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int withIcon = add("Open", true);
    normal(nvo_supermenu_class::style_bkamb, withIcon, {0, 0, 200, 22});
    selected(nvo_supermenu_class::style_office2k, withIcon, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(1, 10), GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised frame, left";
    EXPECT_EQ(canvas.at(20, 10), GetSysColor(COLOR_BTNSHADOW)) << "raised frame, right";
    EXPECT_EQ(canvas.at(0, 10), face);
    EXPECT_EQ(canvas.at(21, 10), face);
    EXPECT_EQ(canvas.at(22, 1), kWhite);
    EXPECT_EQ(canvas.at(23, 1), highlight);
    EXPECT_EQ(canvas.at(198, 1), highlight);
    EXPECT_EQ(canvas.at(199, 1), kWhite);
    EXPECT_EQ(canvas.at(5, 5), kBlue) << "the icon stays";

    const int bare = add("Open");
    normal(nvo_supermenu_class::style_bkamb, bare, {0, 0, 200, 22});
    selected(nvo_supermenu_class::style_office2k, bare, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.all(0, 0, 199, 4, highlight));
    EXPECT_EQ(canvas.at(199, 1), kWhite);
}

TEST_F(ItemPainting, Style3FillsABareItemFromTheDeviceContextsLeftEdge)
{
    const int bare = add("Open");
    selected(nvo_supermenu_class::style_style3, bare, {10, 0, 200, 22});
    EXPECT_TRUE(canvas.all(0, 0, 199, 4, GetSysColor(COLOR_BACKGROUND)));
    EXPECT_EQ(canvas.at(199, 1), kOdd);
}

TEST_F(ItemPainting, GradientLooksFillBesideTheIconColumnInTheirDirection)
{
    engine.color_start = 0x000000;
    engine.color_end = 0xFFFFFF;
    const int bare = add("Open");
    const int withIcon = add("Open", true);
    selected(nvo_supermenu_class::style_gradient, bare, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(0, 1), RGB(8, 8, 8)) << "a bare item from L";
    EXPECT_EQ(canvas.at(198, 1), RGB(232, 232, 232));
    EXPECT_EQ(canvas.at(199, 1), kOdd);
    selected(nvo_supermenu_class::style_gradient, withIcon, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(23, 1), RGB(8, 8, 8)) << "beside the icon column";
    selected(nvo_supermenu_class::style_vgradient, withIcon, {0, 0, 200, 38});
    EXPECT_EQ(canvas.at(150, 0), RGB(13, 13, 13));
    EXPECT_EQ(canvas.at(150, 37), RGB(247, 247, 247));
    selected(nvo_supermenu_class::style_vedgegradient, withIcon, {0, 0, 200, 21});
    EXPECT_EQ(canvas.at(150, 0), canvas.at(150, 20));
}

TEST_F(ItemPainting, OfficeXp2PaintsItsOrangeFrameAndTheCheckMark)
{
    const int row = add("Open", true, true);
    normal(nvo_supermenu_class::style_bkamb, row, {0, 0, 200, 22});
    selected(nvo_supermenu_class::style_officexp2, row, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(0, 0), kXp2Frame);
    EXPECT_EQ(canvas.at(199, 21), kXp2Frame);
    EXPECT_EQ(canvas.at(1, 1), kXp2Fill);
    EXPECT_EQ(canvas.at(198, 1), kXp2Fill);
    EXPECT_TRUE(canvas.all(8, 9, 14, 14, GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(canvas.at(4, 4), kXp2Fill) << "no icon under a check mark";

    const int iconOnly = add("Open", true);
    selected(nvo_supermenu_class::style_officexp2, iconOnly, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(4, 4), kBlue) << "the icon one pixel up and left";
    EXPECT_EQ(canvas.at(15, 15), kBlue);
    EXPECT_EQ(canvas.at(16, 16), kXp2Fill);

    selected(nvo_supermenu_class::style_officexp, iconOnly, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(0, 0), RGB(80, 80, 165));
    EXPECT_EQ(canvas.at(198, 1), RGB(185, 185, 215));
    selected(nvo_supermenu_class::style_terminal_xp, iconOnly, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.at(198, 1), RGB(192, 192, 192));
}

TEST_F(ItemPainting, TheInfoLookLeavesTheIconColumnAndAMarginAlone)
{
    const int row = add("Open");
    selected(nvo_supermenu_class::style_color_infobk, row, {0, 0, 200, 22});
    EXPECT_TRUE(canvas.all(0, 0, 22, 22, kOdd));
    EXPECT_TRUE(canvas.all(0, 0, 200, 1, kOdd)) << "row T";
    EXPECT_TRUE(canvas.all(0, 21, 200, 22, kOdd)) << "row B - 1";
    EXPECT_TRUE(canvas.all(198, 0, 200, 22, kOdd)) << "columns R - 2 and R - 1";
    EXPECT_EQ(canvas.at(22, 1), RGB(0, 0, 0));
    EXPECT_EQ(canvas.at(197, 20), RGB(0, 0, 0));
    EXPECT_EQ(canvas.at(190, 2), GetSysColor(COLOR_INFOBK));
}

TEST_F(ItemPainting, UnknownLooksDrawOnlyTheTextsWithinTheirColumns)
{
    const int row = add("Open\tAn extremely long shortcut text that cannot fit in the item");
    for (const std::int16_t look : {0, 12}) {
        engine.menustyle = look;
        Rect rect{0, 0, 200, 22};
        engine.of_drawselectitem(look, canvas.dc(), rect, record(row));
        EXPECT_TRUE(canvas.all(0, 0, 24, 40, kOdd)) << "never left of L + 24";
        EXPECT_TRUE(canvas.all(188, 0, 220, 40, kOdd)) << "ends by R - 13";
        EXPECT_TRUE(canvas.all(0, 0, 220, 4, kOdd));
        EXPECT_TRUE(canvas.any(24, 4, 188, 22, kOdd));
    }
}

// ---- dispatch -------------------------------------------------------------------------------

TEST_F(ItemPainting, RequestsChooseTheRendererFromTheSelectedBitOnly)
{
    engine.menustyle = nvo_supermenu_class::style_officexp2;
    engine.menubkstyle = nvo_supermenu_class::style_bkamb;
    const int enabled = add("Open");
    const int disabled = add("Gone", false, false, false);
    const QImage untouched = canvas.image().copy();

    request(0, ODS_SELECTED, {0, 0, 200, 22});
    EXPECT_EQ(canvas.image(), untouched) << "unknown item data paints nothing";
    request(disabled, ODS_SELECTED, {0, 0, 200, 22});
    EXPECT_EQ(canvas.image(), untouched) << "a highlighted disabled item is not painted";

    request(enabled, ODS_SELECTED, {0, 0, 200, 22});
    EXPECT_EQ(canvas.at(0, 0), kXp2Frame);
    for (const UINT state : {0u, ODS_GRAYED, ODS_CHECKED}) {
        request(enabled, state, {0, 0, 200, 22});
        EXPECT_EQ(canvas.at(0, 0), GetSysColor(COLOR_BTNFACE)) << "state " << state;
        EXPECT_EQ(canvas.at(198, 1), kWhite);
    }
}

TEST_F(ItemPainting, AMissingItemObjectEndsThePaintWithTheNullObjectError)
{
    EXPECT_THROW(engine.of_add(7, "Lost", nullptr, 1), host::RuntimeError);
    const int row = engine.of_find_byid(7);
    ASSERT_GT(row, 0);
    EXPECT_THROW(request(row, 0, {0, 0, 200, 22}), host::RuntimeError);
    EXPECT_THROW(request(row, ODS_SELECTED, {0, 0, 200, 22}), host::RuntimeError);
    EXPECT_THROW(engine.of_drawitem(0, nullptr), host::RuntimeError);
}

TEST_F(ItemPainting, TenThousandPaintsOfEveryLookLeaveNoDrawingObjectBehind)
{
    const std::vector<int> rows{add("Open\tO", true), add("Check", false, true), add("-"),
                                add("Off", true, false, false), add("Both", true, true)};
    const auto before = enginetest::liveDrawingObjects();
    for (int i = 0; i < 10000; ++i) {
        const int row = rows[static_cast<std::size_t>(i) % rows.size()];
        for (std::int16_t look = 1; look <= 11; ++look) {
            engine.menustyle = look;
            request(row, ODS_SELECTED, {0, 0, 200, 22});
        }
        for (std::int16_t background = 0; background <= 4; ++background) {
            engine.menubkstyle = background;
            request(row, 0, {0, 0, 200, 22});
        }
    }
    EXPECT_EQ(enginetest::liveDrawingObjects(), before);
}

} // namespace
