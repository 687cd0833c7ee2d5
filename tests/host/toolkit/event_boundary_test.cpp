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
    int stepsAfterError = 0;
    text.onClicked([&] {
        ++clicks;
        if (clicks == 1) {
            throw host::RuntimeError(host::RuntimeError::Kind::DivisionByZero, "1 / 0");
        }
    });
    window.show();

    QTest::mouseClick(text.widget(), Qt::LeftButton, {}, QPoint(5, 5));
    ++stepsAfterError; // the program is still running after the failed event
    QTest::mouseClick(text.widget(), Qt::LeftButton, {}, QPoint(5, 5));
    host::setMessageBoxHandler(previous);

    EXPECT_EQ(clicks, 2); // the next event ran as usual
    EXPECT_EQ(stepsAfterError, 1);
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
