// Screen updates that a long event may ask for many times (a list growing item by item, a
// status text counting up): published at most once per frame while an event runs, and always
// when the outermost event ends, so the window stays live without repainting per item.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace host {

class DeferredUpdate {
public:
    explicit DeferredUpdate(std::function<void()> publish);
    DeferredUpdate(const DeferredUpdate&) = delete;
    DeferredUpdate& operator=(const DeferredUpdate&) = delete;
    ~DeferredUpdate();

    // Marks the update pending; publishes at once outside events or when a frame has passed.
    void request();
    // Publishes now if pending.
    void flush();

private:
    std::function<void()> publish_;
    // When it was last published; none before the first time.
    std::optional<std::chrono::steady_clock::time_point> published_;
    bool pending_ = false;
};

// Publishes every pending update (the event boundary calls it when an event ends).
void flushDeferredUpdates();

// Whether an event of the program is running (events may nest through a yield).
bool insideEvent();

namespace detail {
void enterEvent();
void leaveEvent();
} // namespace detail

} // namespace host
