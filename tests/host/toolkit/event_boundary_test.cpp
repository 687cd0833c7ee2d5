#include "host/toolkit/event_boundary.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/runtime_error.h"
#include "host/toolkit/static_text.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(EventBoundary, ARuntimeErrorEndsOnlyItsEventAndIsShown)
{
    std::vector<host::MessageBoxRequest> shown;
    const auto previous = host::setMessageBoxHandler([&](const host::MessageBoxRequest& box) {
        shown.push_back(box);
        return 1;
    });

    QWidget window;
    host::StaticText text(&window);
    text.resize(400, 100);
    int clicks = 0;
    // Clicks whose event ran past the point where the first one failed.
    int finishedClicks = 0;
    text.onClicked([&] {
        ++clicks;
        if (clicks == 1) {
            throw host::RuntimeError(host::RuntimeError::Kind::DivisionByZero, "1 / 0");
        }
        ++finishedClicks;
    });
    window.show();

    QTest::mouseClick(text.widget(), Qt::LeftButton, {}, QPoint(5, 5));
    // The error ended the first event where it was raised and was shown.
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(finishedClicks, 0);
    EXPECT_EQ(shown.size(), 1u);
    QTest::mouseClick(text.widget(), Qt::LeftButton, {}, QPoint(5, 5));
    host::setMessageBoxHandler(previous);

    EXPECT_EQ(clicks, 2); // the next event ran as usual, to its end
    EXPECT_EQ(finishedClicks, 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, host::Icon::StopSign);
    EXPECT_NE(shown[0].text.find("除数为零"), std::string::npos);
    EXPECT_NE(shown[0].text.find("1 / 0"), std::string::npos);
}

TEST(EventBoundary, ANullObjectErrorInAnEventReturnsFalse)
{
    std::vector<host::MessageBoxRequest> shown;
    const auto previous = host::setMessageBoxHandler([&](const host::MessageBoxRequest& box) {
        shown.push_back(box);
        return 1;
    });
    const bool completed = host::raiseEvent(
        [] { throw host::RuntimeError(host::RuntimeError::Kind::NullObject, "w_main"); });
    const bool fine = host::raiseEvent([] {});
    host::setMessageBoxHandler(previous);
    EXPECT_FALSE(completed);
    EXPECT_TRUE(fine);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("空对象引用"), std::string::npos);
}

} // namespace
