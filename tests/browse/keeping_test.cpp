// Keeping a document: the right-click menus of the catalogue and of the member list, painted by
// the frame's owner-drawn menu engine like the frame's own menus, and saving a member's copy.
#include "app/w_main.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/save_dialog.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/menus.h"
#include "host/win32/system.h"
#include "pixels.h"
#include "viewer_fixture.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using test::pixelsOfColour;
using testing_support::AnsweredMessageBoxes;
using testing_support::RunningViewer;
using testing_support::ScratchCache;
using testing_support::ScratchFolder;
using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

std::vector<std::string> entryTexts(const host::OwnerDrawMenu& menu)
{
    std::vector<std::string> texts;
    for (const QAction* action : menu.entryActions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return texts;
}

// Every entry is owner-drawn, has a record in the frame's engine, and is as tall as the engine
// measures it.
void expectPaintedByEngine(w_main& frame, const host::OwnerDrawMenu& menu)
{
    ASSERT_EQ(menu.owner(), frame.handle());
    for (std::size_t i = 0; i < menu.entryActions().size(); ++i) {
        QAction* action = menu.entryActions()[i];
        EXPECT_TRUE(menu.isOwnerDrawn(action)) << i;
        win32::MENUITEMINFOA info;
        info.cbSize = win32::kMenuItemInfoSize;
        info.fMask = win32::MIIM_DATA;
        ASSERT_TRUE(
            win32::GetMenuItemInfoA(menu.menuHandle(), static_cast<win32::UINT>(i), 1, &info));
        ASSERT_GT(frame.inv_supermenu.of_find_byid(static_cast<std::int32_t>(info.dwItemData)), 0);
        win32::MEASUREITEMSTRUCT size;
        size.CtlType = win32::ODT_MENU;
        size.itemData = info.dwItemData;
        frame.inv_supermenu.of_measureitem(0, &size);
        EXPECT_EQ(menu.actionGeometry(action).height(), static_cast<int>(size.itemHeight)) << i;
    }
}

TEST(Keeping, RightClickMenusListAnArchiveOpenAMemberAndDescribeIt)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    folder.addArchive("a.zqr", {{"a.txt", "from a, eleven and more"}, {"b.txt", "b"}});
    folder.addArchive("b.zqr", {{"other.txt", "other"}});
    RunningViewer viewer;
    w_main& frame = *viewer.frame();
    w_brow& sheet = *viewer.sheet();
    QApplication::setActiveWindow(&host::widgetOf(frame));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(frame)));
    const int registered = frame.inv_supermenu.menuinfoCount();

    // The catalogue's menu lists the archive right-clicked, as a click would, and offers
    // another folder.
    auto* archiveMenu =
        dynamic_cast<host::OwnerDrawMenu*>(RunningViewer::rightClickItem(sheet, true, 0));
    ASSERT_NE(archiveMenu, nullptr);
    EXPECT_EQ(entryTexts(*archiveMenu), (std::vector<std::string>{"列出", "-", "打开文件夹..."}));
    expectPaintedByEngine(frame, *archiveMenu);
    archiveMenu->entryActions()[0]->trigger();
    archiveMenu->close();
    RunningViewer::waitWhileBusy();
    EXPECT_EQ(RunningViewer::shownMembers(sheet), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(sheet.zipFilePathName(), folder.filePath("a.zqr"));

    // The member's menu: open it, and a disabled line with its sizes and date, from what the
    // listing collected: the archive is not read again (it is gone meanwhile).
    ASSERT_TRUE(QFile::rename(QString::fromStdString(folder.filePath("a.zqr")),
                              QString::fromStdString(folder.filePath("a.moved"))));
    auto* memberMenu =
        dynamic_cast<host::OwnerDrawMenu*>(RunningViewer::rightClickItem(sheet, false, 0));
    ASSERT_NE(memberMenu, nullptr);
    const std::vector<std::string> texts = entryTexts(*memberMenu);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "打开");
    EXPECT_EQ(texts[1], "另存为...");
    EXPECT_EQ(texts[2], "-");
    EXPECT_TRUE(QRegularExpression(R"(^大小 23 字节  压缩后 \d+ 字节  \d{4}-\d\d-\d\d \d\d:\d\d$)")
                    .match(QString::fromStdString(texts[3]))
                    .hasMatch())
        << texts[3];
    EXPECT_TRUE(memberMenu->entryActions()[0]->isEnabled());
    EXPECT_TRUE(memberMenu->entryActions()[1]->isEnabled());
    EXPECT_FALSE(memberMenu->entryActions()[3]->isEnabled());
    expectPaintedByEngine(frame, *memberMenu);
    // The engine paints the open entry in the menu text colour and the line greyed.
    const QImage shown = memberMenu->grab().toImage();
    const QRect openRow = memberMenu->actionGeometry(memberMenu->entryActions()[0]);
    const QRect lineRow = memberMenu->actionGeometry(memberMenu->entryActions()[3]);
    EXPECT_GT(pixelsOfColour(shown, openRow, win32::GetSysColor(win32::COLOR_MENUTEXT)), 3);
    EXPECT_GT(pixelsOfColour(shown, lineRow, win32::GetSysColor(win32::COLOR_GRAYTEXT)), 3);
    EXPECT_EQ(pixelsOfColour(shown, lineRow, win32::GetSysColor(win32::COLOR_MENUTEXT)), 0);
    // The whole line shows: its embossed text ends clear of the menu's right edge.
    int rightmost = -1;
    for (int x = lineRow.left(); x <= lineRow.right(); ++x) {
        const QRect column(x, lineRow.top(), 1, lineRow.height());
        if (pixelsOfColour(shown, column, win32::GetSysColor(win32::COLOR_BTNSHADOW)) > 0) {
            rightmost = x;
        }
    }
    EXPECT_GT(rightmost, lineRow.center().x());
    EXPECT_LT(rightmost, lineRow.right() - 1);
    memberMenu->close();

    // Another member's menu describes that member; the menus are registered once, not again
    // at each right-click.
    memberMenu = dynamic_cast<host::OwnerDrawMenu*>(RunningViewer::rightClickItem(sheet, false, 1));
    ASSERT_NE(memberMenu, nullptr);
    EXPECT_TRUE(entryTexts(*memberMenu)[3].starts_with("大小 1 字节  压缩后 "));
    EXPECT_EQ(frame.inv_supermenu.menuinfoCount(), registered + 3 + 4);
    memberMenu->close();

    ASSERT_TRUE(QFile::rename(QString::fromStdString(folder.filePath("a.moved")),
                              QString::fromStdString(folder.filePath("a.zqr"))));

    // The menu key opens the menu of the current member, here the second one.
    host::ListViewWidget& list = *sheet.lv_fileico->listWidget();
    list.setCurrentIndex(list.model()->index(1, 0));
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0),
                          list.mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(&list, &key);
    memberMenu = dynamic_cast<host::OwnerDrawMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(memberMenu, nullptr);
    EXPECT_TRUE(entryTexts(*memberMenu)[3].starts_with("大小 1 字节  压缩后 "));
    memberMenu->entryActions()[0]->trigger();
    memberMenu->close();
    RunningViewer::waitForUnpack(sheet);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("b.txt"));
    EXPECT_EQ(sheet.openFileName(), folder.filePath("b.txt"));
    EXPECT_TRUE(boxes.shown.empty());
}

