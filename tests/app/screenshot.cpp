// Draws the pictures of the viewer that the README shows, from the offscreen platform, the frame
// 1280 x 800 pixels:
//   viewer_screenshot OUTPUT.png               started in the current folder, the first archive
//                                              clicked
//   viewer_screenshot --progress OUTPUT.png    in a folder of its own with an archive holding a
//                                              512 MiB member, the member double-clicked and
//                                              the progress window over the frame once a third
//                                              is done; the unpack is then cancelled
//   viewer_screenshot --damaged OUTPUT.png     in a folder of its own whose one archive is
//                                              damaged, clicked: the message over the frame
//   viewer_screenshot --menu OUTPUT.png        as the first, then the first member's right-click
//                                              menu over the frame
//   viewer_screenshot --filter ARCHIVE TEXT OUTPUT.png
//                                              started in the current folder, ARCHIVE clicked and
//                                              TEXT typed into the filter field
//   viewer_screenshot --dark OUTPUT.png        as the first, in a dark palette (as a dark desktop
//                                              theme gives one), with the File menu open and its
//                                              first entry highlighted
//   viewer_screenshot --folder-menu OUTPUT.png in a folder of its own without archives, the
//                                              catalogue's right-click menu with 打开文件夹...
#include "app/browser.h"
#include "app/w_main.h"
#include "big_member_archive.h"
#include "browse/w_brow.h"
#include "contrast.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/progress_window.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The frame with the modal box that is open over it, as the screen would show both. The
// offscreen platform draws no window decorations, so the box's title, which carries the error
// code, is drawn in a plain title bar above it, as a window manager would.
QImage frameWithModalBox(QWidget& frame)
{
    QImage picture = frame.grab().toImage();
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) {
        return picture;
    }
    constexpr int kTitleBarHeight = 26;
    QPoint at = box->geometry().topLeft() - frame.geometry().topLeft();
    at.setY(std::max(at.y(), kTitleBarHeight));
    QPainter painter(&picture);
    const QRect titleBar(at.x(), at.y() - kTitleBarHeight, box->width(), kTitleBarHeight);
    painter.fillRect(titleBar, box->palette().color(QPalette::Highlight));
    painter.setPen(box->palette().color(QPalette::HighlightedText));
    painter.setFont(box->font());
    painter.drawText(titleBar.adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     box->windowTitle());
    painter.drawPixmap(at, box->grab());
    painter.setPen(box->palette().color(QPalette::Dark));
    painter.drawRect(titleBar.united(QRect(at, box->size())).adjusted(0, 0, -1, -1));
    return picture;
}

// The right-click menu of `list` at `at` (in its viewport), drawn over the frame where it shows,
// with entry `highlighted` (-1 for none) under the pointer; then closed.
QImage contextMenuPicture(w_main& frame, host::ListViewWidget& list, QPoint at, int highlighted)
{
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &click);
    auto* menu = dynamic_cast<host::OwnerDrawMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        return {};
    }
    if (highlighted >= 0 && highlighted < static_cast<int>(menu->entryActions().size())) {
        menu->setActiveAction(menu->entryActions()[static_cast<std::size_t>(highlighted)]);
    }
    QImage picture = host::widgetOf(frame).grab().toImage();
    QPainter painter(&picture);
    painter.drawPixmap(menu->geometry().topLeft() - host::widgetOf(frame).geometry().topLeft(),
                       menu->grab());
    painter.end();
    menu->close();
    return picture;
}

// The frame with its File menu open and the first entry highlighted, the popup drawn where it
// shows; then closed.
QImage fileMenuPicture(w_main& frame)
{
    QMainWindow& window = host::frameWidgetOf(frame);
    QMenuBar* bar = window.menuBar();
    QMenu* file = nullptr;
    for (QAction* title : bar->actions()) {
        if (title->text() == QStringLiteral("[&F]文件")) {
            file = title->menu();
            bar->setActiveAction(title);
        }
    }
    QCoreApplication::processEvents();
    if (file == nullptr || !file->isVisible()) {
        return {};
    }
    file->setActiveAction(file->actions().value(0));
    QCoreApplication::processEvents();
    QImage picture = window.grab().toImage();
    {
        QPainter painter(&picture);
        painter.drawPixmap(file->mapToGlobal(QPoint(0, 0)) - window.mapToGlobal(QPoint(0, 0)),
                           file->grab());
    }
    file->close();
    return picture;
}

// The first member's right-click menu.
QImage memberMenuPicture(w_main& frame, w_brow& sheet)
{
    host::ListViewWidget& list = *sheet.lv_fileico->listWidget();
    const QModelIndex first = list.model()->index(0, 0);
    if (!first.isValid()) {
        return {};
    }
    return contextMenuPicture(frame, list, list.visualRect(first).center(), -1);
}

// The catalogue's right-click menu in a folder without archives, 打开文件夹... under the pointer.
QImage folderMenuPicture(w_main& frame, w_brow& sheet)
{
    host::ListViewWidget& list = *sheet.lv_zip->listWidget();
    return contextMenuPicture(frame, list, QPoint(list.viewport()->width() / 3, 60), 2);
}

