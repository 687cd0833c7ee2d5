// Saving a copy of a member where the user chooses: the library writes it atomically, so a
// failed or cancelled save leaves no half-written file and a replaced file stays until its
// successor is whole. Copies are written on a worker thread, with progress and a cancel button.
#include "browse/karvex_causes.h"
#include "browse/karvex_entries.h"
#include "browse/w_brow_opening.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/save_dialog.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

using namespace host;

bool w_brow::copyRunning() const
{
    if (!opening_->copy.task.running()) {
        return false;
    }
    MessageBox("信息提示!", "另一个文件正在取出,请等它完成或取消后再试。");
    return true;
}

void w_brow::startCopy(const std::string& title, const std::string& label, const std::string& path,
                       std::uint32_t flags, std::function<void(std::int32_t)> finished,
                       std::function<void(std::int32_t)> abandoned)
{
    // Bound before anything shows: a missing library ends the event here.
    const browse::UnpackEntries entries = browse::bindUnpackEntries();
    browse::ShownWork& copy = opening_->copy;
    copy.show(*this, title, label);
    copy.task.start<std::int32_t>(
        [entries, zip = is_zipfilepathname, label, path, flags](WorkerProgress& progress) {
            return browse::copyMember(entries, zip, label, path, flags, &progress);
        },
        [this](std::uint64_t done, std::uint64_t total) { opening_->copy.report(done, total); },
        [this, finished = std::move(finished)](std::int32_t code) {
            opening_->copy.hide();
            finished(code);
        },
        std::move(abandoned));
}

void w_brow::saveMemberAs(const std::string& label)
{
    // Bound before the dialog: a missing library ends the event before the user chooses.
    if (browse::bindKarvexExtractMember() == nullptr) {
        MessageBox("信息提示!", "这个版本的文件库不能另存文件,请更新文件库。");
        return;
    }
    if (copyRunning()) {
        return;
    }
    const std::string name = label.substr(label.find_last_of('/') + 1);
    const std::optional<SaveChoice> choice =
        GetSaveFileName(SaveDialogRequest{"另存为", DocumentsFolder(), name});
    if (!choice) {
        return;
    }
    // Replacing only what the dialog confirmed: a file that appears at the path after it
    // closed is refused by the library, not overwritten.
    std::uint32_t flags = KARVEX_EXTRACT_SAVE_AS;
    if (choice->replace) {
        flags |= KARVEX_EXTRACT_REPLACE;
    }
    // The copy is the user's: when the sheet closes first, a copy finished regardless stays.
    startCopy("另存为", label, choice->path, flags,
              [this, path = choice->path](std::int32_t code) { saveFinished(path, code); }, {});
}

void w_brow::saveFinished(const std::string& path, std::int32_t code)
{
    if (code == KARVEX_E_CANCELLED) {
        frame().setmicrohelp("已取消另存为 " + path);
        return;
    }
    if (code < 0) {
        // The status line no longer tells of an earlier save.
        frame().setmicrohelp("另存为失败: " + path + " 原因: " + browse::karvexCause(code));
        MessageBox("信息提示!错误代码为" + String(code), "无法另存为 " + path + "\r\n" +
                                                             browse::karvexCause(code) +
                                                             "(错误代码 " + String(code) + ")");
        return;
    }
    frame().setmicrohelp("已另存为 " + path);
}