// Damages the first member's stored data of an archive, as a bad copy or a bad disk would.
void damageFirstMember(const std::string& archive)
{
    QFile file(QString::fromStdString(archive));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("PK\x03\x04"));
    const auto field = [&bytes](int at) {
        return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                           << 8;
    };
    const int data = 30 + field(26) + field(28);
    bytes[data + 1] = static_cast<char>(bytes[data + 1] ^ 0x5A);
    file.seek(0);
    file.write(bytes);
}

TEST(Keeping, SaveAsWritesExactlyTheMemberAndReplacesOnlyWhatTheDialogConfirmed)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    const std::string report(5000, 'r');
    folder.addArchive("a.zqr", {{"docs/report.txt", report}, {"b.txt", "b"}});
    folder.addArchive("damaged.zqr", {{"bad.txt", std::string(4000, 'x') + "tail"}});
    damageFirstMember(folder.filePath("damaged.zqr"));
    QDir(folder.path()).mkdir("out");
    folder.writeFile("out/b.txt", "the user's own b");
    folder.writeFile("out/bad.txt", "kept");

    std::vector<host::SaveDialogRequest> asked;
    std::vector<host::SaveChoice> answers;
    const host::SaveDialogHandler previous = host::setSaveDialogHandler(
        [&](const host::SaveDialogRequest& request) -> std::optional<host::SaveChoice> {
            asked.push_back(request);
            if (answers.empty()) {
                return std::nullopt; // cancelled
            }
            host::SaveChoice answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    const auto saveAs = [&sheet](int row) { RunningViewer::saveMemberAs(sheet, row); };
    RunningViewer::clickItem(sheet, true, 0);
    ASSERT_EQ(RunningViewer::shownMembers(sheet),
              (std::vector<std::string>{"b.txt", "docs/report.txt"}));

    // Cancelled: nothing written. Then saved under the name the dialog suggested.
    saveAs(1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].folder, host::DocumentsFolder());
    EXPECT_EQ(asked[0].name, "report.txt");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.zqr", "damaged.zqr", "out"}));
    answers.push_back({folder.filePath("out/report.txt"), false});
    saveAs(1);
    EXPECT_EQ(folder.read("out/report.txt"), report);
    EXPECT_EQ(viewer.statusLine(), "已另存为 " + folder.filePath("out/report.txt"));
    EXPECT_TRUE(boxes.shown.empty());

    // An existing file is replaced only when the dialog confirmed it.
    answers.push_back({folder.filePath("out/b.txt"), false});
    saveAs(0);
    EXPECT_EQ(folder.read("out/b.txt"), "the user's own b");
    ASSERT_EQ(boxes.shown.size(), 1u);
    answers.push_back({folder.filePath("out/b.txt"), true});
    saveAs(0);
    EXPECT_EQ(folder.read("out/b.txt"), "b");
    EXPECT_EQ(boxes.shown.size(), 1u);

    // A member that cannot be unpacked whole is not saved, and the file it was to replace stays.
    RunningViewer::clickItem(sheet, true, 1);
    boxes.shown.clear();
    answers.push_back({folder.filePath("out/bad.txt"), true});
    saveAs(0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(folder.filePath("out/bad.txt")), std::string::npos);
    EXPECT_EQ(folder.read("out/bad.txt"), "kept");
    // The status line tells of this failure, no longer of the save before it.
    EXPECT_EQ(viewer.statusLine(), "另存为失败: " + folder.filePath("out/bad.txt") +
                                       " 原因: 这个文件的压缩数据已损坏或不完整。");
    EXPECT_EQ(QDir(folder.path() + "/out").entryList(QDir::Files | QDir::Hidden).size(), 3);
    // The copies are the user's: closing the viewer leaves them.
    viewer.closeFrame();
    EXPECT_EQ(folder.read("out/report.txt"), report);
    host::setSaveDialogHandler(previous);
}

