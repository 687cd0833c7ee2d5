// The right-click menus of the catalogue and of the member list.
#include "browse/w_brow_menus.h"

#include "browse/member_details.h"
#include "browse/member_listing.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"

#include <optional>
#include <string>

w_brow::Menus::Menus(w_brow& sheet)
{
    list =
        &archive.addEntry("列出", [&sheet] { sheet.lv_zip_clicked(sheet.menus_->archiveIndex); });
    archive.addEntry("-", nullptr);
    archive.addEntry("打开文件夹...", [&sheet] { sheet.chooseFolder(); });
    member.addEntry("打开", [&sheet] { sheet.openMember(sheet.menus_->memberLabel); });
    member.addEntry("另存为...", [&sheet] { sheet.saveMemberAs(sheet.menus_->memberLabel); });
    member.addEntry("-", nullptr);
    details = &member.addEntry(browse::kDetailsUnknown, nullptr);
}

void w_brow::lv_zip_contextmenu(long index, win32::POINT at)
{
    // Beside the archives (index 0) the menu still offers another folder.
    menus_->archiveIndex = index;
    menus_->list->setEnabled(index > 0);
    menus_->archive.popup(frame(), *this, at);
}

void w_brow::lv_fileico_contextmenu(long index, win32::POINT at)
{
    const std::optional<std::string> label = lv_fileico->getitem(index);
    if (!label) {
        return;
    }
    Menus& menus = *menus_;
    menus.memberLabel = *label;
    // The details the listing collected: the archive is not read again for them.
    const std::optional<browse::MemberDetails> details = memberDetails(*label);
    menus.details->setText(details ? browse::describeMember(*details) : browse::kDetailsUnknown);
    menus.member.popup(frame(), *this, at);
}

std::optional<browse::MemberDetails> w_brow::memberDetails(const std::string& label) const
{
    return arriving_ ? arriving_->details(label) : std::nullopt;
}
