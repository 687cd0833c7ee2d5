// Finding a document: the filter field beside the view buttons narrows the member list as the
// user types, without reading the archive again.
#include "app/w_main.h"
#include "browse/member_details.h"
#include "browse/name_filter.h"
#include "browse/w_brow.h"
#include "desktop_association.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/window_internal.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QToolTip>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using testing_support::AnsweredMessageBoxes;
using testing_support::ModalWindowsClosed;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;
using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

// Types `text` one character at a time into `target`, or into whatever has the keyboard focus
// when there is none, as a user would: an ASCII character by its key (the key code with its
// text), any other as an input method commits it. A key that lands elsewhere is lost, as on the
// screen.
void typeInto(QWidget* target, const QString& text)
{
    for (const QChar character : text) {
        QWidget* receiver = target != nullptr ? target : QApplication::focusWidget();
        ASSERT_NE(receiver, nullptr);
        if (character.unicode() < 0x80) {
            QTest::keyClicks(receiver, QString(character));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(character));
            QApplication::sendEvent(receiver, &commit);
        }
        QCoreApplication::processEvents();
    }
}

void typeIntoFocus(const QString& text)
{
    typeInto(nullptr, text);
}

TEST(NameFilter, FoldsCaseAndFullWidthFormsOnBothSides)
{
    EXPECT_TRUE(browse::NameFilter("ＡＢ１").matches("xab1.txt"));
    EXPECT_TRUE(browse::NameFilter("ab1").matches("第一卷/ＡＢ１.pdf"));
    EXPECT_TRUE(browse::NameFilter("ÉTÉ").matches("été.doc"));
    EXPECT_TRUE(browse::NameFilter("卷").matches("第一卷/a.pdf"));
    EXPECT_TRUE(browse::NameFilter("").matches("anything"));
    EXPECT_FALSE(browse::NameFilter("ab2").matches("ab1.txt"));
    EXPECT_FALSE(browse::NameFilter("ｂ１").matches("a1b.txt"));
    // A name that is not UTF-8 is compared byte for byte, never misread.
    EXPECT_TRUE(browse::NameFilter("a").matches("\xff\xfe"
                                                "A"));
    EXPECT_FALSE(browse::NameFilter("\xc3\xa9").matches("\xc3"));
}

TEST(Finding, TypingNarrowsTheListEscapeClearsItAndTheStatusCountsWhatIsShown)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    folder.addArchive("a.zqr", {{"AB1 report.txt", "report"},
                                {"notes/ab1-notes.txt", "notes"},
                                {"Ａｂ１全角.txt", "wide"},
                                {"其他.txt", "other"},
                                {"alpha.txt", "alpha"},
                                {"zz.txt", "zz"}});
    folder.addArchive("b.zqr", {{"ab10.txt", "b"}, {"c.txt", "c"}, {"d.txt", "d"}});
    RunningViewer viewer;
    w_main& frame = *viewer.frame();
    w_brow& sheet = *viewer.sheet();
    QApplication::setActiveWindow(&host::widgetOf(frame));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(frame)));
    ModalWindowsClosed modals; // the letters typed are those of the menu's keys too
    RunningViewer::clickItem(sheet, true, 0);
    ASSERT_EQ(RunningViewer::shownMembers(sheet).size(), 6u);
    EXPECT_EQ(viewer.statusLine(), "总共:6个文件");
    // The list is never read again: the filter works on what was listed.
    ASSERT_TRUE(QFile::rename(QString::fromStdString(folder.filePath("a.zqr")),
                              QString::fromStdString(folder.filePath("gone.bin"))));

    // The field sits in the view buttons' group, where the hidden fourth button is.
    QLineEdit& field = *sheet.sle_find->lineEdit();
    EXPECT_TRUE(field.isVisible());
    EXPECT_EQ(field.parentWidget(), sheet.rb_4->widget()->parentWidget());
    QTest::mouseClick(&field, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), &field);

    // A new text, typed over the old one after a click into the field, as a user would.
    const auto retype = [&field](const QString& text) {
        QTest::mouseClick(&field, Qt::LeftButton);
        field.selectAll();
        typeIntoFocus(text);
    };

    // Each key narrows the list at once; every key of the word reaches the field.
    typeIntoFocus("a");
    EXPECT_EQ(RunningViewer::shownMembers(sheet).size(), 4u);
    typeIntoFocus("B");
    EXPECT_EQ(RunningViewer::shownMembers(sheet).size(), 3u);
    typeIntoFocus("1");
    EXPECT_EQ(field.text(), "aB1");
    // Full-width letters sort with their half-width twins.
    EXPECT_EQ(
        RunningViewer::shownMembers(sheet),
        (std::vector<std::string>{"AB1 report.txt", "Ａｂ１全角.txt", "notes/ab1-notes.txt"}));
    EXPECT_EQ(viewer.statusLine(), "总共:6个文件 (显示3个)");
    EXPECT_EQ(sheet.lv_fileico->totalitems(), 6);

    // Full-width letters and digits find their half-width twins and the other way round.
    retype("ｒｅｐｏｒｔ");
    EXPECT_EQ(field.text(), "ｒｅｐｏｒｔ");
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"AB1 report.txt"});
    EXPECT_EQ(viewer.statusLine(), "总共:6个文件 (显示1个)");
    retype("全");
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"Ａｂ１全角.txt"});
    retype("nothing like it");
    EXPECT_TRUE(RunningViewer::shownMembers(sheet).empty());
    EXPECT_EQ(viewer.statusLine(), "总共:6个文件 (显示0个)");

    // Escape shows every member again and the status line as it was.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(RunningViewer::shownMembers(sheet).size(), 6u);
    EXPECT_EQ(viewer.statusLine(), "总共:6个文件");
    EXPECT_EQ(QApplication::focusWidget(), &field);

    // The filter stays for the next archive; its listing ends with the count of what shows.
    typeIntoFocus("ab1");
    RunningViewer::clickItem(sheet, true, 1);
    EXPECT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"ab10.txt"});
    EXPECT_EQ(viewer.statusLine(), "总共:3个文件 (显示1个)");

    // A double-click and Return on a filtered row open the member shown there.
    retype("D");
    ASSERT_EQ(RunningViewer::shownMembers(sheet), std::vector<std::string>{"d.txt"});
    RunningViewer::doubleClickItem(sheet, 0);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("d.txt"));
    EXPECT_EQ(sheet.openFileName(), folder.filePath("d.txt"));
    retype("c");
    host::ListViewWidget& list = *sheet.lv_fileico->listWidget();
    list.setFocus();
    list.setCurrentIndex(list.model()->index(0, 0));
    QTest::keyClick(&list, Qt::Key_Return);
    RunningViewer::waitForUnpack(sheet);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("c.txt"));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(modals.titles.empty());
}