// Whether a text of Qt's own is in Chinese: Han characters, and no Latin word left beside the
// mnemonic ("保存(&S)") once the names of `known` files are taken out.
bool isChinese(QString text, const QStringList& known = {})
{
    for (const QString& name : known) {
        text.remove(name);
    }
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    return text.contains(QRegularExpression(QStringLiteral("\\p{Han}"))) &&
           !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

TEST(Keeping, QtsOwnSaveDialogReplacePromptAndSystemMenuSpeakChinese)
{
    ScratchFolder folder;
    folder.addArchive("a.zqr", {{"b.txt", "b"}});
    QDir(folder.path()).mkdir("out");
    folder.writeFile("out/b.txt", "the user's own b");
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);

    // The sheet's system menu (its icon's menu): Restore, Move, Size, Minimize, Maximize, Stay
    // on Top, Close.
    auto* window = qobject_cast<QMdiSubWindow*>(host::widgetOf(sheet).parentWidget());
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->systemMenu(), nullptr);
    int entries = 0;
    for (const QAction* entry : window->systemMenu()->actions()) {
        if (!entry->isSeparator()) {
            ++entries;
            EXPECT_TRUE(isChinese(entry->text())) << entry->text().toStdString();
        }
    }
    EXPECT_EQ(entries, 7);

    // The save dialog that 另存为... opens, and the prompt it shows for a file that exists; the
    // prompt is answered No and the dialog cancelled, so nothing is written.
    QStringList labels;
    QStringList buttons;
    QString prompt;
    QStringList promptButtons;
    QTimer inDialog;
    QTimer inPrompt;
    inPrompt.setSingleShot(true);
    QObject::connect(&inPrompt, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        prompt = box->text();
        for (const QAbstractButton* button : box->buttons()) {
            promptButtons << button->text();
        }
        box->button(QMessageBox::No)->click();
    });
    inDialog.setSingleShot(true);
    QObject::connect(&inDialog, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close(); // not the dialog: fail rather than hang
            }
            return;
        }
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            if (const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name))) {
                labels << label->text();
            }
        }
        const auto* box = dialog->findChild<QDialogButtonBox*>();
        QAbstractButton* save = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
            if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                save = button;
            }
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QString::fromStdString(folder.filePath("out/b.txt")));
        inPrompt.start(0);
        if (save != nullptr) {
            save->click(); // asks whether to replace the file, answered No
        }
        dialog->reject();
    });
    inDialog.start(0);
    RunningViewer::saveMemberAs(sheet, 0);

    EXPECT_EQ(labels.size(), 3);
    EXPECT_GE(buttons.size(), 2);
    EXPECT_GE(promptButtons.size(), 2);
    for (const QString& text : labels + buttons + promptButtons) {
        EXPECT_TRUE(isChinese(text)) << text.toStdString();
    }
    EXPECT_TRUE(isChinese(prompt, {QStringLiteral("b.txt")})) << prompt.toStdString();
    EXPECT_EQ(folder.read("out/b.txt"), "the user's own b");

    // The program's own message boxes speak the same language: their OK button reads 确定.
    QString okText;
    QTimer inBox;
    inBox.setSingleShot(true);
    QObject::connect(&inBox, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            okText = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    inBox.start(0);
    host::MessageBox("信息", "文字");
    EXPECT_EQ(okText.toStdString(), "确定");
}

