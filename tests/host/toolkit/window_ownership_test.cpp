// Who owns the program's windows: the frame its sheets, the host's list of open windows the
// frames it opened, whoever opens a response window that one. Each window object goes once,
// after its close event has ended, and while its widget (and its controls') are still there.
#include "host/toolkit/frame.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/response_window.h"
#include "host/toolkit/sheet.h"
#include "host/toolkit/static_text.h"
#include "host/toolkit/window_functions.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// What happened to the windows of a test, in order.
std::vector<std::string>& events()
{
    static std::vector<std::string> happened;
    return happened;
}

// A sheet with a control, which notes its close event and whether its widget and its control's
// widget were still there when it went.
class NotingSheet : public host::Sheet {
public:
    NotingSheet() : text_(std::make_unique<host::StaticText>(*this)) {}
    ~NotingSheet() override
    {
        events().push_back(handle() != 0 && text_->widget() != nullptr ? "sheet gone, widgets there"
                                                                       : "sheet gone, widgets not");
    }

protected:
    void onClose() override { events().emplace_back("sheet close"); }

private:
    std::unique_ptr<host::StaticText> text_;
};

class NotingFrame : public host::Frame {
public:
    // Noted first thing: the host's part of the frame, its sheets with it, goes after this.
    ~NotingFrame() override { events().emplace_back("frame going"); }

protected:
    void onClose() override { events().emplace_back("frame close"); }
};

void letClosedWindowsGo()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class WindowOwnership : public testing::Test {
protected:
    WindowOwnership() { events().clear(); }
};

TEST_F(WindowOwnership, AClosedSheetGoesAfterItsCloseEventWithItsWidgetsStillThere)
{
    NotingFrame frame;
    NotingSheet* sheet = frame.opensheet<NotingSheet>(1);
    const QPointer<QMdiSubWindow> sub =
        qobject_cast<QMdiSubWindow*>(host::widgetOf(*sheet).parentWidget());
    ASSERT_FALSE(sub.isNull());

    host::close(*sheet);
    // Closed, no longer listed, but still there until its close event has long ended.
    EXPECT_TRUE(frame.sheets().empty());
    EXPECT_TRUE(sheet->closing());
    EXPECT_EQ(events(), std::vector<std::string>{"sheet close"});
    letClosedWindowsGo();

    EXPECT_EQ(events(), (std::vector<std::string>{"sheet close", "sheet gone, widgets there"}));
    EXPECT_TRUE(sub.isNull());
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
}

TEST_F(WindowOwnership, AFrameDestroysItsOpenSheetsBeforeItsOwnWidget)
{
    {
        NotingFrame frame;
        frame.opensheet<NotingSheet>(1);
        EXPECT_EQ(frame.sheets().size(), 1u);
    }
    EXPECT_EQ(events(), (std::vector<std::string>{"frame going", "sheet gone, widgets there"}));
}

TEST_F(WindowOwnership, AnOpenedFrameLivesUntilItHasClosedThenTheHostDestroysItAndItsSheets)
{
    NotingFrame* frame = host::open<NotingFrame>();
    frame->opensheet<NotingSheet>(1);
    const QPointer<QWidget> widget = &host::widgetOf(*frame);
    letClosedWindowsGo();
    EXPECT_TRUE(events().empty());
    EXPECT_TRUE(widget->isVisible());

    host::close(*frame);
    EXPECT_EQ(events(), (std::vector<std::string>{"sheet close", "frame close"}));
    letClosedWindowsGo();

    EXPECT_EQ(events(), (std::vector<std::string>{"sheet close", "frame close",
                                                  "sheet gone, widgets there", "frame going"}));
    EXPECT_TRUE(widget.isNull());
}

TEST_F(WindowOwnership, FramesStillOpenAtTheEndAreDestroyedWhileTheToolkitIsThere)
{
    host::open<NotingFrame>()->opensheet<NotingSheet>(1);
    host::destroyOpenWindows();
    EXPECT_EQ(events(), (std::vector<std::string>{"frame going", "sheet gone, widgets there"}));
}

// A box whose parent goes while it is open, from inside its modal loop.
class OrphanedBox : public host::ResponseWindow {
public:
    explicit OrphanedBox(std::unique_ptr<NotingFrame>& parent)
        : host::ResponseWindow(parent.get()), text_(std::make_unique<host::StaticText>(*this))
    {
        QTimer::singleShot(0, &host::widgetOf(*this), [&parent] { parent.reset(); });
    }
    ~OrphanedBox() override { events().emplace_back("box gone"); }

private:
    std::unique_ptr<host::StaticText> text_;
};

TEST_F(WindowOwnership, AResponseWindowWhoseParentWentFirstGoesOnceWithItsOpener)
{
    auto parent = std::make_unique<NotingFrame>();
    host::widgetOf(*parent).show();
    {
        OrphanedBox box(parent);
        box.openModal(); // returns when the parent takes the box's widget with it
        EXPECT_EQ(parent, nullptr);
        EXPECT_EQ(box.handle(), 0u);
    }
    EXPECT_EQ(events(), (std::vector<std::string>{"frame going", "box gone"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
