// The frame hands its menus to the owner-drawn menu engine: every popup item is registered and
// owner-drawn, the menu-bar titles never are, and opening a menu by mouse or keyboard has the
// engine measure and paint the items.
#include "app/m_main.h"
#include "app/w_main.h"
#include "contrast.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/frame_menu.h"
#include "host/toolkit/menu_bar_view.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/win32/menus.h"
#include "host/win32/system.h"
#include "pixels.h"
#include "viewer_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace win32;
using test::pixelsOfColour;
using testing_support::RunningViewer;
using testing_support::ScratchFolder;

struct Running {
    ScratchFolder folder;
    RunningViewer viewer;
    Running()
    {
        QApplication::setActiveWindow(&host::widgetOf(*viewer.frame()));
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host::widgetOf(*viewer.frame())));
    }
    ~Running()
    {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }
    [[nodiscard]] w_main& frame() const { return *viewer.frame(); }
    [[nodiscard]] m_main& menu() const { return dynamic_cast<m_main&>(*frame().menuid()); }
    [[nodiscard]] host::OwnerDrawMenu& popup(const host::MenuItem& title) const
    {
        return *frame().frameMenu()->view().popup(title.menuHandle());
    }
};

MENUITEMINFOA entryInfo(HMENU menu, int position)
{
    MENUITEMINFOA info;
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), 1, &info));
    return info;
}

MEASUREITEMSTRUCT engineSize(nvo_supermenu_class& engine, DWORD itemData)
{
    MEASUREITEMSTRUCT request;
    request.CtlType = ODT_MENU;
    request.itemData = itemData;
    engine.of_measureitem(0, &request);
    return request;
}

TEST(FrameOwnerDraw, OpenUsesLookNineOverBackgroundFourAndRegistersEveryPopupItem)
{
    Running run;
    w_main& frame = run.frame();
    m_main& menu = run.menu();
    EXPECT_EQ(frame.inv_supermenu.menustyle, 9);
    EXPECT_EQ(frame.inv_supermenu.menubkstyle, 4);
    EXPECT_EQ(frame.inv_supermenu.registeredWindowHandle(), frame.handle());

    const HMENU bar = GetMenu(frame.handle());
    for (int position = 0; position < GetMenuItemCount(bar); ++position) {
        EXPECT_EQ(entryInfo(bar, position).fType & MFT_OWNERDRAW, 0u) << "bar " << position;
    }
    const std::vector<host::MenuItem*> items = {
        &menu.m_openfile,         &menu.m_closefile,      &menu.m_1,    &menu.m_quit,
        &menu.m_helpforvarnelook, &menu.m_help_separator, &menu.m_about};
    EXPECT_EQ(frame.inv_supermenu.menuinfoCount(), static_cast<int>(items.size()));
    std::size_t next = 0;
    for (const host::MenuItem* title : {&menu.m_file, &menu.m_help}) {
        for (int position = 0; position < GetMenuItemCount(title->menuHandle()); ++position) {
            const MENUITEMINFOA info = entryInfo(title->menuHandle(), position);
            EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u) << title->text() << " " << position;
            const auto row =
                frame.inv_supermenu.of_find_byid(static_cast<std::int32_t>(info.dwItemData));
            ASSERT_GT(row, 0);
            const auto* record = frame.inv_supermenu.menuinfo(row);
            ASSERT_LT(next, items.size());
            EXPECT_EQ(record->menupt, items[next++]);
            EXPECT_EQ(record->level, 1);
        }
    }
    EXPECT_EQ(next, items.size());
    // The separators are disabled by registration, as the engine paints them.
    EXPECT_FALSE(menu.m_1.enabled());
}

void expectEngineSizes(w_main& frame, host::OwnerDrawMenu& popup)
{
    ASSERT_TRUE(popup.isVisible());
    int width = 0;
    int height = 0;
    for (std::size_t i = 0; i < popup.entryActions().size(); ++i) {
        const MENUITEMINFOA info = entryInfo(popup.menuHandle(), static_cast<int>(i));
        const MEASUREITEMSTRUCT size = engineSize(frame.inv_supermenu, info.dwItemData);
        EXPECT_EQ(popup.actionGeometry(popup.entryActions()[i]).height(),
                  static_cast<int>(size.itemHeight));
        width = std::max(width, static_cast<int>(size.itemWidth));
        height += static_cast<int>(size.itemHeight);
    }
    EXPECT_EQ(popup.width(), width);
    EXPECT_EQ(popup.height(), height);
}

COLORREF at(const QImage& image, int x, int y)
{
    return test::pixelAt(image, x, y);
}

