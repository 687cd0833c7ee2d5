// Finding a member: the filter field narrows the member list to the names that contain its
// text, without reading the archive again; the status line says how many are shown.
#include "browse/member_listing.h"
#include "browse/name_filter.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"

#include <memory>
#include <string>

using namespace host;

void w_brow::filterMembers(const std::string& text)
{
    auto filter = std::make_shared<const browse::NameFilter>(text);
    if (filter->empty()) {
        lv_fileico->setFilter(nullptr);
    } else {
        lv_fileico->setFilter(
            [filter](const std::string& label) { return filter->matches(label); });
    }
    // While a list is read, its count stays in the status line; the end of the listing tells.
    if (listed_) {
        showListingStatus();
    }
}

void w_brow::showListingStatus()
{
    const browse::MemberListOutcome& outcome = *listed_;
    std::string text = "总共:" + String(lv_fileico->totalitems()) + "个文件";
    if (outcome.hidden > 0) {
        text += " (另有" + std::to_string(outcome.hidden) + "个名称无法安全显示,未列出)";
    }
    if (outcome.cutShort) {
        text += " (清单不完整: 其余的文件未能列出)";
    }
    if (!sle_find->text().empty()) {
        text += " (显示" + String(lv_fileico->shownitems()) + "个)";
    }
    frame().setmicrohelp(text);
}
