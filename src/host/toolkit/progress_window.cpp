#include "host/toolkit/progress_window.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/fonts_internal.h"
#include "host/toolkit/sheet.h"
#include "host/toolkit/window_internal.h"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace host {

namespace {

// The bar counts in thousandths, so sizes beyond an int's range still fit.
constexpr int kBarSteps = 1000;

// A dialog whose close box and Escape ask for a cancel instead of closing it: the work decides
// when it is over, and its owner then destroys the window.
class ProgressDialog : public QDialog {
public:
    explicit ProgressDialog(QWidget* parent) : QDialog(parent, Qt::Dialog) {}
    std::function<void()> cancel;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        requestCancel();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            requestCancel();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    void requestCancel()
    {
        if (cancel) {
            raiseEvent(cancel);
        }
    }
};

} // namespace

struct ProgressWindow::Window {
    QPointer<QWidget> owner; // the sheet's widget
    // Deleted here, or by the frame it is parented to (to stay above it) if that goes first.
    QPointer<ProgressDialog> dialog;
    QLabel* text = nullptr;
    QLabel* figures = nullptr;
    QProgressBar* bar = nullptr;
    QTimer delay;
};

ProgressWindow::ProgressWindow(Sheet& owner, const std::string& title,
                               const std::string& buttonText)
    : window_(std::make_unique<Window>())
{
    Window& w = *window_;
    QWidget& sheet = widgetOf(owner);
    w.owner = &sheet;
    w.dialog = new ProgressDialog(sheet.window()); // NOLINT(cppcoreguidelines-owning-memory)
    QDialog& dialog = *w.dialog;
    dialog.setObjectName(QString::fromLatin1(kObjectName));
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setWindowIcon(sheet.windowIcon());
    // The program's look: the face colour and the fonts of the sheet. The face is the palette's
    // own, as the sheet's is, so the dialog's labels (in the palette's text colour) stay
    // legible in a dark palette too.
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);

    // Layout and widgets are owned by the dialog (Qt parent).
    auto* layout = new QVBoxLayout(&dialog); // NOLINT(cppcoreguidelines-owning-memory)
    w.text = new QLabel(&dialog);            // NOLINT(cppcoreguidelines-owning-memory)
    w.text->setFont(font("宋体", 12));
    w.text->setTextFormat(Qt::PlainText);
    w.text->setMinimumWidth(360);
    w.bar = new QProgressBar(&dialog); // NOLINT(cppcoreguidelines-owning-memory)
    w.bar->setRange(0, kBarSteps);
    w.bar->setValue(0);
    w.bar->setTextVisible(false);
    // Named for assistive technology as the window is titled: what is under way.
    w.bar->setAccessibleName(QString::fromStdString(title));
    w.figures = new QLabel(&dialog); // NOLINT(cppcoreguidelines-owning-memory)
    w.figures->setFont(font("Arial", 12));
    auto* button = new QPushButton(QString::fromStdString(buttonText), // NOLINT
                                   &dialog);
    button->setFont(font("宋体", 12));
    layout->addWidget(w.text);
    layout->addWidget(w.bar);
    layout->addWidget(w.figures);
    layout->addWidget(button, 0, Qt::AlignRight);
    QObject::connect(button, &QPushButton::clicked, &dialog, [target = w.dialog.data()] {
        if (target->cancel) {
            raiseEvent(target->cancel);
        }
    });

    w.delay.setSingleShot(true);
    QObject::connect(&w.delay, &QTimer::timeout, &dialog, [&w] {
        if (w.owner.isNull()) {
            return;
        }
        // Modal to the sheet alone: the sheet stops taking input, everything else goes on.
        w.owner->setEnabled(false);
        w.dialog->adjustSize();
        const QWidget* frame = w.dialog->parentWidget();
        if (frame != nullptr) {
            const QRect area = frame->geometry();
            w.dialog->move(area.center() - QPoint(w.dialog->width() / 2, w.dialog->height() / 2));
        }
        w.dialog->show();
        w.dialog->raise();
        w.dialog->activateWindow();
    });
}

ProgressWindow::~ProgressWindow()
{
    Window& w = *window_;
    w.delay.stop();
    if (w.dialog.isNull()) {
        return;
    }
    if (w.dialog->isVisible() && !w.owner.isNull()) {
        w.owner->setEnabled(true);
    }
    delete w.dialog.data(); // NOLINT(cppcoreguidelines-owning-memory): created above
}

void ProgressWindow::showAfter(int milliseconds)
{
    window_->delay.start(milliseconds);
}

bool ProgressWindow::visible() const
{
    return !window_->dialog.isNull() && window_->dialog->isVisible();
}

void ProgressWindow::setText(const std::string& text)
{
    if (window_->dialog.isNull()) {
        return;
    }
    window_->text->setText(QString::fromStdString(text));
}

void ProgressWindow::setProgress(std::uint64_t done, std::uint64_t total,
                                 const std::string& figures)
{
    if (window_->dialog.isNull()) {
        return;
    }
    const double share =
        total == 0 ? 1.0 : static_cast<double>(std::min(done, total)) / static_cast<double>(total);
    window_->bar->setValue(static_cast<int>(share * kBarSteps));
    window_->figures->setText(QString::fromStdString(figures));
}

void ProgressWindow::onCancel(std::function<void()> handler)
{
    if (window_->dialog.isNull()) {
        return;
    }
    window_->dialog->cancel = std::move(handler);
}

} // namespace host