// Whether two pictures agree over an area.
bool sameOver(const QImage& a, const QImage& b, const QRect& area)
{
    return a.copy(area) == b.copy(area);
}

// One entry of a shown popup painted normal and highlighted, as the popup shows it.
struct EntryPictures {
    QImage normal;
    QImage highlighted;
    int L = 0;
    int T = 0;
    int R = 0;
    int B = 0;
};

// `other` is an entry the selection may rest on while `entry` is painted normal.
EntryPictures picturesOf(host::OwnerDrawMenu& popup, int entry, int other)
{
    QAction* action = popup.entryActions().at(static_cast<std::size_t>(entry));
    popup.setActiveAction(popup.entryActions().at(static_cast<std::size_t>(other)));
    EntryPictures pictures;
    pictures.normal = popup.grab().toImage();
    popup.setActiveAction(action);
    pictures.highlighted = popup.grab().toImage();
    const QRect rect = popup.actionGeometry(action);
    pictures.L = rect.left();
    pictures.T = rect.top();
    pictures.R = rect.right() + 1;
    pictures.B = rect.bottom() + 1;
    return pictures;
}

// The text drawn on a highlighted entry: looks 1 to 7 change to the highlight-text colour, the
// others keep the menu-text colour the normal picture left in the device context.
void expectHighlightedTextColour(const EntryPictures& p, int look)
{
    const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF menuText = GetSysColor(COLOR_MENUTEXT);
    ASSERT_NE(highlightText, menuText);
    const COLORREF expected = look <= 7 ? highlightText : menuText;
    const COLORREF other = look <= 7 ? menuText : highlightText;
    // Rows B - 2 and B - 1 may keep the normal picture (look 11).
    const QRect text(QPoint(p.L + 24, p.T + 4), QPoint(p.R - 13, p.B - 3));
    EXPECT_GT(pixelsOfColour(p.highlighted, text, expected), 3) << "look " << look;
    EXPECT_EQ(pixelsOfColour(p.highlighted, text, other), 0) << "look " << look;
}

