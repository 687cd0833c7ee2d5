#include "host/toolkit/deferred_update.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace host {

namespace {

// About one frame of a 60 Hz display.
constexpr std::chrono::milliseconds kFrame(16);

std::vector<DeferredUpdate*>& pendingUpdates()
{
    static std::vector<DeferredUpdate*> pending;
    return pending;
}

int& eventDepth()
{
    static int depth = 0;
    return depth;
}

void forget(DeferredUpdate* update)
{
    auto& pending = pendingUpdates();
    pending.erase(std::remove(pending.begin(), pending.end(), update), pending.end());
}

} // namespace

DeferredUpdate::DeferredUpdate(std::function<void()> publish) : publish_(std::move(publish)) {}

DeferredUpdate::~DeferredUpdate()
{
    forget(this);
}

void DeferredUpdate::request()
{
    if (!pending_) {
        pending_ = true;
        pendingUpdates().push_back(this);
    }
    if (!insideEvent() || !published_ || std::chrono::steady_clock::now() - *published_ >= kFrame) {
        flush();
    }
}

void DeferredUpdate::flush()
{
    if (!pending_) {
        return;
    }
    pending_ = false;
    forget(this);
    published_ = std::chrono::steady_clock::now();
    publish_();
}

void flushDeferredUpdates()
{
    // Publishing may request further updates; take them one at a time until none is left.
    while (!pendingUpdates().empty()) {
        pendingUpdates().front()->flush();
    }
}

bool insideEvent()
{
    return eventDepth() > 0;
}

namespace detail {
void enterEvent()
{
    ++eventDepth();
}

void leaveEvent()
{
    if (--eventDepth() == 0) {
        flushDeferredUpdates();
    }
}
} // namespace detail

} // namespace host
