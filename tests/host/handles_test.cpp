#include "host/win32/handles.h"

#include <gtest/gtest.h>

namespace {

struct Thing {
    int value = 0;
};

TEST(HandleTable, HandlesNameTheirKindAndCountLiveObjects)
{
    win32::HandleTable<Thing> pens(win32::HandleKind::Pen);
    const auto before = win32::liveHandles(win32::HandleKind::Pen);
    const auto a = pens.add(std::make_unique<Thing>(Thing{1}));
    const auto b = pens.add(std::make_unique<Thing>(Thing{2}));
    EXPECT_NE(a, b);
    EXPECT_EQ(win32::handleKind(a), win32::HandleKind::Pen);
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::Pen), before + 2);
    ASSERT_NE(pens.find(b), nullptr);
    EXPECT_EQ(pens.find(b)->value, 2);
    EXPECT_TRUE(pens.remove(a));
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::Pen), before + 1);
}

TEST(HandleTable, StaleAndForeignHandlesFindNothing)
{
    win32::HandleTable<Thing> brushes(win32::HandleKind::Brush);
    const auto a = brushes.add(std::make_unique<Thing>());
    EXPECT_TRUE(brushes.remove(a));
    EXPECT_FALSE(brushes.remove(a)); // deleting twice is refused, not a crash
    EXPECT_EQ(brushes.find(a), nullptr);
    const auto b = brushes.add(std::make_unique<Thing>());
    EXPECT_NE(a, b); // a freed serial is not handed out again at once
    EXPECT_EQ(brushes.find(0), nullptr);
    EXPECT_EQ(win32::handleKind(0), win32::HandleKind{});
}

TEST(HandleTable, DestroyingATableReleasesItsCount)
{
    const auto before = win32::liveHandles(win32::HandleKind::Icon);
    {
        win32::HandleTable<Thing> icons(win32::HandleKind::Icon);
        icons.add(std::make_unique<Thing>());
        EXPECT_EQ(win32::liveHandles(win32::HandleKind::Icon), before + 1);
    }
    EXPECT_EQ(win32::liveHandles(win32::HandleKind::Icon), before);
}

} // namespace