TEST(MemberTooltip, SizesShowAsAChineseDesktopShowsThem)
{
    EXPECT_EQ(browse::shortSize(0), "0 字节");
    EXPECT_EQ(browse::shortSize(1023), "1023 字节");
    EXPECT_EQ(browse::shortSize(1024), "1.00 KB");
    EXPECT_EQ(browse::shortSize(1340), "1.30 KB"); // cut, not rounded
    EXPECT_EQ(browse::shortSize(23506), "22.9 KB");
    EXPECT_EQ(browse::shortSize(1023999), "999 KB");
    EXPECT_EQ(browse::shortSize(1024000), "0.97 MB"); // 1000 KB and up: the next unit
    EXPECT_EQ(browse::shortSize(2400016), "2.28 MB");
    EXPECT_EQ(browse::shortSize(2400000000), "2.23 GB");
    EXPECT_EQ(browse::shortSize(UINT64_MAX), "16777215 TB");
}

// The tooltip the list shows when the pointer rests on row `row` of the member list.
QString tooltipAt(w_brow& sheet, int row)
{
    host::ListViewWidget& list = *sheet.lv_fileico->listWidget();
    const QPoint at = list.visualRect(list.model()->index(row, 0)).center();
    QHelpEvent rest(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST(Finding, AMembersTooltipGivesItsFullNameSizesAndDate)
{
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    folder.addArchive("a.zqr", {{"第一卷/插图/河流说明.txt", std::string(5000, 'r')},
                                {"big.bin", std::string(2400016, 'b')}});
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    ASSERT_EQ(RunningViewer::shownMembers(sheet).size(), 2u);
    // From what the listing collected: the archive is not read again.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folder.filePath("a.zqr"))));

    const QString river = tooltipAt(sheet, 1);
    EXPECT_TRUE(QRegularExpression("^名称: 第一卷/插图/河流说明.txt\n大小: 4.88 KB\n"
                                   "压缩后大小: \\d+ 字节\n修改日期: \\d{4}-\\d\\d-\\d\\d "
                                   "\\d\\d:\\d\\d$")
                    .match(river)
                    .hasMatch())
        << river.toStdString();
    const QString big = tooltipAt(sheet, 0);
    EXPECT_TRUE(big.startsWith("名称: big.bin\n大小: 2.28 MB\n压缩后大小: ")) << big.toStdString();
    // Filtered, the tooltip still belongs to the member under the pointer.
    typeInto(sheet.sle_find->lineEdit(), "河流");
    EXPECT_TRUE(tooltipAt(sheet, 0).startsWith("名称: 第一卷/插图/河流说明.txt\n"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(Finding, AMembersDateIsShownAsTheArchiveStoresItEvenInAnHourTheClockSkipped)
{
    // Berlin's clocks went from 02:00 to 03:00 on 2025-03-30: 02:30 never happened there, yet a
    // packer elsewhere wrote it, and that is the date the member carries. (The archive is made
    // before the zone is set: the tool that makes it would move the time itself.)
    ScratchFolder folder;
    AnsweredMessageBoxes boxes;
    constexpr std::uint16_t kSpringDay = (2025 - 1980) << 9 | 3 << 5 | 30;
    constexpr std::uint16_t kHalfPastTwo = 2 << 11 | 30 << 5;
    folder.addArchive("spring.zqr", {{"skipped.txt", "written at 02:30"}},
                      std::pair{kHalfPastTwo, kSpringDay});
    const std::optional<std::string> zone =
        qEnvironmentVariableIsSet("TZ") ? std::optional(qEnvironmentVariable("TZ").toStdString())
                                        : std::nullopt;
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    RunningViewer viewer;
    w_brow& sheet = *viewer.sheet();
    RunningViewer::clickItem(sheet, true, 0);
    const QString tip = tooltipAt(sheet, 0);
    if (zone) {
        ::setenv("TZ", zone->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
    EXPECT_TRUE(tip.endsWith("\n修改日期: 2025-03-30 02:30")) << tip.toStdString();
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
