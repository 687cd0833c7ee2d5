#include "host/records/toolbar_record.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/icons.h"
#include "host/win32/system.h"
#include "host/win32/windows.h"
#include "toolbar/uo_toolbarutil.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr const char* kToolbarClass = "VarnelookTestToolbar";

// Stands in for the frame's toolbar: a child window of the frame, found by its class name,
// holding its record's address in its first extra long, and noting what it is told.
class FakeToolbar {
public:
    explicit FakeToolbar(host::Frame& frame)
        : window_(new QWidget(&host::widgetOf(frame))) // NOLINT: Qt parent
    {
        const win32::HWND handle = win32::registerWindow(window_);
        win32::setWindowClassName(handle, kToolbarClass);
        win32::setWindowExtraBytes(handle, 4);
        win32::SetWindowLongA(handle, 0, record_.address());
    }

    [[nodiscard]] win32::LONG address() const { return record_.address(); }
    [[nodiscard]] const win32::AddressableRecord& record() const { return record_.record(); }
    [[nodiscard]] int byteAt(std::size_t offset) const { return record().byteAt(offset); }
    [[nodiscard]] bool untouched() const
    {
        for (std::size_t offset = 0; offset < host::ToolbarRecord::kSize; ++offset) {
            if (record().byteAt(offset) != 0) {
                return false;
            }
        }
        return true;
    }

    std::string labelFace;
    int labelPoints = 0;
    std::optional<bool> textsShown;

private:
    QWidget* window_;
    host::ToolbarRecord record_{{[this](const std::string& face, int points) {
                                     labelFace = face;
                                     labelPoints = points;
                                 },
                                 [this](bool shown) { textsShown = shown; }, nullptr}};
};

class ToolbarUtility : public testing::Test {
public:
    ToolbarUtility() { util.is_toolclassname = kToolbarClass; }

protected:
    static std::size_t liveBitmaps() { return win32::liveHandles(win32::HandleKind::Bitmap); }

    host::Frame frame;
    FakeToolbar toolbar{frame};
    uo_toolbarutil util;
};

TEST_F(ToolbarUtility, ANullFrameOrAFrameWithoutTheToolbarBindsNothing)
{
    EXPECT_FALSE(util.of_inittoolbar(nullptr, 24));
    EXPECT_EQ(util.il_ptoolbar, 0);
    EXPECT_EQ(util.il_hframe, 0);
    EXPECT_EQ(util.ii_iconsize, 16);

    util.is_toolclassname = "NoSuchToolbar";
    EXPECT_FALSE(util.of_inittoolbar(&frame, 24));
    EXPECT_EQ(util.il_ptoolbar, 0);
    EXPECT_EQ(util.il_hbitmap, 0);
}

TEST_F(ToolbarUtility, AnUnboundInstanceChangesNothing)
{
    util.of_displayseperator();
    util.of_settoolbarfont("宋体", 9, "");
    util.of_toolbarshowtext(true);
    util.ii_iconsize = 24;
    util.of_adjusttoolbariconsize();
    EXPECT_TRUE(toolbar.untouched());
    EXPECT_TRUE(toolbar.labelFace.empty());
    EXPECT_FALSE(toolbar.textsShown.has_value());
}

TEST_F(ToolbarUtility, SixteenPixelsOrLessBindsTheToolbarWithoutABitmapOrAnyWrite)
{
    const auto bitmaps = liveBitmaps();
    ASSERT_TRUE(util.of_inittoolbar(&frame, 16));
    EXPECT_EQ(util.il_ptoolbar, toolbar.address());
    EXPECT_EQ(util.il_hframe, static_cast<std::int32_t>(frame.handle()));
    EXPECT_NE(util.il_hwndtoolbar, 0);
    EXPECT_EQ(util.il_hbitmap, 0);
    EXPECT_EQ(util.ii_iconsize, 16);
    EXPECT_EQ(liveBitmaps(), bitmaps);
    EXPECT_TRUE(util.of_inittoolbar(&frame, std::nullopt));

    util.of_adjusttoolbariconsize();
    util.of_toolbarshowtext(false);
    EXPECT_TRUE(toolbar.untouched());
    EXPECT_EQ(toolbar.textsShown, false);
}

