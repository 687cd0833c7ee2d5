// A probe that scripts/package-check loads into the installed viewer with LD_PRELOAD. Once the
// viewer's event loop runs, it finds the frame and the sheet's two list views the way a user sees
// them, writes what the viewer shows at start (the catalogue, the archive marked in it, the
// sheet's title), clicks the first archive of the catalogue with the mouse, writes what the viewer
// then shows (catalogue, members, status line, sheet title, any message box) to standard output,
// one item a line, and closes the frame as its close box does. The viewer knows nothing of it: the
// probe reaches it only through Qt's widgets.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>
#include <utility>

namespace {

// How often and how many times the probe looks for what it waits for; the check's own time
// limit ends a viewer that never gets there.
constexpr int kPollMilliseconds = 50;
constexpr int kMaxPolls = 400;

// The status text the viewer shows once an archive's listing is complete ("总共:N个文件").
const QString kListingDone = QStringLiteral("总共:");

void report(const QString& what, const QString& value = {})
{
    const QByteArray line = (value.isNull() ? what : what + QStringLiteral(": ") + value).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QMainWindow* visibleFrame()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* frame = qobject_cast<QMainWindow*>(window);
            frame != nullptr && frame->isVisible()) {
            return frame;
        }
    }
    return nullptr;
}

// The sheet's list views, left to right: the catalogue, then the member list.
std::pair<QListView*, QListView*> listViews(QMainWindow& frame)
{
    QList<QListView*> views;
    for (QListView* view : frame.findChildren<QListView*>()) {
        if (view->inherits("host::ListViewWidget") && view->isVisible()) {
            views.append(view);
        }
    }
    if (views.size() != 2) {
        return {nullptr, nullptr};
    }
    std::sort(views.begin(), views.end(), [&frame](const QListView* a, const QListView* b) {
        return a->mapTo(&frame, QPoint(0, 0)).x() < b->mapTo(&frame, QPoint(0, 0)).x();
    });
    return {views.front(), views.back()};
}

QStringList itemsOf(const QListView& view)
{
    QStringList items;
    const QAbstractItemModel* model = view.model();
    for (int row = 0; model != nullptr && row < model->rowCount(); ++row) {
        items.append(model->index(row, 0).data().toString());
    }
    return items;
}

// The frame's status text is the first label of its status bar.
QString statusLine(QMainWindow& frame)
{
    const auto labels = frame.statusBar()->findChildren<QLabel*>();
    return labels.isEmpty() ? QString() : labels.front()->text();
}

QString sheetTitle(QMainWindow& frame)
{
    auto* area = frame.findChild<QMdiArea*>();
    if (area == nullptr || area->subWindowList().isEmpty()) {
        return {};
    }
    return area->subWindowList().front()->windowTitle();
}

class Probe : public QObject {
public:
    explicit Probe(QObject* parent) : QObject(parent)
    {
        // Message boxes are modal: this timer still runs inside their loop, reports them and
        // answers them, so that a failure shows in the output instead of a hung viewer.
        connect(&messageBoxes_, &QTimer::timeout, this, &Probe::answerMessageBox);
        messageBoxes_.start(kPollMilliseconds);
        poll_.setSingleShot(true);
        connect(&poll_, &QTimer::timeout, this, &Probe::poll);
        waitForCatalogue();
    }

private:
    // From the event loop on, polls `ready` until it holds, then runs `next`; gives up after
    // kMaxPolls.
    void when(std::function<bool()> ready, std::function<void()> next, const char* waitingFor)
    {
        ready_ = std::move(ready);
        next_ = std::move(next);
        waitingFor_ = waitingFor;
        polls_ = 0;
        poll_.start(0);
    }

    void poll()
    {
        if (ready_()) {
            const std::function<void()> next = std::move(next_);
            next();
            return;
        }
        if (++polls_ > kMaxPolls) {
            report(QStringLiteral("probe: gave up waiting for"), QString::fromUtf8(waitingFor_));
            finish();
            return;
        }
        poll_.start(kPollMilliseconds);
    }

    void waitForCatalogue()
    {
        when(
            [this] {
                frame_ = visibleFrame();
                if (frame_ == nullptr) {
                    return false;
                }
                std::tie(catalogue_, members_) = listViews(*frame_);
                return catalogue_ != nullptr && catalogue_->model() != nullptr &&
                       catalogue_->model()->rowCount() > 0;
            },
            [this] { waitForStartListing(); }, "a frame with archives in its catalogue");
    }

    // An archive the viewer was started on is marked and being listed: the probe lets that
    // listing end before it reports what the viewer shows at start.
    void waitForStartListing()
    {
        when(
            [this] {
                return frame_ != nullptr && (!catalogue_->selectionModel()->hasSelection() ||
                                             statusLine(*frame_).startsWith(kListingDone));
            },
            [this] { clickFirstArchive(); }, "the end of the start archive's listing");
    }

    void clickFirstArchive()
    {
        report(QStringLiteral("folder"), QDir::currentPath());
        const QStringList archives = itemsOf(*catalogue_);
        for (const QString& archive : archives) {
            report(QStringLiteral("catalogue"), archive);
        }
        for (const QModelIndex& marked : catalogue_->selectionModel()->selectedIndexes()) {
            report(QStringLiteral("marked"), marked.data().toString());
        }
        report(QStringLiteral("title at start"), sheetTitle(*frame_));
        report(QStringLiteral("click"), archives.front());
        clicked_ = archives.front();
        const QRect item = catalogue_->visualRect(catalogue_->model()->index(0, 0));
        QTest::mouseClick(catalogue_->viewport(), Qt::LeftButton, {}, item.center());
        waitForMembers();
    }

    void waitForMembers()
    {
        // The list is read beside the window: until the clicked archive's listing ends, the
        // status line may still show the start archive's total, so its title must name it too.
        when(
            [this] {
                return frame_ != nullptr && statusLine(*frame_).startsWith(kListingDone) &&
                       sheetTitle(*frame_) == QStringLiteral("在浏览<%1>").arg(clicked_);
            },
            [this] {
                const QStringList members =
                    members_ != nullptr ? itemsOf(*members_) : QStringList();
                for (const QString& member : members) {
                    report(QStringLiteral("member"), member);
                }
                report(QStringLiteral("status"), statusLine(*frame_));
                report(QStringLiteral("title"), sheetTitle(*frame_));
                finish();
            },
            "the end of the listing");
    }

    void answerMessageBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        report(QStringLiteral("message box"),
               box->windowTitle() + QStringLiteral(": ") + box->text());
        box->done(QMessageBox::Ok);
    }

    // Closes the frame as its close box does; the viewer then ends on its own.
    void finish()
    {
        if (frame_ == nullptr) {
            report(QStringLiteral("probe: no frame to close"));
            QCoreApplication::exit(3);
            return;
        }
        report(QStringLiteral("probe: closing the frame"));
        frame_->close();
    }

    QTimer messageBoxes_;
    QTimer poll_;
    std::function<bool()> ready_;
    std::function<void()> next_;
    const char* waitingFor_ = "";
    QString clicked_;
    QPointer<QMainWindow> frame_;
    QPointer<QListView> catalogue_;
    QPointer<QListView> members_;
    int polls_ = 0;
};

// Runs in the application object's constructor; the probe lives as the application's child.
void startProbe()
{
    new Probe(QCoreApplication::instance()); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
