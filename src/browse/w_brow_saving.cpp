// Saving a copy of a member where the user chooses: the library writes it atomically, so a
// failed save leaves no half-written file and a replaced file stays until its successor is whole.
#include "browse/karvex_causes.h"
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/save_dialog.h"

#include <cstdint>
#include <optional>
#include <string>

using namespace host;

void w_brow::saveMemberAs(const std::string& label)
{
    // Bound before the dialog: a missing library ends the event before the user chooses.
    const browse::KarvexExtractMemberEntry extract = browse::bindKarvexExtractMember();
    if (extract == nullptr) {
        MessageBox("信息提示!", "这个版本的文件库不能另存文件,请更新文件库。");
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
    // A listing still running keeps its hourglass when the copy is written.
    const std::int32_t code = [&] {
        const BusyPointerScope busy;
        return extract(is_zipfilepathname.c_str(), label.c_str(), choice->path.c_str(), flags,
                       nullptr, nullptr);
    }();
    if (code < 0) {
        MessageBox("信息提示!错误代码为" + String(code), "无法另存为 " + choice->path + "\r\n" +
                                                             browse::karvexCause(code) +
                                                             "(错误代码 " + String(code) + ")");
        return;
    }
    frame().setmicrohelp("已另存为 " + choice->path);
}