std::string contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(unreadable)";
}

TEST(Keeping, DraggingAMemberOutCarriesACopyFromTheCacheThatGoesWithTheSheet)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    const ScratchCache scratchCache;
    folder.addArchive("a.zqr", {{"第一卷/河流.txt", "the river"}, {"b.txt", "b of a"}});
    const std::string big(5 << 20, 'z');
    folder.addArchive("b.zqr", {{"b.txt", "b of b"}, {"big.bin", big}});
    folder.addArchive("c.zqr", {{"bad.txt", std::string(4000, 'x') + "tail"}});
    damageFirstMember(folder.filePath("c.zqr"));
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    ASSERT_EQ(RunningViewer::shownMembers(sheet),
              (std::vector<std::string>{"b.txt", "第一卷/河流.txt"}));
    const QString cache = scratchCache.folder();
    const auto cacheEntries = [&scratchCache] { return scratchCache.entries(); };

    // Only members can be dragged, in every view; without a drag nothing is written.
    EXPECT_FALSE(sheet.lv_zip->listWidget()->dragEnabled());
    EXPECT_FALSE(sheet.lv_zip->listWidget()->model()->flags(
                     sheet.lv_zip->listWidget()->model()->index(0, 0)) &
                 Qt::ItemIsDragEnabled);
    sheet.rb_1->button()->click();
    EXPECT_TRUE(sheet.lv_fileico->listWidget()->dragEnabled());
    sheet.rb_3->button()->click();
    EXPECT_TRUE(sheet.lv_fileico->listWidget()->dragEnabled());
    EXPECT_TRUE(cacheEntries().isEmpty());

    // The drag carries one local file: the member's copy under its own name in the cache.
    const QList<QUrl> river = RunningViewer::dragUrls(sheet, 1);
    ASSERT_EQ(river.size(), 1);
    ASSERT_TRUE(river[0].isLocalFile());
    const QString riverPath = river[0].toLocalFile();
    EXPECT_TRUE(riverPath.startsWith(cache + "/"));
    EXPECT_TRUE(riverPath.endsWith("/河流.txt"));
    EXPECT_EQ(contentOf(riverPath), "the river");
    // A second drag of it carries the same copy; members of one name from two archives stay apart.
    EXPECT_EQ(RunningViewer::dragUrls(sheet, 1), river);
    const QList<QUrl> bOfA = RunningViewer::dragUrls(sheet, 0);
    RunningViewer::clickItem(sheet, true, 1);
    const QList<QUrl> bOfB = RunningViewer::dragUrls(sheet, 0);
    ASSERT_EQ(bOfA.size(), 1);
    ASSERT_EQ(bOfB.size(), 1);
    EXPECT_NE(bOfA, bOfB);
    EXPECT_EQ(contentOf(bOfA[0].toLocalFile()), "b of a");
    EXPECT_EQ(contentOf(bOfB[0].toLocalFile()), "b of b");
    // A member too large to copy at once starts no drag: its copy is written off the GUI thread,
    // the status line says so, and the next drag carries it.
    EXPECT_TRUE(RunningViewer::dragUrls(sheet, 1).isEmpty());
    EXPECT_EQ(viewer.statusLine(), "正在准备拖出的文件: big.bin");
    RunningViewer::waitWhileBusy();
    EXPECT_EQ(viewer.statusLine(), "已准备好拖出的文件: big.bin,请再拖动一次");
    const QList<QUrl> bigCopy = RunningViewer::dragUrls(sheet, 1);
    ASSERT_EQ(bigCopy.size(), 1);
    EXPECT_TRUE(bigCopy[0].toLocalFile().endsWith("/big.bin"));
    EXPECT_EQ(contentOf(bigCopy[0].toLocalFile()), big);
    EXPECT_EQ(cacheEntries().size(), 4);
    // The archives' folder is left as it was; nothing was opened.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.zqr", "b.zqr", "c.zqr"}));
    EXPECT_TRUE(sheet.openFileName().empty());
    EXPECT_TRUE(boxes.shown.empty());

    // A member that cannot be unpacked whole starts no drag, says why and leaves nothing behind.
    RunningViewer::clickItem(sheet, true, 2);
    EXPECT_TRUE(RunningViewer::dragUrls(sheet, 0).isEmpty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("无法从文件库中取出该文件。\r\n原因: ", 0), 0u)
        << boxes.shown[0].text;
    EXPECT_EQ(cacheEntries().size(), 4);

    // Closing the sheet removes the copies and their folders.
    viewer.closeFrame();
    EXPECT_FALSE(QFile::exists(riverPath));
    EXPECT_TRUE(cacheEntries().isEmpty());
}

} // namespace
