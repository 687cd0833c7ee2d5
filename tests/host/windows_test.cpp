#include "host/win32/windows.h"

#include <QDialog>
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

namespace {

using win32::GWL_EXSTYLE;
using win32::GWL_STYLE;
using win32::LONG;

TEST(WindowStyles, EachKindOfWindowStartsWithTheStylesOfItsWin32Counterpart)
{
    QDialog dialog;
    QWidget topLevel;
    auto* control = new QWidget(&topLevel); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    const win32::HWND dialogHandle = win32::registerWindow(&dialog);
    const win32::HWND topHandle = win32::registerWindow(&topLevel);
    const win32::HWND controlHandle = win32::registerWindow(control);

    EXPECT_EQ(win32::GetWindowLongA(dialogHandle, GWL_STYLE),
              win32::WS_POPUP | win32::WS_CLIPSIBLINGS | win32::WS_CAPTION | win32::WS_SYSMENU |
                  win32::DS_MODALFRAME);
    EXPECT_EQ(win32::GetWindowLongA(dialogHandle, GWL_EXSTYLE),
              win32::WS_EX_DLGMODALFRAME | win32::WS_EX_WINDOWEDGE | win32::WS_EX_CONTROLPARENT);
    EXPECT_EQ(win32::GetWindowLongA(topHandle, GWL_STYLE),
              win32::WS_OVERLAPPEDWINDOW | win32::WS_CLIPSIBLINGS | win32::WS_CLIPCHILDREN);
    EXPECT_EQ(win32::GetWindowLongA(topHandle, GWL_EXSTYLE), win32::WS_EX_WINDOWEDGE);
    EXPECT_EQ(win32::GetWindowLongA(controlHandle, GWL_STYLE),
              win32::WS_CHILD | win32::WS_CLIPSIBLINGS);
    EXPECT_EQ(win32::GetWindowLongA(controlHandle, GWL_EXSTYLE), 0);

    // Visibility and the enabled state are the widget's own, read when asked.
    topLevel.show();
    control->setEnabled(false);
    EXPECT_NE(win32::GetWindowLongA(topHandle, GWL_STYLE) & win32::WS_VISIBLE, 0);
    EXPECT_NE(win32::GetWindowLongA(controlHandle, GWL_STYLE) & win32::WS_DISABLED, 0);
    EXPECT_EQ(win32::GetWindowLongA(dialogHandle, GWL_STYLE) & win32::WS_VISIBLE, 0);
}

TEST(WindowStyles, SetWindowLongKeepsWhatIsWrittenAndAnswersThePreviousWord)
{
    QDialog dialog;
    const win32::HWND handle = win32::registerWindow(&dialog);
    const LONG original = win32::GetWindowLongA(handle, GWL_EXSTYLE);

    EXPECT_EQ(win32::SetWindowLongA(handle, GWL_EXSTYLE, original | win32::WS_EX_TOPMOST),
              original);
    EXPECT_EQ(win32::GetWindowLongA(handle, GWL_EXSTYLE), original | win32::WS_EX_TOPMOST);
    // The style words are separate: writing one leaves the other alone.
    const LONG style = win32::GetWindowLongA(handle, GWL_STYLE);
    EXPECT_EQ(win32::SetWindowLongA(handle, GWL_STYLE, style | win32::WS_THICKFRAME), style);
    EXPECT_EQ(win32::GetWindowLongA(handle, GWL_STYLE), style | win32::WS_THICKFRAME);
    EXPECT_EQ(win32::GetWindowLongA(handle, GWL_EXSTYLE), original | win32::WS_EX_TOPMOST);
    // Writing WS_VISIBLE does not claim a hidden window is shown.
    win32::SetWindowLongA(handle, GWL_STYLE, style | win32::WS_VISIBLE);
    EXPECT_EQ(win32::GetWindowLongA(handle, GWL_STYLE) & win32::WS_VISIBLE, 0);
}

TEST(WindowStyles, UnknownWindowsAndIndexesAnswerZeroAndChangeNothing)
{
    auto dialog = std::make_unique<QDialog>();
    const win32::HWND handle = win32::registerWindow(dialog.get());
    const LONG exStyle = win32::GetWindowLongA(handle, GWL_EXSTYLE);

    EXPECT_EQ(win32::GetWindowLongA(handle, -12), 0);
    EXPECT_EQ(win32::SetWindowLongA(handle, -12, 7), 0);
    EXPECT_EQ(win32::GetWindowLongA(handle, GWL_EXSTYLE), exStyle);
    EXPECT_EQ(win32::GetWindowLongA(0, GWL_STYLE), 0);
    EXPECT_EQ(win32::SetWindowLongA(0, GWL_EXSTYLE, win32::WS_EX_LAYERED), 0);

    dialog.reset();
    EXPECT_EQ(win32::GetWindowLongA(handle, GWL_EXSTYLE), 0);
    EXPECT_EQ(win32::SetWindowLongA(handle, GWL_EXSTYLE, win32::WS_EX_LAYERED), 0);
    EXPECT_EQ(win32::SetLayeredWindowAttributes(handle, 0, 128, win32::LWA_ALPHA), 0);
}

TEST(LayeredWindows, AlphaBecomesTheOpacityOfALayeredWindowOnly)
{
    QDialog dialog;
    const win32::HWND handle = win32::registerWindow(&dialog);
    const LONG exStyle = win32::GetWindowLongA(handle, GWL_EXSTYLE);

    // Win32 refuses the attributes until the window is layered.
    EXPECT_EQ(win32::SetLayeredWindowAttributes(handle, 0, 128, win32::LWA_ALPHA), 0);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);
    EXPECT_EQ(win32::GetLayeredWindowAttributes(handle, nullptr, nullptr, nullptr), 0);

