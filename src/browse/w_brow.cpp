#include "browse/w_brow.h"

#include "browse/member_listing.h"
#include "browse/w_brow_menus.h"
#include "browse/w_brow_opening.h"
#include "host/toolkit/colors.h"
#include "publisher/publisher.h"

#include <algorithm>

namespace {

constexpr long kWhite = host::RGB(255, 255, 255);
constexpr long kBrandGreen = host::RGB(0, 128, 0);
// The virtual key of F, for Ctrl+F (find).
constexpr int kKeyF = 70;

} // namespace

w_brow::w_brow() : opening_(std::make_unique<Opening>()), menus_(std::make_unique<Menus>(*this))
{
    setIcon("AppIcon!");
    // The size the sheet takes, centred, when it is not maximized.
    setDesignSize(3653, 1772);
    createControls();
}

w_brow::~w_brow() = default;

void w_brow::createControls()
{
    // Frames first, so the controls they surround lie above them.
    gb_2 = std::make_unique<host::GroupBox>(*this);
    gb_2->move(0, 448);
    gb_2->resize(841, 1740);
    gb_2->setText("文件清单");
    gb_2->setFont("Arial", 12);
    gb_2->setTabOrder(40);

    gb_1 = std::make_unique<host::GroupBox>(*this);
    gb_1->move(850, 452);
    gb_1->resize(2290, 200);
    gb_1->setText("明细显示类型");
    gb_1->setFont("Arial", 12);
    gb_1->setTabOrder(30);

    phl_1 = std::make_unique<host::PictureHyperlink>(*this);
    phl_1->move(983, 0);
    phl_1->resize(3109, 452);
    phl_1->setPictureName("logo.gif");
    phl_1->setToolTip(publisher::kName);
    phl_1->setUrl(publisher::kWebAddress);

    for (auto* text : {&st_1, &st_2}) {
        *text = std::make_unique<host::StaticText>(*this);
        (*text)->setFont("宋体", 20, host::FontWeight::Bold);
        (*text)->setTextColor(kBrandGreen);
        (*text)->setBackColor(host::kColorButtonFace);
    }
    st_1->move(0, 68);
    st_1->resize(526, 156);
    st_1->setText(publisher::kBrand);
    st_2->move(59, 252);
    st_2->resize(494, 148);
    st_2->setText(publisher::kCollection);

    lv_zip = std::make_unique<host::ListView>(*this);
    lv_zip->move(14, 536);
    lv_zip->resize(818, 1628);
    lv_zip->setView(host::ListView::View::List);
    // The catalogue is narrow: one column that scrolls down, never columns side by side.
    lv_zip->setSingleColumn(true);
    // Sorted as the directory listing is, so archives that appear later take their places.
    lv_zip->setSorting(host::ListView::Sort::Ascending);
    lv_zip->setFont("宋体", 12);
    lv_zip->setBorder(false);
    lv_zip->setTabOrder(20);
    // Assistive technology names each list as a user sees it: the catalogue by the title of the
    // frame around it, the member list by what it shows.
    lv_zip->setAccessibleName("文件清单");
    lv_zip->addSmallPicture("zip.bmp", kWhite);
    lv_zip->onClicked([this](long index) { lv_zip_clicked(index); });
    // From the keyboard, Return does what the mouse does: list the archive.
    lv_zip->onReturnPressed([this](long index) { lv_zip_clicked(index); });
    lv_zip->onContextMenu([this](long index, win32::POINT at) { lv_zip_contextmenu(index, at); });

    const struct {
        std::unique_ptr<host::RadioButton>* button;
        const char* text;
        int x;
        int y;
        int height;
        host::ListView::View view;
    } buttons[] = {
        {&rb_1, "大图标", 869, 520, 92, host::ListView::View::LargeIcon},
        {&rb_2, "小图标", 1454, 520, 92, host::ListView::View::SmallIcon},
        {&rb_3, "列表", 2039, 524, 88, host::ListView::View::List},
        {&rb_4, "报表", 2624, 520, 92, host::ListView::View::Report},
    };
    for (const auto& design : buttons) {
        auto& button = *design.button;
        button = std::make_unique<host::RadioButton>(*this);
        button->move(design.x, design.y);
        button->resize(457, design.height);
        button->setText(design.text);
        button->setFont("Arial", 12);
        gb_1->addButton(*button);
        // Tab reaches the view buttons right after the catalogue, in the place of their frame.
        button->setTabOrder(gb_1->tabOrder());
        button->onClicked([this, view = design.view] { setView(view); });
    }
    rb_3->setChecked(true);
    rb_4->setVisible(false);

    sle_find = std::make_unique<host::SingleLineEdit>(*this);
    sle_find->move(2624, 520);
    sle_find->resize(457, 92);
    sle_find->setFont("Arial", 12);
    sle_find->setPlaceholder("查找文件名");
    sle_find->setTabOrder(gb_1->tabOrder());
    sle_find->onModified([this](const std::string& text) { filterMembers(text); });
    sle_find->setFocusShortcut(host::Shortcut{kKeyF, true});

    lv_fileico = std::make_unique<host::ListView>(*this);
    lv_fileico->move(850, 652);
    lv_fileico->resize(1947, 1020);
    lv_fileico->setView(host::ListView::View::List);
    lv_fileico->setFont("宋体", 12);
    lv_fileico->setSorting(host::ListView::Sort::Ascending);
    lv_fileico->setTabOrder(10);
    lv_fileico->setAccessibleName("文件");
    lv_fileico->addLargePicture("file.bmp", kWhite);
    lv_fileico->addSmallPicture("file.bmp", kWhite);
    lv_fileico->onDoubleClicked([this](long index) { lv_fileico_doubleclicked(index); });
    lv_fileico->onReturnPressed([this](long index) { lv_fileico_doubleclicked(index); });
    lv_fileico->onContextMenu(
        [this](long index, win32::POINT at) { lv_fileico_contextmenu(index, at); });
    lv_fileico->onDragOut([this](long index) {
        const std::optional<std::string> label = lv_fileico->getitem(index);
        return label ? dragMemberOut(*label) : std::string();
    });
    lv_fileico->onToolTip([this](long index) {
        const std::string label = lv_fileico->getitem(index).value_or("");
        return browse::memberTooltip(label, memberDetails(label));
    });

    lb_zip = std::make_unique<host::ListBox>(*this);
    lb_zip->move(0, 504);
    lb_zip->resize(549, 216);
    lb_zip->setFont("Arial", 12);
    lb_zip->setTabOrder(30);
    lb_zip->setVisible(false);
}

