// A window that shows how far a long piece of work is and lets the user cancel it: a line of
// text (what is being worked on), a bar, a line of figures and one button. It belongs to a
// sheet and is modal to that sheet only: while it shows, the sheet takes no input, but the
// frame's menus, its other sheets and the sheet's own close box still work. It appears only
// when the work outlasts a delay, so short work never flashes a window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace host {

class Sheet;

class ProgressWindow {
public:
    ProgressWindow(Sheet& owner, const std::string& title, const std::string& buttonText);
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    // Closes the window and gives the sheet its input back.
    ~ProgressWindow();

    // Shows the window once `milliseconds` have passed, unless it is destroyed first.
    void showAfter(int milliseconds);
    [[nodiscard]] bool visible() const;

    void setText(const std::string& text);
    // The bar at done of total, and the figures line under it.
    void setProgress(std::uint64_t done, std::uint64_t total, const std::string& figures);

    // Raised when the user presses the button, closes the window or presses Escape; the window
    // stays until its owner destroys it.
    void onCancel(std::function<void()> handler);

    // The window's object name, by which tests and screenshots find it among the top-level
    // windows.
    static constexpr const char* kObjectName = "ProgressWindow";

private:
    struct Window;
    std::unique_ptr<Window> window_;
};

} // namespace host
