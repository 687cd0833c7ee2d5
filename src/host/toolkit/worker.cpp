#include "host/toolkit/worker.h"

#include "host/toolkit/event_boundary.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

namespace host {

namespace detail {

struct WorkerState {
    // Written by the GUI thread, read by the worker.
    std::atomic<bool> cancelled{false};

    // The latest progress report and whether an event carrying it is on its way; the worker
    // posts one event at a time, so a fast worker cannot flood the GUI thread's queue.
    std::mutex progressMutex;
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    bool progressPosted = false;

    // Set by the worker before it posts the finish; read by the GUI thread after.
    std::exception_ptr error;

    // The GUI thread's side.
    bool abandoned = false;
    bool delivered = false;
    WorkerTask::ProgressHandler onProgress;
    std::function<void()> onFinished;
    std::function<void()> onAbandoned;
};

} // namespace detail

namespace {

using detail::WorkerState;

QThreadPool& workers()
{
    // Threads of their own, so the host's long work never waits behind other users of Qt's
    // global pool; a few more than the cores, because a cancelled work may still be winding
    // down while the work that replaced it starts.
    static QThreadPool pool;
    static const bool sized = [] {
        pool.setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        return true;
    }();
    (void)sized;
    return pool;
}

// A call carried to the GUI thread by its event queue.
class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> call) : QEvent(kind()), call_(std::move(call)) {}
    static QEvent::Type kind()
    {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }
    void run() const { call_(); }

private:
    std::function<void()> call_;
};

// Lives on the GUI thread and runs the calls posted to it there.
class GuiThreadCalls : public QObject {
public:
    using QObject::QObject;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != CallEvent::kind()) {
            return QObject::event(event);
        }
        static_cast<const CallEvent*>(event)->run();
        return true;
    }
};

// The receiver of the calls; made on the GUI thread by the first start, owned by the
// application object (Qt parent).
QPointer<GuiThreadCalls>& guiThreadCalls()
{
    static QPointer<GuiThreadCalls> calls;
    if (calls.isNull() && QCoreApplication::instance() != nullptr &&
        QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): owned by its Qt parent
        calls = new GuiThreadCalls(QCoreApplication::instance());
    }
    return calls;
}

// Runs `call` on the GUI thread, after the events already queued there.
void postToGuiThread(std::function<void()> call)
{
    GuiThreadCalls* receiver = guiThreadCalls().data();
    if (receiver == nullptr) {
        return;
    }
    // The queue owns the event until it has been delivered.
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory)
    QCoreApplication::postEvent(receiver, new CallEvent(std::move(call)));
}

void deliverProgress(const std::shared_ptr<WorkerState>& state)
{
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    {
        const std::lock_guard lock(state->progressMutex);
        state->progressPosted = false;
        done = state->done;
        total = state->total;
    }
    if (state->abandoned || state->delivered || !state->onProgress) {
        return;
    }
    raiseEvent([&] { state->onProgress(done, total); });
}

void deliverFinish(const std::shared_ptr<WorkerState>& state)
{
    if (state->delivered) {
        return;
    }
    state->delivered = true;
    if (state->error) {
        // The work failed in a way it did not report itself: shown like any failed event.
        raiseEvent([&] { std::rethrow_exception(state->error); });
        return;
    }
    // Taken out first: the handler may start the next work of the same task.
    std::function<void()> handler =
        std::exchange(state->abandoned ? state->onAbandoned : state->onFinished, {});
    state->onProgress = {};
    if (handler) {
        raiseEvent(handler);
    }
}

} // namespace

WorkerProgress::WorkerProgress(std::shared_ptr<detail::WorkerState> state)
    : state_(std::move(state))
{
}

bool WorkerProgress::cancelled() const
{
    return state_->cancelled.load(std::memory_order_relaxed);
}

void WorkerProgress::report(std::uint64_t done, std::uint64_t total)
{
    {
        const std::lock_guard lock(state_->progressMutex);
        state_->done = done;
        state_->total = total;
        if (state_->progressPosted) {
            return;
        }
        state_->progressPosted = true;
    }
    postToGuiThread([state = state_] { deliverProgress(state); });
}

WorkerTask::~WorkerTask()
{
    abandon();
}

void WorkerTask::startWork(std::function<void(WorkerProgress&)> work, ProgressHandler onProgress,
                           std::function<void()> onFinished, std::function<void()> onAbandoned)
{
    abandon();
    guiThreadCalls(); // made here, on the GUI thread, before any worker posts to it
    auto state = std::make_shared<WorkerState>();
    state->onProgress = std::move(onProgress);
    state->onFinished = std::move(onFinished);
    state->onAbandoned = std::move(onAbandoned);
    state_ = state;
    workers().start([state, work = std::move(work)] {
        WorkerProgress progress(state);
        try {
            work(progress);
        } catch (...) {
            state->error = std::current_exception();
        }
        postToGuiThread([state] { deliverFinish(state); });
    });
}

void WorkerTask::cancel()
{
    if (state_) {
        state_->cancelled = true;
    }
}

void WorkerTask::abandon()
{
    if (!state_) {
        return;
    }
    state_->cancelled = true;
    state_->abandoned = true;
    // What was bound to the owner goes now: nothing of it is called any more.
    state_->onProgress = {};
    state_->onFinished = {};
    state_.reset();
}

bool WorkerTask::running() const
{
    return state_ && !state_->delivered;
}

void finishWorkers()
{
    workers().waitForDone();
    if (GuiThreadCalls* receiver = guiThreadCalls().data()) {
        QCoreApplication::sendPostedEvents(receiver, CallEvent::kind());
    }
}

} // namespace host