void w_brow::onOpen()
{
    readCatalogue();
}

void w_brow::onRefresh()
{
    readCatalogue();
}

void w_brow::onResize(int /*sizetype*/, int /*newwidth*/, int /*newheight*/)
{
    const int W = workspacewidth();
    const int H = workspaceheight();
    // Below the logo's height the lists shrink to nothing instead of to negative heights.
    const int below = std::max(0, H - phl_1->height());

    // The logo sits flush with the right edge. On a sheet too narrow for it beside the brand
    // texts, its picture stops just past their boxes and is cut at the right, rather than run
    // under them; the small gap stays open however the units round to pixels.
    constexpr int kGap = 16;
    const int textsRight = std::max(st_1->x() + st_1->width(), st_2->x() + st_2->width()) + kGap;

    setredraw(false);
    phl_1->setX(std::max(W - phl_1->width(), textsRight - phl_1->pictureLeft()));
    gb_2->setHeight(below);
    lv_zip->setHeight(std::max(0, below - 100));
    lv_fileico->setX(gb_2->width() + 5);
    gb_1->setWidth(W - gb_2->width());
    lv_fileico->setWidth(W - gb_2->width());
    lv_fileico->setHeight(std::max(0, below - 200));
    setredraw(true);
}

void w_brow::setView(host::ListView::View view)
{
    lv_fileico->setView(view);
}
