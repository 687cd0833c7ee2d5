#include "host/toolkit/response_window.h"
#include "host/toolkit/window_internal.h"

#include <QTimer>
#include <QWidget>
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
        QWidget& dialog = host::widgetOf(*this);
        QTimer::singleShot(0, &dialog, [this, &dialog] {
            parentWhileOpen = dialog.parentWidget();
            events.emplace_back(dialog.isModal() && dialog.isVisible() ? "shown modal"
                                                                       : "not shown");
            dialog.close();
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
    EXPECT_FALSE(host::widgetOf(probe).isVisible());
}

} // namespace
