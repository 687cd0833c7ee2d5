// The catalogue of archives and the listing of one archive's members.
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/runtime_error.h"
#include "host/toolkit/window_guard.h"

#include <cstring>

using namespace host;
using namespace browse;

namespace {

// The list buffer the library writes into: this many spaces, plus the zero byte after them.
constexpr long kListBufferLength = 100000;

Frame& frameOf(const w_brow& sheet)
{
    Frame* frame = sheet.parentFrame();
    if (frame == nullptr) {
        throw RuntimeError(RuntimeError::Kind::NullObject, "w_brow 不在框架窗口中");
    }
    return *frame;
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
    const GetFileIndexList2Entry GetFileIndexList2 = bindGetFileIndexList2();
    Frame& frame = frameOf(*this);
    const std::optional<std::string> label = lv_zip->getitem(index);
    if (!label) {
        return;
    }

    // A click during another listing takes over: that listing stops at its next yield.
    const std::uint64_t listing = ++listingNumber_;
    std::string buffer = Space(kListBufferLength);
    is_zipfilepathname = GetCurrentDirectory() + DirectorySeparator() + *label;
    std::string zip = is_zipfilepathname; // the library may write into what it is given
    GetFileIndexList2(zip.data(), buffer.data());
    // The list ends at the zero byte the library wrote, if any.
    buffer.resize(std::strlen(buffer.c_str()));

    lv_fileico->deleteitems();
    SetPointer(Pointer::HourGlass);

    const WindowGuard guard(*this);
    long count = 0;
    long start = 1; // where the unread rest of the buffer begins
    for (;;) {
        Yield();
        if (!guard.alive() || closing()) {
            SetPointer(Pointer::Arrow);
            return;
        }
        if (listing != listingNumber_) {
            return; // the newer listing owns the list, the status line, the pointer and the title
        }
        const long p = Pos(buffer, "@@", start);
        if (p == 0) {
            break;
        }
        lv_fileico->additem(Mid(buffer, start, p - start), 1);
        start = p + 2;
        ++count;
        frame.setmicrohelp("正在读取文件: " + String(count));
    }
    frame.setmicrohelp("总共:" + String(count) + "个文件");
    SetPointer(Pointer::Arrow);
    setTitle("在浏览<" + *label + ">");
}
