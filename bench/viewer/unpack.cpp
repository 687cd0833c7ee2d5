// How the viewer stays live while it unpacks a big member, in process on the offscreen
// platform: the longest lateness of a 5 ms timer on the GUI thread while a double-clicked member
// of SIZE MiB unpacks, against the same member unpacked the old way (the library called on the
// GUI thread, as the double-click did before); and what the progress reports cost the unpack
// itself (the library's unpack with a progress callback against the same entry without one).
// Run by bench/unpack-bench; with BENCH_RESULTS=1 in the environment it also prints
// tab-separated RESULT and NOTE lines for bench/run.
#include "app/browser.h"
#include "app/w_main.h"
#include "big_member_archive.h"
#include "browse/w_brow.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/message_box.h"
#include "karvex/karvex.h"
#include "viewer_session.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const char* const kMember = "big.varnelook-bench";

// The longest lateness of a 5 ms timer while `work` runs, from its start until `done` says it has
// ended.
double longestLateness(const std::function<void()>& work, const std::function<bool()>& done)
{
    constexpr int kInterval = 5;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    timer.start(kInterval);
    work();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    longest = std::max(longest, clock.nsecsElapsed() - last);
    timer.stop();
    return std::max(0.0, static_cast<double>(longest) / 1e6 - kInterval);
}

int noProgress(void* /*context*/, std::uint64_t /*done*/, std::uint64_t /*total*/)
{
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication toolkit(argc, argv);
    const int sizeMiB = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 768;
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 3;
    if (sizeMiB < 1 || runs < 1) {
        std::fprintf(stderr, "usage: %s [SIZE_MIB] [RUNS]   (whole numbers from 1)\n", argv[0]);
        return 2;
    }
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const std::string zip = folder.filePath("big.zqr").toStdString();
    const std::string target = folder.filePath(kMember).toStdString();
    if (!testing_support::writeBigMemberArchive(zip, kMember,
                                                static_cast<std::uint64_t>(sizeMiB) << 20)) {
        std::fprintf(stderr, "cannot write the archive\n");
        return 1;
    }
    // The member's type has no application: the open fails with 31, and the box is answered.
    int boxes = 0;
    host::setMessageBoxHandler([&](const host::MessageBoxRequest&) { return ++boxes, 1; });

    browser application;
    w_brow* sheet = bench::startViewer(application);
    if (sheet == nullptr) {
        return 1;
    }
    auto* catalogue = sheet->lv_zip->listWidget();
    QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, {},
                      catalogue->visualRect(catalogue->model()->index(0, 0)).center());
    auto* members = sheet->lv_fileico->listWidget();
    // The list is read beside the window: the member is there once the hourglass has gone.
    if (!QTest::qWaitFor(
            [&] {
                return QApplication::overrideCursor() == nullptr &&
                       members->model()->rowCount() > 0;
            },
            60000)) {
        std::fprintf(stderr, "unpack-bench: the archive was not listed within a minute\n");
        return 1;
    }
    const QPoint member = members->visualRect(members->model()->index(0, 0)).center();

    const auto viewerRoute = [&] {
        QFile::remove(QString::fromStdString(target));
        return longestLateness(
            [&] { QTest::mouseDClick(members->viewport(), Qt::LeftButton, {}, member); },
            [&] { return !sheet->unpacking() && QFile::exists(QString::fromStdString(target)); });
    };
    const auto oldRoute = [&] {
        QFile::remove(QString::fromStdString(target));
        bool finished = false;
        return longestLateness(
            [&] {
                std::string zipCopy = zip;
                std::string name = kMember;
                std::string save = target;
                GetFileFromZipFile2(zipCopy.data(), name.data(), save.data());
                finished = true;
            },
            [&] { return finished; });
    };
    // Once each first: the desktop-open module loads at the first open, the file cache warms.
    viewerRoute();
    oldRoute();
    std::vector<double> viewer;
    std::vector<double> old;
    for (int run = 0; run < runs; ++run) {
        viewer.push_back(viewerRoute());
        old.push_back(oldRoute());
    }
    if (!QFile::exists(QString::fromStdString(target)) || boxes < runs) {
        std::fprintf(stderr, "the member was not unpacked and opened\n");
        return 1;
    }

    // The library alone, with and without its progress reports, interleaved.
    const auto unpackSeconds = [&](KarvexProgressCallback progress) {
        QFile::remove(QString::fromStdString(target));
        const auto start = std::chrono::steady_clock::now();
        const std::int32_t code = KarvexExtractMember(zip.c_str(), kMember, target.c_str(),
                                                      KARVEX_EXTRACT_DEFAULT, progress, nullptr);
        const auto end = std::chrono::steady_clock::now();
        return code == KARVEX_OK ? std::chrono::duration<double>(end - start).count() : -1.0;
    };
    std::vector<double> withProgress;
    std::vector<double> without;
    for (int run = 0; run < 2 * runs + 3; ++run) {
        // Each goes first every other time, so neither always follows the other's clean-up.
        if (run % 2 == 0) {
            withProgress.push_back(unpackSeconds(noProgress));
            without.push_back(unpackSeconds(nullptr));
        } else {
            without.push_back(unpackSeconds(nullptr));
            withProgress.push_back(unpackSeconds(noProgress));
        }
        if (withProgress.back() < 0 || without.back() < 0) {
            std::fprintf(stderr, "the library's unpack failed\n");
            return 1;
        }
    }
    QFile::remove(QString::fromStdString(target));

    const double mib = sizeMiB;
    std::printf("unpack a %d MiB member (deflated), %d runs each\n", sizeMiB, runs);
    std::printf("GUI thread's longest timer lateness: viewer median %.1f ms (max %.1f), old "
                "synchronous route median %.1f ms (max %.1f); goal <= 50 ms\n",
                median(viewer), *std::max_element(viewer.begin(), viewer.end()), median(old),
                *std::max_element(old.begin(), old.end()));
    std::printf("library unpack: with progress %.0f ms (%.0f MiB/s), without %.0f ms (%.0f MiB/s), "
                "ratio %.3f\n",
                median(withProgress) * 1e3, mib / median(withProgress), median(without) * 1e3,
                mib / median(without), median(withProgress) / median(without));
    if (qEnvironmentVariable("BENCH_RESULTS") == "1") {
        std::printf("RESULT\tGUI stall during a %d MiB unpack: viewer / old route\t%.3f\t%.3f\tms"
                    "\tours <= 50\n",
                    sizeMiB, median(viewer), median(old));
        std::printf(
            "RESULT\tunpack %d MiB: with progress / without\t%.3f\t%.3f\tms\tratio <= 1.05\n",
            sizeMiB, median(withProgress) * 1e3, median(without) * 1e3);
        std::printf(
            "NOTE\tGUI stall: largest lateness of a 5 ms timer on the GUI thread, median of "
            "%d runs; the old route calls the library on the GUI thread as the double-click "
            "did before; unpack with progress %.0f MiB/s, without %.0f MiB/s\n",
            runs, mib / median(withProgress), mib / median(without));
    }

    bench::closeViewer(application);
    return 0;
}