    win32::SetWindowLongA(handle, GWL_EXSTYLE, exStyle | win32::WS_EX_LAYERED);
    EXPECT_EQ(win32::GetLayeredWindowAttributes(handle, nullptr, nullptr, nullptr), 0);
    EXPECT_NE(win32::SetLayeredWindowAttributes(handle, win32::RGB(1, 2, 3), 128, win32::LWA_ALPHA),
              0);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 128 / 255.0);
    win32::COLORREF key = 0;
    win32::BYTE alpha = 0;
    win32::DWORD flags = 0;
    ASSERT_NE(win32::GetLayeredWindowAttributes(handle, &key, &alpha, &flags), 0);
    EXPECT_EQ(key, win32::RGB(1, 2, 3));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, win32::LWA_ALPHA);

    // Without LWA_ALPHA the alpha value means nothing: the window is opaque.
    EXPECT_NE(win32::SetLayeredWindowAttributes(handle, 0, 10, 0), 0);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);
    win32::SetLayeredWindowAttributes(handle, 0, 0, win32::LWA_ALPHA);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 0.0);

    // Taking the layered style away makes the window opaque again and forgets its attributes.
    win32::SetWindowLongA(handle, GWL_EXSTYLE, exStyle);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);
    EXPECT_EQ(win32::GetLayeredWindowAttributes(handle, nullptr, nullptr, nullptr), 0);
}

TEST(LayeredWindows, ColourKeysAndChildWindowsAreRefusedRatherThanIgnored)
{
    QDialog dialog;
    auto* control = new QWidget(&dialog); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    const win32::HWND handle = win32::registerWindow(&dialog);
    const win32::HWND controlHandle = win32::registerWindow(control);
    win32::SetWindowLongA(handle, GWL_EXSTYLE, win32::WS_EX_LAYERED);
    win32::SetWindowLongA(controlHandle, GWL_EXSTYLE, win32::WS_EX_LAYERED);

    EXPECT_EQ(
        win32::SetLayeredWindowAttributes(handle, 0, 128, win32::LWA_COLORKEY | win32::LWA_ALPHA),
        0);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);
    EXPECT_EQ(win32::SetLayeredWindowAttributes(controlHandle, 0, 128, win32::LWA_ALPHA), 0);
    EXPECT_EQ(win32::GetLayeredWindowAttributes(controlHandle, nullptr, nullptr, nullptr), 0);
}

} // namespace

namespace {

TEST(WindowExtraBytes, HoldLongsAtTheirByteOffsetsAndNothingBeyond)
{
    QWidget window;
    const win32::HWND handle = win32::registerWindow(&window);
    EXPECT_EQ(win32::SetWindowLongA(handle, 0, 5), 0); // no extra bytes yet
    EXPECT_EQ(win32::GetWindowLongA(handle, 0), 0);

    win32::setWindowExtraBytes(handle, 8);
    EXPECT_EQ(win32::SetWindowLongA(handle, 0, 0x12345678), 0);
    EXPECT_EQ(win32::SetWindowLongA(handle, 4, -2), 0);
    EXPECT_EQ(win32::GetWindowLongA(handle, 0), 0x12345678);
    EXPECT_EQ(win32::GetWindowLongA(handle, 4), -2);
    EXPECT_EQ(win32::SetWindowLongA(handle, 5, 1), 0); // would reach past the eighth byte
    EXPECT_EQ(win32::GetWindowLongA(handle, 4), -2);
}

TEST(FindWindow, FindsTheFramesChildByClassInOrderSkippingUnregisteredLevels)
{
    QWidget frame;
    auto* client = new QWidget(&frame);     // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    auto* first = new QWidget(client);      // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    auto* second = new QWidget(&frame);     // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    auto* grandchild = new QWidget(second); // NOLINT(cppcoreguidelines-owning-memory)
    second->setWindowTitle("Second");
    const win32::HWND frameHandle = win32::registerWindow(&frame);
    const win32::HWND firstHandle = win32::registerWindow(first);
    const win32::HWND secondHandle = win32::registerWindow(second);
    const win32::HWND grandchildHandle = win32::registerWindow(grandchild);
    for (const win32::HWND handle : {firstHandle, secondHandle, grandchildHandle}) {
        win32::setWindowClassName(handle, "TestBar");
    }

    // The unregistered client widget is no window of its own: its child counts as the frame's.
    EXPECT_EQ(win32::FindWindowExA(frameHandle, 0, "testbar", nullptr), firstHandle);
    EXPECT_EQ(win32::FindWindowExA(frameHandle, firstHandle, "TESTBAR", nullptr), secondHandle);
    EXPECT_EQ(win32::FindWindowExA(frameHandle, secondHandle, "TestBar", nullptr), 0u);
    EXPECT_EQ(win32::FindWindowExA(frameHandle, 0, nullptr, "Second"), secondHandle);
    EXPECT_EQ(win32::FindWindowExA(frameHandle, 0, "OtherBar", nullptr), 0u);
    // Only direct children, and only after one of them.
    EXPECT_EQ(win32::FindWindowExA(frameHandle, grandchildHandle, "TestBar", nullptr), 0u);
    EXPECT_EQ(win32::FindWindowExA(secondHandle, 0, "TestBar", nullptr), grandchildHandle);
    // Without a class of its own a window answers to its Qt class.
    EXPECT_EQ(win32::windowClassName(frameHandle), "QWidget");
    EXPECT_EQ(win32::FindWindowExA(0x7FFFFFFF, 0, nullptr, nullptr), 0u);
}

} // namespace
