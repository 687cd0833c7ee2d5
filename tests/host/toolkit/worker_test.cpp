#include "host/toolkit/message_box.h"
#include "host/toolkit/worker.h"

#include <QTest>
#include <algorithm>
#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Report = std::pair<std::uint64_t, std::uint64_t>;

TEST(Worker, WorkRunsOffTheGuiThreadWhichGetsItsProgressAndResultAsEventsAndCanCancelIt)
{
    const std::thread::id gui = std::this_thread::get_id();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<std::thread::id> workerThread;

    std::vector<Report> reports;
    bool progressOnGuiThread = true;
    std::optional<std::string> result;
    host::WorkerTask task;
    task.start<std::string>(
        [&, released](host::WorkerProgress& progress) {
            workerThread.set_value(std::this_thread::get_id());
            released.wait(); // until the GUI thread, which must not be waiting, lets it go on
            for (std::uint64_t done = 1; done <= 1000; ++done) {
                progress.report(done, 1000);
            }
            return std::string("unpacked");
        },
        [&](std::uint64_t done, std::uint64_t total) {
            progressOnGuiThread = progressOnGuiThread && std::this_thread::get_id() == gui;
            reports.emplace_back(done, total);
        },
        [&](std::string value) { result = std::move(value); });

    // start() came back while the work is held: the GUI thread did not wait for it.
    EXPECT_NE(workerThread.get_future().get(), gui);
    EXPECT_TRUE(task.running());
    release.set_value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    EXPECT_EQ(*result, "unpacked");
    EXPECT_FALSE(task.running());
    EXPECT_TRUE(progressOnGuiThread);
    // Merged, never out of order, and the last one seen is the last one made.
    ASSERT_FALSE(reports.empty());
    EXPECT_LE(reports.size(), 1000u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), Report(1000, 1000));

    // A cancel is a flag the work polls; its result still comes back.
    std::optional<int> rounds;
    task.start<int>(
        [](host::WorkerProgress& progress) {
            int polled = 0;
            while (!progress.cancelled()) {
                ++polled;
                std::this_thread::yield();
            }
            return polled;
        },
        {}, [&](int value) { rounds = value; });
    QTest::qWait(20);
    EXPECT_FALSE(rounds.has_value()); // it runs until told to stop
    task.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rounds.has_value(); }, 10000));
    EXPECT_GT(*rounds, 0);
}

// Stands for a window that owns its task and goes away while the work runs.
struct Owner {
    host::WorkerTask task;
    std::vector<std::string> calls;
};

TEST(Worker, AnOwnerDestroyedFirstIsNeverCalledAndFinishedWorkIsHandedToItsUndo)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto owner = std::make_unique<Owner>();
    std::vector<std::string> undone;
    std::atomic<bool> cancelSeen = false;
    const auto start = [&](Owner& receiver, const std::string& name) {
        receiver.task.start<std::string>(
            [&, released, name](host::WorkerProgress& progress) {
                progress.report(1, 2);
                released.wait();
                if (progress.cancelled()) {
                    cancelSeen = true;
                }
                progress.report(2, 2);
                return name;
            },
            [&receiver](std::uint64_t, std::uint64_t) { receiver.calls.push_back("progress"); },
            [&receiver](std::string value) { receiver.calls.push_back(value); },
            [&](std::string value) { undone.push_back(value); });
    };

    start(*owner, "first");
    // A second start abandons the first: its result will go to the undo, not to the owner.
    start(*owner, "second");
    QTest::qWait(10);
    const std::vector<std::string> callsBeforeTheEnd = owner->calls;
    owner.reset();
    release.set_value();
    // What the message loop's end does: wait for the work and deliver what is left.
    host::finishWorkers();

    std::sort(undone.begin(), undone.end());
    EXPECT_EQ(undone, (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(cancelSeen);
    for (const std::string& call : callsBeforeTheEnd) {
        EXPECT_EQ(call, "progress"); // never the result of an abandoned work
    }

    // A work that throws is reported as a failed event, and the task is free again.
    std::vector<host::MessageBoxRequest> shown;
    const auto previous = host::setMessageBoxHandler([&](const host::MessageBoxRequest& box) {
        shown.push_back(box);
        return 1;
    });
    host::WorkerTask failing;
    failing.start<int>([](host::WorkerProgress&) -> int { throw std::runtime_error("disk gone"); },
                       {}, [](int) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failing.running(); }, 10000));
    host::setMessageBoxHandler(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("disk gone"), std::string::npos);
}

} // namespace
