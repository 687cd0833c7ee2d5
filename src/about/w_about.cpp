#include "about/w_about.h"

#include "host/toolkit/colors.h"
#include "host/toolkit/message_box.h"
#include "host/win32/windows.h"
#include "publisher/publisher.h"
#include "util/n_cst_numerical.h"

#include <string>

namespace {

// Light sky blue, the colour of the window and of every control on it.
constexpr long kBackground = host::RGB(166, 202, 240);
static_assert(kBackground == 15780518);

// The author's signature under the hidden message.
constexpr const char* kSignature = "开发者 林远 敬上";

// The Win32 values the open event works with.
constexpr win32::LONG gwl_exstyle = -20;
constexpr win32::LONG ws_ex_layered = 524288;
constexpr win32::DWORD lwa_alpha = 2;
static_assert(gwl_exstyle == win32::GWL_EXSTYLE && ws_ex_layered == win32::WS_EX_LAYERED &&
              lwa_alpha == win32::LWA_ALPHA);

} // namespace

void w_about::openWithParent(host::Window* parentwindow)
{
    // Ours until the user has closed it. Should the parent go away while the box is open, it
    // takes the box's widget with it, and the box goes here as usual.
    const auto window = std::make_unique<w_about>(parentwindow);
    window->openModal();
}

w_about::w_about(host::Window* parentwindow) : host::ResponseWindow(parentwindow)
{
    setTitle("关于Varnelook");
    setResizable(false);
    setDesignSize(1851, 1104);
    setBackColor(kBackground);
    createControls();
}

w_about::~w_about() = default;

void w_about::createControls()
{
    shl_2 = std::make_unique<host::StaticHyperlink>(*this);
    shl_2->move(393, 612);
    shl_2->resize(891, 72);
    shl_2->setText(std::string("E-mail：") + publisher::kEmailAddress);
    shl_2->setUrl(std::string("mailto:") + publisher::kEmailAddress);

    shl_1 = std::make_unique<host::StaticHyperlink>(*this);
    shl_1->move(384, 472);
    shl_1->resize(955, 72);
    shl_1->setText(std::string("网站：") + publisher::kWebSite);
    shl_1->setUrl(publisher::kWebSite);

    // Character sets, pitch and family of the fonts mean nothing to UTF-8 text: face and size
    // are what shows. The links stay underlined whatever font they get.
    for (auto* link : {shl_2.get(), shl_1.get()}) {
        link->setFont("Arial", 12);
        link->setTextColor(host::kColorLink);
        link->setBackColor(kBackground);
    }

    st_2 = std::make_unique<host::StaticText>(*this);
    st_2->move(1088, 892);
    st_2->resize(713, 80);
    st_2->setFont("宋体", 12);
    st_2->setText("2003年10月22日开发");
    st_2->onClicked([this] { st_2_clicked(); });

    st_1 = std::make_unique<host::StaticText>(*this);
    st_1->move(274, 176);
    st_1->resize(1216, 136);
    st_1->setFont("宋体", 22);
    st_1->setText(publisher::kName);

    for (auto* text : {st_2.get(), st_1.get()}) {
        text->setTextColor(host::kColorWindowText);
        text->setBackColor(kBackground);
    }
}

void w_about::onOpen()
{
    // The box shows the frame through itself: a layered window at half opacity.
    n_cst_numerical lnc_n;
    const win32::HWND ll_handle = handle();
    win32::LONG ll_ret = win32::GetWindowLongA(ll_handle, gwl_exstyle);
    ll_ret =
        lnc_n.of_bitwiseor(n_cst_numerical::Long{ll_ret}, n_cst_numerical::Long{ws_ex_layered});
    win32::SetWindowLongA(ll_handle, gwl_exstyle, ll_ret);
    win32::SetLayeredWindowAttributes(ll_handle, 0, 128, lwa_alpha);
}

void w_about::st_2_clicked()
{
    host::MessageBox("哈哈,你怎样找到我的!", kSignature);
}
