#include "host/toolkit/frame.h"

#include "host/toolkit/colors_internal.h"
#include "host/toolkit/dropped_paths_internal.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/layout_units.h"
#include "host/toolkit/sheet_internal.h"
#include "host/toolkit/window_functions.h"
#include "host/win32/windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <memory>

namespace host {

bool FrameWidget::event(QEvent* event)
{
    // A closed frame of the list is deleted with its frame: the frame deletes this widget.
    if (event->type() == QEvent::DeferredDelete && frame() != nullptr &&
        releaseOpenWindow(*frame())) {
        return true;
    }
    return QMainWindow::event(event);
}

void FrameWidget::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (Frame* owner = frame()) {
        owner->resized();
    }
}

void FrameWidget::closeEvent(QCloseEvent* event)
{
    if (Frame* owner = frame(); owner != nullptr && !owner->closeRequested()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool FrameWidget::eventFilter(QObject* watched, QEvent* event)
{
    // A closed sheet's sub-window is about to be deleted (its close event has long ended): the
    // sheet goes first, while its widgets are all still there.
    if (event->type() == QEvent::DeferredDelete) {
        if (Frame* owner = frame()) {
            owner->releaseSheetIn(watched);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

Frame* frameOf(const QWidget* widget)
{
    return dynamic_cast<Frame*>(windowOf(widget));
}

Frame::Frame()
    : Window(std::make_unique<FrameWidget>()),
      // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): Qt parent
      mdi_(new QMdiArea(&widgetOf(*this))),
      // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): Qt parent
      microhelp_(new QLabel(&widgetOf(*this))),
      microhelpUpdate_([this] { microhelp_->setText(QString::fromStdString(microhelpText_)); })
{
    FrameWidget& widget = frameWidget();
    win32::registerWindow(mdi_);
    widget.setCentralWidget(mdi_);
    // The status text is a widget of the status line, so a menu item's micro-help, shown
    // there while the item is highlighted, covers it only for that time.
    widget.statusBar()->addWidget(microhelp_, 1);
    procedure_ = std::make_unique<win32::WindowProcedureBinding>(
        win32::handleFromWindow(&widget),
        [this](win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam) {
            return windowMessage(message, wParam, lParam);
        });
}

Frame::~Frame()
{
    unlinkWidget(*this);
    drops_.reset();
    procedure_.reset();
    // The sheets go before the frame's own widget, which holds theirs.
    while (!sheets_.empty()) {
        const std::unique_ptr<Sheet> last = std::move(sheets_.back());
        sheets_.pop_back();
    }
}

FrameWidget& Frame::frameWidget() const
{
    return frameWidgetOf(*this);
}

void Frame::setmenuid(std::unique_ptr<MenuItem> menu)
{
    menu_.reset();
    if (menu) {
        menu_ = std::make_unique<FrameMenu>(*this, std::move(menu));
    }
}

MenuItem* Frame::menuid() const
{
    return menu_ ? &menu_->menu() : nullptr;
}

void Frame::bindUserEvent(win32::UINT message, UserEvent event)
{
    userEvents_[message] = std::move(event);
}

void Frame::onPathDropped(std::function<bool(const std::string&)> accepts,
                          std::function<void(const std::string&)> dropped)
{
    drops_ = std::make_unique<DroppedPaths>(frameWidget(), std::move(accepts), std::move(dropped));
}

win32::LRESULT Frame::windowMessage(win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam)
{
    if (const auto it = userEvents_.find(message); it != userEvents_.end()) {
        const UserEvent event = it->second;
        raiseEvent([&event, wParam, lParam] { event(wParam, lParam); });
        return 0;
    }
    if (menu_) {
        menu_->handleMessage(message, wParam, lParam);
    }
    return 0;
}

const QWidget& Frame::workspace() const
{
    return *mdi_;
}

void Frame::setDesignSize(int width, int height)
{
    designWidth_ = width;
    designHeight_ = height;
    frameWidget().resize(unitsToPixelsX(width), unitsToPixelsY(height));
}

void Frame::setOpenMaximized(bool maximized)
{
    openMaximized_ = maximized;
}

void Frame::setClientBackColor(long color)
{
    mdi_->setBackground(toQColor(color));
}

void Frame::setmicrohelp(const std::string& text)
{
    microhelpText_ = text;
    microhelpUpdate_.request();
}

std::string Frame::microhelp() const
{
    return microhelpText_;
}

std::vector<Sheet*> Frame::sheets() const
{
    std::vector<Sheet*> open;
    for (const auto& sheet : sheets_) {
        // A closed sheet lingers until its closing event has ended; it is no longer open.
        if (!sheet->closing()) {
            open.push_back(sheet.get());
        }
    }
    return open;
}

void Frame::releaseSheetIn(const QObject* subWindow)
{
    const auto it = std::find_if(sheets_.begin(), sheets_.end(), [subWindow](const auto& sheet) {
        return widgetOf(*sheet).parentWidget() == subWindow;
    });
    if (it == sheets_.end()) {
        return;
    }
    const std::unique_ptr<Sheet> released = std::move(*it);
    sheets_.erase(it);
}

Sheet* Frame::getactivesheet() const
{
    if (QMdiSubWindow* current = mdi_->currentSubWindow()) {
        auto* sheet = dynamic_cast<Sheet*>(windowOf(current->widget()));
        if (sheet != nullptr && !sheet->closing()) {
            return sheet;
        }
    }
    const auto open = sheets();
    return open.empty() ? nullptr : open.back();
}

void Frame::addSheet(std::unique_ptr<Sheet> sheet, int menuPosition)
{
    Sheet* added = sheet.get();
    QWidget& addedWidget = widgetOf(*added);
    sheets_.push_back(std::move(sheet));
    // The sub-window takes the sheet as its Qt child and deletes itself when it closes.
    QMdiSubWindow* sub = nullptr;
    {
        // A new sub-window makes the controls it shows in the menu bar when maximized before it
        // belongs to any window, so they take the application's window icon; with none, they
        // fetch the style's default icon from picture files, which loads every image-format
        // plugin. For that moment the frame's icon stands in; the sub-window's own icon, set
        // below, replaces it.
        const QIcon applicationIcon = QApplication::windowIcon();
        QApplication::setWindowIcon(frameWidget().windowIcon());
        sub = mdi_->addSubWindow(&addedWidget);
        QApplication::setWindowIcon(applicationIcon);
    }
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->installEventFilter(&frameWidget());
    sub->setWindowTitle(addedWidget.windowTitle());
    sub->setWindowIcon(addedWidget.windowIcon());
    added->raiseOpen(*this, menuPosition);
    if (added->closing()) {
        return;
    }
    sub->setWindowTitle(addedWidget.windowTitle());
    sub->setWindowIcon(addedWidget.windowIcon());
    if (added->designWidth() > 0 && added->designHeight() > 0) {
        // The sheet opens maximized, before the frame has its final size; the first restore
        // gives it its design size, centred in the workspace as it is then. Later restores
        // bring back wherever the user put it.
        auto placed = std::make_shared<QMetaObject::Connection>();
        *placed = QObject::connect(
            sub, &QMdiSubWindow::windowStateChanged, sub,
            [this, sub, added, placed](Qt::WindowStates before, Qt::WindowStates now) {
                const Qt::WindowStates sized = Qt::WindowMaximized | Qt::WindowMinimized;
                if (!before.testFlag(Qt::WindowMaximized) || (now & sized) != 0) {
                    return;
                }
                QObject::disconnect(*placed);
                QRect centred(0, 0, unitsToPixelsX(added->designWidth()),
                              unitsToPixelsY(added->designHeight()));
                centred.moveCenter(mdi_->viewport()->rect().center());
                centred.moveTopLeft(
                    QPoint(std::max(0, centred.left()), std::max(0, centred.top())));
                sub->setGeometry(centred);
            });
    }
    sub->showMaximized();
    activate(*added);
    // Activation moves the focus into the sub-window; the first control in tab order takes it.
    applyTabOrder(addedWidget);
}

void Frame::activate(Sheet& sheet)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widgetOf(sheet).parentWidget())) {
        mdi_->setActiveSubWindow(sub);
    }
}

void Frame::openWindow()
{
    FrameWidget& widget = frameWidget();
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && designWidth_ > 0) {
        QRect centred(QPoint(0, 0), widget.size());
        centred.moveCenter(screen->availableGeometry().center());
        widget.move(centred.topLeft());
    }
    raiseEvent([this] { onOpen(); });
    if (openMaximized_) {
        widget.showMaximized();
    } else {
        widget.show();
    }
}

void Frame::resized()
{
    raiseEvent([this] { onResize(0, workspacewidth(), workspaceheight()); });
}

bool Frame::closeRequested()
{
    // The sheets close first; one that stays open keeps the frame open.
    mdi_->closeAllSubWindows();
    if (!sheets().empty()) {
        return false;
    }
    if (!closing_) {
        closing_ = true;
        raiseEvent([this] { onClose(); });
    }
    return true;
}

} // namespace host
