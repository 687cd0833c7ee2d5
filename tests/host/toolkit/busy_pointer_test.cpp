// The busy pointer scope: the hourglass while any scope lives, the arrow after the last.
#include "host/toolkit/builtins.h"

#include <QApplication>
#include <QCursor>
#include <gtest/gtest.h>

namespace {

bool hourglassShown()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

TEST(BusyPointerScope, TheArrowComesBackWhenTheOutermostScopeEnds)
{
    ASSERT_FALSE(hourglassShown());
    {
        const host::BusyPointerScope outer;
        EXPECT_TRUE(hourglassShown());
        {
            const host::BusyPointerScope inner;
            EXPECT_TRUE(hourglassShown());
        }
        EXPECT_TRUE(hourglassShown()) << "an inner scope ended while the outer still runs";
    }
    EXPECT_FALSE(hourglassShown());
}

TEST(BusyPointerScope, AnExceptionLeavingTheScopeRestoresTheArrow)
{
    try {
        const host::BusyPointerScope busy;
        throw 1;
    } catch (int) {
    }
    EXPECT_FALSE(hourglassShown());
}

} // namespace