TEST_F(ToolbarUtility, HidingTextsAtTwentyFourPixelsWritesTheButtonSizesAndBothFaces)
{
    ASSERT_TRUE(util.of_inittoolbar(&frame, 24));
    EXPECT_EQ(util.ii_iconsize, 24);
    EXPECT_NE(util.il_hbitmap, 0);

    util.of_toolbarshowtext(false);
    EXPECT_EQ(toolbar.textsShown, false);
    EXPECT_EQ(toolbar.byteAt(2500), 24);
    EXPECT_EQ(toolbar.byteAt(2504), 24);
    EXPECT_EQ(toolbar.byteAt(2476), 31);
    EXPECT_EQ(toolbar.byteAt(2564), 31);
    EXPECT_EQ(toolbar.byteAt(2480), 30);
    EXPECT_EQ(toolbar.byteAt(2556), 30);
    EXPECT_EQ(toolbar.byteAt(2464), 35);
    EXPECT_EQ(toolbar.byteAt(2468), 34);
    EXPECT_EQ(toolbar.byteAt(2492), 0); // separators only when texts show

    const QImage normal = win32::bitmapImage(static_cast<win32::HBITMAP>(
        toolbar.record().longAt(host::ToolbarRecord::kNormalFaceOffset)));
    const QImage pressed = win32::bitmapImage(static_cast<win32::HBITMAP>(
        toolbar.record().longAt(host::ToolbarRecord::kPressedFaceOffset)));
    ASSERT_EQ(normal.size(), QSize(31, 30));
    ASSERT_EQ(pressed.size(), QSize(31, 30));
    const QColor face(win32::GetSysColor(win32::COLOR_BTNFACE) & 0xFF,
                      (win32::GetSysColor(win32::COLOR_BTNFACE) >> 8) & 0xFF,
                      (win32::GetSysColor(win32::COLOR_BTNFACE) >> 16) & 0xFF);
    const QColor light(win32::GetSysColor(win32::COLOR_BTNHIGHLIGHT) & 0xFF,
                       (win32::GetSysColor(win32::COLOR_BTNHIGHLIGHT) >> 8) & 0xFF,
                       (win32::GetSysColor(win32::COLOR_BTNHIGHLIGHT) >> 16) & 0xFF);
    const QColor shadow(win32::GetSysColor(win32::COLOR_BTNSHADOW) & 0xFF,
                        (win32::GetSysColor(win32::COLOR_BTNSHADOW) >> 8) & 0xFF,
                        (win32::GetSysColor(win32::COLOR_BTNSHADOW) >> 16) & 0xFF);
    // The normal face is filled and has no border (the middle only); the pressed face is sunken:
    // shadow at its top-left, light at its bottom-right.
    EXPECT_EQ(normal.pixelColor(15, 15), face);
    EXPECT_EQ(normal.pixelColor(0, 0), face);
    EXPECT_EQ(pressed.pixelColor(15, 15), face);
    EXPECT_EQ(pressed.pixelColor(0, 5), shadow);
    EXPECT_EQ(pressed.pixelColor(30, 5), light);
}

TEST_F(ToolbarUtility, ShowingTextsAddsFourPixelSeparatorsAndTheFontReachesTheLabels)
{
    ASSERT_TRUE(util.of_inittoolbar(&frame, 24));
    util.of_toolbarshowtext(true);
    EXPECT_EQ(toolbar.textsShown, true);
    EXPECT_EQ(toolbar.byteAt(2492), 4);
    EXPECT_EQ(toolbar.byteAt(2496), 4);
    EXPECT_EQ(toolbar.byteAt(2500), 0); // the icon sizes only when texts hide

    util.of_settoolbarfont("宋体", 9, "extent");
    EXPECT_EQ(toolbar.labelFace, "宋体");
    EXPECT_EQ(toolbar.labelPoints, 9);
}

TEST_F(ToolbarUtility, TheBitmapForTheFontOperationIsKeptOnceAndFreedWithTheInstance)
{
    const auto bitmaps = liveBitmaps();
    {
        uo_toolbarutil another;
        another.is_toolclassname = kToolbarClass;
        ASSERT_TRUE(another.of_inittoolbar(&frame, 24));
        ASSERT_TRUE(another.of_inittoolbar(&frame, 32));
        EXPECT_EQ(another.ii_iconsize, 32);
        EXPECT_EQ(liveBitmaps(), bitmaps + 1);
    }
    EXPECT_EQ(liveBitmaps(), bitmaps);
}

TEST_F(ToolbarUtility, NewFaceBitmapsReplaceTheOldOnesInsteadOfPilingUp)
{
    ASSERT_TRUE(util.of_inittoolbar(&frame, 24));
    util.of_adjusttoolbariconsize();
    const auto afterFirst = liveBitmaps();
    const auto firstNormal = toolbar.record().longAt(host::ToolbarRecord::kNormalFaceOffset);

    util.of_adjusttoolbariconsize();
    EXPECT_EQ(liveBitmaps(), afterFirst);
    EXPECT_NE(toolbar.record().longAt(host::ToolbarRecord::kNormalFaceOffset), firstNormal);
    EXPECT_TRUE(win32::bitmapImage(static_cast<win32::HBITMAP>(firstNormal)).isNull());
}

} // namespace