QWidget* progressWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == host::ProgressWindow::kObjectName && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// The frame with the progress window drawn over it, once a third of the member is unpacked;
// a null image when the window did not show. Cancels the unpack afterwards.
QImage progressPicture(w_main& frame, w_brow& sheet)
{
    auto* members = sheet.lv_fileico->listWidget();
    QTest::mouseDClick(members->viewport(), Qt::LeftButton, {},
                       members->visualRect(members->model()->index(0, 0)).center());
    QWidget* window = nullptr;
    const bool underWay = QTest::qWaitFor(
        [&] {
            window = progressWindow();
            const auto* bar = window != nullptr ? window->findChild<QProgressBar*>() : nullptr;
            return bar != nullptr && bar->value() >= bar->maximum() / 3;
        },
        60000);
    if (!underWay || window == nullptr) {
        return {};
    }
    QImage picture = host::widgetOf(frame).grab().toImage();
    {
        QPainter painter(&picture);
        const QPoint at = window->geometry().topLeft() - host::widgetOf(frame).geometry().topLeft();
        painter.drawPixmap(at, window->grab());
        // The offscreen platform draws no window frames: a plain border marks the window.
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(QRect(at, window->size()).adjusted(-1, -1, 0, 0));
    }
    QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return !sheet.unpacking(); }, 60000)) {
        return {};
    }
    return picture;
}

// Types `text` into the filter field as a user would: ASCII characters by their keys, others as
// an input method commits them.
void typeFilter(w_brow& sheet, const QString& text)
{
    QWidget& field = *sheet.sle_find->lineEdit();
    field.setFocus();
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClicks(&field, QString(character));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(character));
            QApplication::sendEvent(&field, &commit);
        }
    }
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    const bool progress = argc == 3 && std::strcmp(argv[1], "--progress") == 0;
    const bool damaged = argc == 3 && std::strcmp(argv[1], "--damaged") == 0;
    const bool menu = argc == 3 && std::strcmp(argv[1], "--menu") == 0;
    const bool filter = argc == 5 && std::strcmp(argv[1], "--filter") == 0;
    const bool dark = argc == 3 && std::strcmp(argv[1], "--dark") == 0;
    const bool folderMenu = argc == 3 && std::strcmp(argv[1], "--folder-menu") == 0;
    if (argc != 2 && !progress && !damaged && !menu && !filter && !dark && !folderMenu) {
        std::fprintf(stderr, "usage: viewer_screenshot [--progress | --damaged | --menu | --filter "
                             "ARCHIVE TEXT | --dark | --folder-menu] OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication toolkit(argc, argv);
    if (dark) {
        QApplication::setPalette(test::darkPalette());
    }
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[argc - 1]));
    QTemporaryDir folder;
    if (progress) {
        QDir::setCurrent(folder.path());
        if (!testing_support::writeBigMemberArchive(folder.filePath("典籍.zqr").toStdString(),
                                                    "第三卷/全书扫描版.pdf",
                                                    std::uint64_t{512} << 20)) {
            std::fprintf(stderr, "cannot write the archive\n");
            return 1;
        }
    }
    if (folderMenu) {
        QDir::setCurrent(folder.path()); // nothing here: the viewer started from the desktop
    }
    if (damaged) {
        // An archive cut short by a failed download: text where the archive should be.
        QDir::setCurrent(folder.path());
        QFile file(folder.filePath("唐诗选读.zqr"));
        if (!file.open(QIODevice::WriteOnly)) {
            return 1;
        }
        file.write("<html>404 Not Found</html>\n");
    }
    browser application;
    application.start("");
    w_main* frame = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        frame = frame != nullptr ? frame : dynamic_cast<w_main*>(host::windowOf(window));
    }
    auto* sheet = frame != nullptr ? dynamic_cast<w_brow*>(frame->getactivesheet()) : nullptr;
    if (sheet == nullptr) {
        std::fprintf(stderr, "the viewer did not open\n");
        return 1;
    }
    host::widgetOf(*frame).showNormal();
    host::widgetOf(*frame).resize(1280, 800);
    QCoreApplication::processEvents();
    // The message a damaged archive shows, grabbed while it is open, then answered.
    QImage damagedPicture;
    QTimer watchForTheMessage;
    QObject::connect(&watchForTheMessage, &QTimer::timeout, [&damagedPicture, frame] {
        if (QWidget* box = QApplication::activeModalWidget(); box && damagedPicture.isNull()) {
            damagedPicture = frameWithModalBox(host::widgetOf(*frame));
            box->close();
        }
    });
    if (damaged) {
        watchForTheMessage.start(20);
    }
    if (sheet->lv_zip->totalitems() > 0) {
        int row = 0;
        while (filter && row + 1 < sheet->lv_zip->totalitems() &&
               sheet->lv_zip->getitem(row + 1) != std::string(argv[2])) {
            ++row;
        }
        auto* catalogue = sheet->lv_zip->listWidget();
        QTest::mouseClick(catalogue->viewport(), Qt::LeftButton, {},
                          catalogue->visualRect(catalogue->model()->index(row, 0)).center());
    }
    // The list is read off the GUI thread: the arrow comes back when it has been read.
    if (!QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 60000)) {
        std::fprintf(stderr, "screenshot: the list was not read within a minute\n");
        return 1;
    }
    QCoreApplication::processEvents();
    watchForTheMessage.stop();
    if (filter) {
        typeFilter(*sheet, QString::fromLocal8Bit(argv[3]));
    }
    const QImage picture = progress     ? progressPicture(*frame, *sheet)
                           : damaged    ? damagedPicture
                           : menu       ? memberMenuPicture(*frame, *sheet)
                           : folderMenu ? folderMenuPicture(*frame, *sheet)
                           : dark       ? fileMenuPicture(*frame)
                                        : host::widgetOf(*frame).grab().toImage();
    if (picture.isNull()) {
        std::fprintf(stderr, "the %s did not show\n",
                     damaged ? "message"
                             : (menu || folderMenu || dark ? "menu" : "progress window"));
    }
    const bool saved = !picture.isNull() && picture.save(output);
    host::widgetOf(*frame).close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application.finish();
    return saved ? 0 : 1;
}
