// Long work off the GUI thread: a function runs on one of the host's worker threads while the
// GUI thread goes on handling events; its progress and its result come back as queued events
// on the GUI thread, and the GUI thread never waits for it. The work stops early when it sees
// the cancel flag it polls. A task belongs to the window that receives its reports: once the
// task is gone (the window closed and destroyed), nothing calls back into that window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace host {

namespace detail {
struct WorkerState;
}

// What the work sees of its task, on the worker thread.
class WorkerProgress {
public:
    explicit WorkerProgress(std::shared_ptr<detail::WorkerState> state);

    // Whether the work has been asked to stop; the work polls it and returns early.
    [[nodiscard]] bool cancelled() const;
    // Reports how far the work is. Reports that come faster than the GUI thread takes them are
    // merged: the GUI thread sees the latest one.
    void report(std::uint64_t done, std::uint64_t total);

private:
    std::shared_ptr<detail::WorkerState> state_;
};

// One piece of long work at a time, owned by the window its reports go to.
class WorkerTask {
public:
    using ProgressHandler = std::function<void(std::uint64_t done, std::uint64_t total)>;

    WorkerTask() = default;
    WorkerTask(const WorkerTask&) = delete;
    WorkerTask& operator=(const WorkerTask&) = delete;
    // Cancels the work and drops its reports (see abandon()); does not wait for it.
    ~WorkerTask();

    // Runs `work` on a worker thread. On the GUI thread, each as an event of the program:
    // `onProgress` with the latest report, `onFinished` once with the result (also after a
    // cancel: the work decides what a cancelled result is). When the task is abandoned before
    // its result arrives, `onAbandoned` gets the result instead, on the GUI thread, so work that
    // finished regardless can be undone; it must not touch the window that owned the task.
    // A work still running is abandoned first.
    template <typename Result>
    void start(std::function<Result(WorkerProgress&)> work, const ProgressHandler& onProgress,
               std::function<void(Result)> onFinished, std::function<void(Result)> onAbandoned = {})
    {
        auto result = std::make_shared<std::optional<Result>>();
        startWork([work = std::move(work),
                   result](WorkerProgress& progress) { result->emplace(work(progress)); },
                  onProgress,
                  [result, finished = std::move(onFinished)] {
                      if (finished && result->has_value()) {
                          finished(std::move(**result));
                      }
                  },
                  [result, abandoned = std::move(onAbandoned)] {
                      if (abandoned && result->has_value()) {
                          abandoned(std::move(**result));
                      }
                  });
    }

    // Asks the work to stop; its result still comes to onFinished.
    void cancel();
    // Asks the work to stop and sends its result to onAbandoned instead of onFinished; no
    // report of this work reaches the owner any more.
    void abandon();
    // Whether a started work has not yet delivered its result to onFinished.
    [[nodiscard]] bool running() const;

private:
    void startWork(std::function<void(WorkerProgress&)> work, ProgressHandler onProgress,
                   std::function<void()> onFinished, std::function<void()> onAbandoned);

    std::shared_ptr<detail::WorkerState> state_;
};

// Waits until every work started so far has returned and delivers what they left to deliver
// (the abandoned ones' results included). Called once the message loop has ended, so files
// that finished work wrote for windows that are gone are undone before the process exits.
void finishWorkers();

} // namespace host
