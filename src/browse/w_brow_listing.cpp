// The catalogue of archives and the listing of one archive's members.
#include "browse/member_listing.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/runtime_error.h"
#include "host/toolkit/window_guard.h"

#include <vector>

using namespace host;
using namespace browse;

namespace {

Frame& frameOf(const w_brow& sheet)
{
    Frame* frame = sheet.parentFrame();
    if (frame == nullptr) {
        throw RuntimeError(RuntimeError::Kind::NullObject, "w_brow 不在框架窗口中");
    }
    return *frame;
}

// What a failed listing means to the user, in words.
std::string listingFailureText(std::int32_t code)
{
    switch (code) {
    case KARVEX_E_OPEN_ARCHIVE:
        return "无法打开该文件库: 文件已不在、不可读,或不是普通文件。";
    case KARVEX_E_NOT_AN_ARCHIVE:
        return "该文件不是可读的文件库: 它已损坏、不完整,或根本不是文件库。";
    case KARVEX_E_INTERNAL:
        return "读取文件库时内存不足或发生内部错误。";
    default:
        return "无法读取该文件库的文件清单。";
    }
}

// The final status: the count, and what the list could not show.
std::string listingSummary(long count, const MemberListOutcome& outcome)
{
    std::string text = "总共:" + String(count) + "个文件";
    if (outcome.hidden > 0) {
        text += " (另有" + std::to_string(outcome.hidden) + "个名称无法安全显示,未列出)";
    }
    if (outcome.cutShort) {
        text += " (清单不完整: 其余的文件未能列出)";
    }
    return text;
}

} // namespace

void w_brow::of_addzipfile()
{
    const long n = lb_zip->totalitems();
    if (n < 1) {
        return;
    }
    for (long i = 1; i <= n; ++i) {
        lv_zip->additem(lb_zip->text(i), 1);
    }
}

void w_brow::lv_zip_clicked(long index)
{
    if (index < 1) {
        return;
    }
    // Bound before anything changes: a missing library ends the event with everything as it was.
    const ListingEntries entries = bindListingEntries();
    Frame& frame = frameOf(*this);
    const std::optional<std::string> label = lv_zip->getitem(index);
    if (!label) {
        return;
    }

    // A click during another listing takes over: that listing stops at its next yield.
    const std::uint64_t listing = ++listingNumber_;
    is_zipfilepathname = GetCurrentDirectory() + DirectorySeparator() + *label;
    // The catalogue keeps showing which archive the member list belongs to.
    lv_zip->setMarkedItem(index);
    lv_fileico->deleteitems();
    SetPointer(Pointer::HourGlass);

    std::vector<std::string> names;
    const MemberListOutcome outcome =
        readMemberList(entries, is_zipfilepathname, [&names](std::string name) {
            names.push_back(std::move(name));
            return true;
        });
    if (outcome.result < 0) {
        // A damaged archive is not an empty one: say so, and list nothing.
        frame.setmicrohelp("无法读取文件清单,错误代码为" + String(outcome.result));
        SetPointer(Pointer::Arrow);
        setTitle("在浏览<" + *label + ">");
        MessageBox("信息提示!错误代码为" + String(outcome.result),
                   listingFailureText(outcome.result) + "(错误代码 " + String(outcome.result) +
                       ")");
        return;
    }

    const WindowGuard guard(*this);
    long count = 0;
    for (std::size_t next = 0;; ++next) {
        Yield();
        if (!guard.alive() || closing()) {
            SetPointer(Pointer::Arrow);
            return;
        }
        if (listing != listingNumber_) {
            return; // the newer listing owns the list, the status line, the pointer and the title
        }
        if (next == names.size()) {
            break;
        }
        lv_fileico->additem(names[next], 1);
        ++count;
        frame.setmicrohelp("正在读取文件: " + String(count));
    }
    frame.setmicrohelp(listingSummary(count, outcome));
    SetPointer(Pointer::Arrow);
    setTitle("在浏览<" + *label + ">");
}

void w_brow::endListing()
{
    // A listing still running stops at its next yield; its status goes with the sheet.
    ++listingNumber_;
    if (Frame* frame = parentFrame()) {
        frame->setmicrohelp("");
    }
}
