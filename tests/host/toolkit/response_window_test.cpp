#include "host/toolkit/response_window.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Records its events and closes itself as soon as it is open.
class Probe : public host::ResponseWindow {
public:
    using host::ResponseWindow::ResponseWindow;
    std::vector<std::string> events;
    QWidget* parentWhileOpen = nullptr;

protected:
    void onOpen() override
    {
        events.emplace_back("open");
        setTitle("probe");
        QTimer::singleShot(0, this, [this] {
            parentWhileOpen = parentWidget();
            events.emplace_back(isModal() && isVisible() ? "shown modal" : "not shown");
            close();
        });
    }
    void onClose() override { events.emplace_back("close"); }
};

TEST(ResponseWindow, OpensModalOverItsParentAndReturnsWhenItCloses)
{
    QWidget parent;
    parent.show();
    Probe probe(&parent);
    probe.openModal(); // returns only once the window has closed
    EXPECT_EQ(probe.events, (std::vector<std::string>{"open", "shown modal", "close"}));
    EXPECT_EQ(probe.parentWhileOpen, &parent);
    EXPECT_EQ(probe.title(), "probe");
    EXPECT_NE(probe.handle(), 0u);
    EXPECT_FALSE(probe.isVisible());
}

} // namespace
