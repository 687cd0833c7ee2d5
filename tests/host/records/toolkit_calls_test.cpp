#include "host/records/toolbar_record.h"
#include "host/records/toolkit_calls.h"
#include "host/toolkit/runtime_error.h"
#include "host/win32/shapes.h"
#include "host/win32/surface_dc_internal.h"
#include "host/win32/system.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>

namespace {

// A toolbar that notes what it is told through its record.
struct RecordingToolbar {
    std::string face;
    int points = 0;
    bool shown = false;
    host::ToolbarRecord record{{[this](const std::string& labelFace, int labelPoints) {
                                    face = labelFace;
                                    points = labelPoints;
                                },
                                [this](bool textsShown) { shown = textsShown; }, nullptr}};

    [[nodiscard]] std::int32_t address() const { return record.address(); }
};

TEST(ToolkitCalls, TheToolbarOperationsReachTheToolbarAtTheRecordAddressOnly)
{
    RecordingToolbar toolbar;
    std::int32_t address = toolbar.address();
    std::string face = "Arial";
    std::int16_t points = 11;
    std::int32_t bitmap = 0;
    std::string extent;
    bool show = true;

    EXPECT_EQ(host::callToolkitFunction("fn_toolbarsetfont",
                                        {&address, &face, &points, &bitmap, &extent}),
              1);
    EXPECT_EQ(toolbar.face, "Arial");
    EXPECT_EQ(toolbar.points, 11);
    EXPECT_EQ(host::callToolkitFunction("fn_toolbarshowtext", {&address, &show}), 1);
    EXPECT_TRUE(toolbar.shown);

    // An address that is no toolbar's, 0 among them, finds nothing to change.
    std::int32_t elsewhere = address + 4;
    show = false;
    EXPECT_EQ(host::callToolkitFunction("fn_toolbarshowtext", {&elsewhere, &show}), 0);
    std::int32_t none = 0;
    EXPECT_EQ(host::callToolkitFunction("fn_toolbarshowtext", {&none, &show}), 0);
    EXPECT_TRUE(toolbar.shown);
}

TEST(ToolkitCalls, UnknownNamesAndArgumentsThatDoNotFitRaiseTheRuntimeError)
{
    std::int32_t address = 0;
    bool show = true;
    EXPECT_THROW(host::callToolkitFunction("fn_toolbarnosuch", {&address}), host::RuntimeError);
    EXPECT_THROW(host::callToolkitFunction("fn_toolbarshowtext", {&address}), host::RuntimeError);
    EXPECT_THROW(host::callToolkitFunction("fn_toolbarshowtext", {&show, &address}),
                 host::RuntimeError);
    EXPECT_THROW(host::callToolkitFunction("fn_toolbarshowtext",
                                           {static_cast<std::int32_t*>(nullptr), &show}),
                 host::RuntimeError);
}

TEST(ToolkitCalls, DrawEdge3dDrawsTheWin32EdgeIntoTheDeviceContext)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::black);
    const win32::HDC dc = win32::createImageDC(image);
    auto handle = static_cast<std::int32_t>(dc);
    win32::RECT rect{0, 0, 10, 10};
    EXPECT_EQ(
        host::callToolkitFunction(
            "osdrawedge3d", {&handle, &rect, static_cast<std::int32_t>(win32::BDR_SUNKENOUTER),
                             static_cast<std::int32_t>(win32::BF_RECT | win32::BF_MIDDLE)}),
        1);
    win32::releaseSurfaceDC(dc);
    const auto colour = [](int index) {
        const win32::COLORREF c = win32::GetSysColor(index);
        return QColor(win32::GetRValue(c), win32::GetGValue(c), win32::GetBValue(c));
    };
    EXPECT_EQ(image.pixelColor(0, 5), colour(win32::COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(9, 5), colour(win32::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(5, 5), colour(win32::COLOR_BTNFACE));
}

} // namespace