// The entry "打开" with its icon, highlighted.
void expectIconEntryHighlighted(const EntryPictures& p, int look)
{
    const QImage& shown = p.highlighted;
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const QRect icon(p.L + 3, p.T + 3, 16, 16);
    const auto column = [&p](int x) { return QRect(x, p.T, 1, p.B - p.T); };
    SCOPED_TRACE(testing::Message() << "look " << look);
    if (look == 1) {
        // Filled whole with the highlight, the icon painted again on top of it.
        EXPECT_EQ(at(shown, p.L, p.T + 1), highlight);
        EXPECT_EQ(at(shown, p.R - 1, p.B - 1), highlight);
        EXPECT_GT(icon.width() * icon.height() - pixelsOfColour(shown, icon, highlight), 20);
    } else if (look <= 7) {
        // A raised frame around the icon the normal picture shows, the text area filled; the
        // columns between them and the last one keep the normal picture.
        EXPECT_EQ(at(shown, p.L + 1, p.T + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(at(shown, p.L + 5, p.T), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(at(shown, p.L + 20, p.T + 5), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(at(shown, p.L + 5, p.B - 1), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_TRUE(sameOver(shown, p.normal, icon)) << "the icon inside the frame";
        for (const int x : {p.L, p.L + 21, p.L + 22, p.R - 1}) {
            EXPECT_TRUE(sameOver(shown, p.normal, column(x))) << "column " << x - p.L;
        }
        const COLORREF fill = look == 2   ? highlight
                              : look == 3 ? GetSysColor(COLOR_BACKGROUND)
                                          : at(shown, p.L + 23, p.T + 1);
        EXPECT_EQ(at(shown, p.L + 23, p.T + 1), fill);
        EXPECT_NE(at(shown, p.L + 23, p.T + 1), at(p.normal, p.L + 23, p.T + 1));
    } else if (look <= 10) {
        // A framed fill over the whole entry; the icon one pixel up and left.
        const COLORREF pen = look == 8   ? RGB(80, 80, 165)
                             : look == 9 ? RGB(255, 131, 6)
                                         : RGB(0, 0, 0);
        const COLORREF fill = look == 8   ? RGB(185, 185, 215)
                              : look == 9 ? RGB(255, 196, 136)
                                          : RGB(192, 192, 192);
        EXPECT_EQ(at(shown, p.L, p.T), pen);
        EXPECT_EQ(at(shown, p.R - 1, p.B - 1), pen);
        EXPECT_EQ(at(shown, p.R - 3, p.T + 2), fill);
        const QRect moved = icon.translated(-1, -1);
        EXPECT_GT(moved.width() * moved.height() - pixelsOfColour(shown, moved, fill), 20);
    } else {
        // A black frame filled with the tooltip colour beside the icon column, which keeps the
        // normal picture, as do the top and bottom rows and the two last columns.
        for (const int x : {p.L, p.L + 1, p.R - 2, p.R - 1}) {
            EXPECT_TRUE(sameOver(shown, p.normal, column(x))) << "column " << x - p.L;
        }
        EXPECT_TRUE(sameOver(shown, p.normal, QRect(p.L, p.T, p.R - p.L, 1)));
        EXPECT_TRUE(sameOver(shown, p.normal, QRect(p.L, p.B - 1, p.R - p.L, 1)));
        EXPECT_EQ(at(shown, p.L + 22, p.T + 5), RGB(0, 0, 0));
        EXPECT_EQ(at(shown, p.R - 3, p.T + 5), RGB(0, 0, 0));
        EXPECT_EQ(at(shown, p.R - 4, p.T + 2), GetSysColor(COLOR_INFOBK));
    }
    expectHighlightedTextColour(p, look);
}

// The checked entry "Help for Varnelook", highlighted: every look shows its check mark, drawn
// again by looks 1 and 8 to 11, kept from the normal picture by the others.
void expectCheckedEntryHighlighted(const EntryPictures& p, int look)
{
    SCOPED_TRACE(testing::Message() << "look " << look);
    EXPECT_EQ(at(p.highlighted, p.L + 10, p.T + 11), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(at(p.highlighted, p.L + 6, p.T + 11), GetSysColor(COLOR_ACTIVECAPTION));
    if (look >= 2 && look <= 7) {
        EXPECT_TRUE(sameOver(p.highlighted, p.normal, QRect(p.L + 2, p.T + 1, 18, p.B - p.T - 2)));
    }
    expectHighlightedTextColour(p, look);
}

TEST(FrameOwnerDraw, MenusOpenedByMouseAreMeasuredAndPaintedByTheEngine)
{
    Running run;
    QMenuBar* bar = host::frameWidgetOf(run.frame()).menuBar();
    host::OwnerDrawMenu& file = run.popup(run.menu().m_file);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file.menuAction()).center());
    expectEngineSizes(run.frame(), file);
    file.close();
}

TEST(FrameOwnerDraw, MenusOpenedByKeyboardAreMeasuredAndPaintedByTheEngine)
{
    Running run;
    host::OwnerDrawMenu& help = run.popup(run.menu().m_help);
    QTest::keyClick(&host::widgetOf(run.frame()), Qt::Key_H, Qt::AltModifier);
    ASSERT_NE(help.activeAction(), nullptr); // the first item is highlighted
    expectEngineSizes(run.frame(), help);
    QTest::keyClick(&help, Qt::Key_Down); // the separator is passed over
    EXPECT_EQ(help.activeAction(), help.entryActions().back());
}

TEST(FrameOwnerDraw, AHighlightedEntryShowsItsLookOverTheNormalPictureInEveryLook)
{
    Running run;
    w_main& frame = run.frame();
    m_main& menu = run.menu();
    menu.m_helpforvarnelook.setChecked(true);
    // Each popup, opened by its key, with the first entry highlighted and then the other one.
    struct Case {
        host::OwnerDrawMenu& popup;
        Qt::Key key;
        int other;
        void (*expect)(const EntryPictures&, int);
    };
    const std::vector<Case> cases = {
        {run.popup(menu.m_file), Qt::Key_F, 1, expectIconEntryHighlighted},
        {run.popup(menu.m_help), Qt::Key_H, 2, expectCheckedEntryHighlighted},
    };
    for (const std::int16_t background : {0, 4}) {
        frame.inv_supermenu.menubkstyle = background;
        SCOPED_TRACE(testing::Message() << "background " << background);
        for (const Case& each : cases) {
            QTest::keyClick(&host::widgetOf(frame), each.key, Qt::AltModifier);
            ASSERT_TRUE(each.popup.isVisible());
            for (std::int16_t look = 1; look <= 11; ++look) {
                frame.inv_supermenu.menustyle = look;
                each.expect(picturesOf(each.popup, 0, each.other), look);
            }
            QTest::keyClick(&each.popup, Qt::Key_Escape);
            QTest::keyClick(host::frameWidgetOf(frame).menuBar(), Qt::Key_Escape);
        }
    }
}

// Every entry's text against what it is drawn on, normal and highlighted: at least 4.5:1.
// Separators have no text; the check runs over the text column, shortcut included.
void expectLegibleEntries(host::OwnerDrawMenu& popup)
{
    std::vector<int> texts;
    for (int i = 0; i < static_cast<int>(popup.entryActions().size()); ++i) {
        if ((entryInfo(popup.menuHandle(), i).fType & MFT_SEPARATOR) == 0) {
            texts.push_back(i);
        }
    }
    ASSERT_GE(texts.size(), 2u);
    for (const int entry : texts) {
        const int other = entry == texts.front() ? texts.back() : texts.front();
        const EntryPictures p = picturesOf(popup, entry, other);
        const QRect text(QPoint(p.L + 24, p.T + 4), QPoint(p.R - 13, p.B - 3));
        const QString label = popup.entryActions().at(static_cast<std::size_t>(entry))->text();
        EXPECT_GE(test::textContrast(p.normal, text), 4.5) << label.toStdString();
        EXPECT_GE(test::textContrast(p.highlighted, text), 4.5)
            << label.toStdString() << " highlighted";
    }
}

TEST(FrameOwnerDraw, MenuTextStaysLegibleInALightAndADarkPalette)
{
    const std::vector<std::pair<const char*, QPalette>> palettes = {
        {"light", QApplication::style()->standardPalette()}, {"dark", test::darkPalette()}};
    for (const auto& [name, palette] : palettes) {
        SCOPED_TRACE(name);
        const test::ScopedPalette shown(palette);
        Running run;
        w_main& frame = run.frame();
        for (const auto& [title, key] :
             {std::pair{&run.menu().m_file, Qt::Key_F}, std::pair{&run.menu().m_help, Qt::Key_H}}) {
            host::OwnerDrawMenu& popup = run.popup(*title);
            QTest::keyClick(&host::widgetOf(frame), key, Qt::AltModifier);
            ASSERT_TRUE(popup.isVisible());
            expectLegibleEntries(popup);
            QTest::keyClick(&popup, Qt::Key_Escape);
            QTest::keyClick(host::frameWidgetOf(frame).menuBar(), Qt::Key_Escape);
        }
    }
}

// What assistive technology announces for the entries of a popup: role and name of each.
std::vector<std::pair<QAccessible::Role, std::string>> announcedEntries(QMenu& popup)
{
    std::vector<std::pair<QAccessible::Role, std::string>> entries;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&popup);
    if (face == nullptr) {
        return entries;
    }
    for (int i = 0; i < face->childCount(); ++i) {
        QAccessibleInterface* entry = face->child(i);
        entries.emplace_back(entry->role(), entry->text(QAccessible::Name).toStdString());
    }
    return entries;
}

TEST(FrameOwnerDraw, EntriesAreAnnouncedByTheirLabelsAndSeparatorsAsSeparators)
{
    Running run;
    w_main& frame = run.frame();
    using Role = QAccessible::Role;
    const std::pair<Role, std::string> separator{Role::Separator, ""};
    const struct {
        host::MenuItem* title;
        Qt::Key key;
        std::vector<std::pair<Role, std::string>> entries;
    } cases[] = {
        {&run.menu().m_file,
         Qt::Key_F,
         {{Role::MenuItem, "打开"}, {Role::MenuItem, "关闭"}, separator, {Role::MenuItem, "退出"}}},
        {&run.menu().m_help,
         Qt::Key_H,
         {{Role::MenuItem, "Help for Varnelook"}, separator, {Role::MenuItem, "About..."}}},
    };
    for (const auto& each : cases) {
        host::OwnerDrawMenu& popup = run.popup(*each.title);
        QTest::keyClick(&host::widgetOf(frame), each.key, Qt::AltModifier);
        ASSERT_TRUE(popup.isVisible());
        EXPECT_EQ(announcedEntries(popup), each.entries) << each.title->text();
        QTest::keyClick(&popup, Qt::Key_Escape);
        QTest::keyClick(host::frameWidgetOf(frame).menuBar(), Qt::Key_Escape);
    }
    // The window list that the frame adds for its sheets: a separator, then the sheet by its
    // number and title.
    host::OwnerDrawMenu& windows = run.popup(run.menu().m_w窗口);
    QTest::keyClick(&host::widgetOf(frame), Qt::Key_W, Qt::AltModifier);
    ASSERT_TRUE(windows.isVisible());
    const auto entries = announcedEntries(windows);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], separator);
    EXPECT_EQ(entries[1].first, Role::MenuItem);
    EXPECT_EQ(entries[1].second.substr(0, 2), "1 ");
    QTest::keyClick(&windows, Qt::Key_Escape);
}

} // namespace
