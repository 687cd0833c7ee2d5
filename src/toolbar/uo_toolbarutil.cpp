#include "toolbar/uo_toolbarutil.h"

#include "host/records/records.h"
#include "host/records/toolkit_calls.h"
#include "host/toolkit/window.h"
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/shapes.h"
#include "host/win32/windows.h"

namespace {

// Offsets of the fields of the toolbar's record that the utility writes.
constexpr std::int32_t kNormalFace = 2248;
constexpr std::int32_t kPressedFace = 2252;
constexpr std::int32_t kButtonWidth = 2464;
constexpr std::int32_t kButtonHeight = 2468;
constexpr std::int32_t kFaceWidth = 2476;
constexpr std::int32_t kFaceHeight = 2480;
constexpr std::int32_t kSeparatorWidth = 2492;
constexpr std::int32_t kSeparatorSpace = 2496;
constexpr std::int32_t kIconWidth = 2500;
constexpr std::int32_t kIconHeight = 2504;
constexpr std::int32_t kFaceHeightAgain = 2556;
constexpr std::int32_t kFaceWidthAgain = 2564;

} // namespace

uo_toolbarutil::~uo_toolbarutil()
{
    if (il_hbitmap != 0) {
        win32::DeleteObject(static_cast<win32::HGDIOBJ>(il_hbitmap));
    }
}

void uo_toolbarutil::of_settoolbarfont(const std::string& as_fontname,
                                       std::optional<std::int16_t> ai_fontsize,
                                       const std::string& as_extent)
{
    if (il_ptoolbar < 1) {
        return;
    }
    std::string fontname = as_fontname;
    std::int16_t fontsize = ai_fontsize.value_or(0);
    std::string extent = as_extent;
    host::callToolkitFunction("fn_toolbarsetfont",
                              {&il_ptoolbar, &fontname, &fontsize, &il_hbitmap, &extent});
}

bool uo_toolbarutil::of_inittoolbar(const host::Window* aw_frame,
                                    std::optional<std::int16_t> ai_size)
{
    if (aw_frame == nullptr) {
        return false;
    }
    const char* ls_windowname = nullptr;
    const win32::HWND ll_null = 0;
    il_hframe = static_cast<std::int32_t>(aw_frame->handle());
    const win32::HWND ll_hwndtoolbar = win32::FindWindowExA(
        static_cast<win32::HWND>(il_hframe), ll_null, is_toolclassname.c_str(), ls_windowname);
    if (ll_hwndtoolbar == 0) {
        return false;
    }
    il_ptoolbar = win32::GetWindowLongA(ll_hwndtoolbar, 0);
    il_hwndtoolbar = static_cast<std::int32_t>(ll_hwndtoolbar);
    if (!ai_size || *ai_size <= 16) {
        return true;
    }
    const win32::HDC ll_hdc = win32::GetDC(ll_hwndtoolbar);
    const win32::HBITMAP made = win32::CreateCompatibleBitmap(ll_hdc, *ai_size, *ai_size);
    win32::ReleaseDC(ll_hwndtoolbar, ll_hdc);
    // The instance keeps one such bitmap: a new binding replaces the last one.
    if (il_hbitmap != 0) {
        win32::DeleteObject(static_cast<win32::HGDIOBJ>(il_hbitmap));
    }
    il_hbitmap = static_cast<std::int32_t>(made);
    ii_iconsize = *ai_size;
    return true;
}

void uo_toolbarutil::of_toolbarshowtext(std::optional<bool> ib_show)
{
    bool show = ib_show.value_or(false);
    host::callToolkitFunction("fn_toolbarshowtext", {&il_ptoolbar, &show});
    if (ib_show.value_or(false)) {
        of_displayseperator();
    } else if (ii_iconsize > 16) {
        of_adjusttoolbariconsize();
    }
}

void uo_toolbarutil::of_displayseperator()
{
    if (il_ptoolbar < 1) {
        return;
    }
    writeByte(kSeparatorWidth, 4);
    writeByte(kSeparatorSpace, 4);
}

void uo_toolbarutil::of_adjusttoolbariconsize()
{
    if (ii_iconsize <= 16 || il_ptoolbar <= 0) {
        return;
    }
    const std::int32_t s = ii_iconsize;
    writeByte(kIconWidth, s);
    writeByte(kIconHeight, s);
    writeByte(kFaceWidth, s + 7);
    writeByte(kFaceWidthAgain, s + 7);
    writeByte(kFaceHeight, s + 6);
    writeByte(kFaceHeightAgain, s + 6);
    writeByte(kButtonWidth, s + 11);
    writeByte(kButtonHeight, s + 10);

    const auto frame = static_cast<win32::HWND>(il_hframe);
    const win32::HDC ll_hdc = win32::GetDC(frame);
    win32::RECT rc{0, 0, s + 7, s + 6};
    const win32::HDC ll_hmemdc = win32::CreateCompatibleDC(ll_hdc);
    auto memdc = static_cast<std::int32_t>(ll_hmemdc);

    win32::HBITMAP ll_hbitmap = win32::CreateCompatibleBitmap(ll_hdc, s + 7, s + 6);
    auto handle = static_cast<std::int32_t>(ll_hbitmap);
    win32::RtlMoveMemory(il_ptoolbar + kNormalFace, &handle, sizeof handle);
    const win32::HGDIOBJ ll_holdbmp = win32::SelectObject(ll_hmemdc, ll_hbitmap);
    host::callToolkitFunction("osdrawedge3d",
                              {&memdc, &rc, static_cast<std::int32_t>(win32::BDR_RAISEDINNER),
                               static_cast<std::int32_t>(win32::BF_MIDDLE)});

    ll_hbitmap = win32::CreateCompatibleBitmap(ll_hdc, s + 7, s + 6);
    handle = static_cast<std::int32_t>(ll_hbitmap);
    win32::RtlMoveMemory(il_ptoolbar + kPressedFace, &handle, sizeof handle);
    win32::SelectObject(ll_hmemdc, ll_hbitmap);
    host::callToolkitFunction("osdrawedge3d",
                              {&memdc, &rc, static_cast<std::int32_t>(win32::BDR_SUNKENOUTER),
                               static_cast<std::int32_t>(win32::BF_RECT | win32::BF_MIDDLE)});

    win32::SelectObject(ll_hmemdc, ll_holdbmp);
    win32::DeleteDC(ll_hmemdc);
    win32::ReleaseDC(frame, ll_hdc);
}

void uo_toolbarutil::writeByte(std::int32_t offset, std::int32_t value) const
{
    const auto byte = static_cast<win32::BYTE>(value & 0xFF);
    win32::RtlMoveMemory(il_ptoolbar + offset, &byte, 1);
}
