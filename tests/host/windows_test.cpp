#include "host/win32/windows.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(WindowHandles, AWidgetKeepsOneHandleUntilItIsDestroyed)
{
    const auto before = win32::liveHandles(win32::HandleKind::Window);
    auto widget = std::make_unique<QWidget>();
    const win32::HWND handle = win32::registerWindow(widget.get());
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(win32::registerWindow(widget.get()), handle);
    EXPECT_EQ(win32::windowFromHandle(handle), widget.get());
    EXPECT_EQ(win32::handleFromWindow(widget.get()), handle);

    widget.reset();
    EXPECT_EQ(win32::windowFromHandle(handle), nullptr);
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::Window), before);
}

} // namespace
