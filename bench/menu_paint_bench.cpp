// Paint of the File popup (six entries, the first highlighted) in the frame's look, through the
// viewer's own popup and owner-draw route, against a plain QMenu with the same entries painted
// into a picture of the same size, in one run.
// Prints each median per popup and per entry, then the ratio engine / QMenu.
//
//   menu-paint-bench [--benchmark_repetitions=N ...]
#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/stock_pictures.h"
#include "menu/nvo_supermenu_class.h"
#include "menu_preview/file_menu_window.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using menupreview::FileMenuWindow;

constexpr int kEntries = FileMenuWindow::kEntryCount;

// The popup size both paints use: the size of the viewer's File popup.
QSize popupSize()
{
    FileMenuWindow window;
    return window.openFilePopup(FileMenuWindow::kOpenEntry).size();
}

void setCounters(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kEntries);
    state.counters["per_entry"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kEntries),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void EnginePopupPaint(benchmark::State& state)
{
    FileMenuWindow window;
    window.engine().menustyle = nvo_supermenu_class::style_officexp2;
    window.engine().menubkstyle = nvo_supermenu_class::style_bkamb;
    // Opened and laid out once, as a popup is when it opens; then only painted.
    host::OwnerDrawMenu& popup = window.openFilePopup(FileMenuWindow::kOpenEntry);
    QImage picture(popup.size(), QImage::Format_RGB32);
    // The library's loop idiom: the loop variable only counts iterations.
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        popup.render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
    setCounters(state);
}

QIcon stockIcon(const char* name, win32::StockPictureKind kind)
{
    const win32::StockPicture* picture = win32::stockPictures().find(name, kind);
    if (picture == nullptr) {
        return {};
    }
    const QImage image = win32::StockPictureIndex::load(*picture);
    QPixmap pixmap = QPixmap::fromImage(image);
    if (kind == win32::StockPictureKind::Bitmap && !image.isNull()) {
        pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, 0))));
    }
    return QIcon(pixmap);
}

// The same six entries as a plain QMenu, the first one active.
std::unique_ptr<QMenu> plainFileMenu()
{
    auto menu = std::make_unique<QMenu>();
    using Kind = win32::StockPictureKind;
    QAction* open = menu->addAction(stockIcon("Custom050!", Kind::Bitmap), "打开\tO");
    menu->addAction(stockIcon("Custom039!", Kind::Bitmap), "关闭\tC");
    QAction* help = menu->addAction(stockIcon("help!", Kind::Bitmap), "Help for Varnelook\tH");
    help->setCheckable(true);
    help->setChecked(true);
    menu->addAction(stockIcon("Asterisk!", Kind::Icon), "About...\tA")->setEnabled(false);
    menu->addSeparator();
    menu->addAction(stockIcon("exit!", Kind::Bitmap), "退出\tQ");
    menu->setActiveAction(open);
    return menu;
}

void QMenuPopupPaint(benchmark::State& state)
{
    const std::unique_ptr<QMenu> menu = plainFileMenu();
    const QSize size = popupSize();
    menu->ensurePolished();
    menu->resize(size);
    QImage picture(size, QImage::Format_RGB32);
    // The library's loop idiom: the loop variable only counts iterations.
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        menu->render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
    setCounters(state);
}

// Prints the table as usual and keeps each benchmark's medians for the closing ratio.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the output usually goes to a log.
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") {
                continue;
            }
            // The adjusted times are in the run's unit; keep microseconds.
            const double toMicroseconds = 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            medians_[run.run_name.function_name] = {run.GetAdjustedRealTime() * toMicroseconds,
                                                    run.GetAdjustedCPUTime() * toMicroseconds};
        }
    }

    // Answers false when a median is missing.
    [[nodiscard]] bool printRatio() const
    {
        const auto engine = medians_.find("EnginePopupPaint");
        const auto plain = medians_.find("QMenuPopupPaint");
        if (engine == medians_.end() || plain == medians_.end() || plain->second.real <= 0 ||
            plain->second.cpu <= 0) {
            std::printf("ratio: needs both benchmarks, each with repetitions\n");
            return false;
        }
        const auto line = [](const char* what, double engineUs, double plainUs) {
            std::printf("%s median per popup: engine %.1f us, QMenu %.1f us; per entry: engine "
                        "%.1f us, QMenu %.1f us; ratio engine / QMenu %.2f (target <= 2)\n",
                        what, engineUs, plainUs, engineUs / kEntries, plainUs / kEntries,
                        engineUs / plainUs);
        };
        line("wall", engine->second.real, plain->second.real);
        line("cpu ", engine->second.cpu, plain->second.cpu);
        return true;
    }

private:
    struct Medians {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Medians> medians_;
};

} // namespace

BENCHMARK(EnginePopupPaint)->Unit(benchmark::kMicrosecond)->Repetitions(9);
BENCHMARK(QMenuPopupPaint)->Unit(benchmark::kMicrosecond)->Repetitions(9);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool complete = reporter.printRatio();
    benchmark::Shutdown();
    return complete ? 0 : 1;
}
