// Unpacking a member into the current directory and opening it with its application. The
// unpack runs on a worker thread; the sheet shows its progress once it lasts, and can cancel it.
#include "browse/w_brow_opening.h"

#include "browse/karvex_causes.h"
#include "browse/karvex_entries.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/win32/shell.h"

using namespace host;
using namespace browse;

void w_brow::showStatus(const std::string& text) const
{
    if (Frame* frame = parentFrame()) {
        frame->setmicrohelp(text);
    }
}

bool w_brow::unpacking() const
{
    return opening_->unpack.task.running();
}

void w_brow::lv_fileico_doubleclicked(long index)
{
    if (index < 1) {
        return;
    }
    if (const std::optional<std::string> label = lv_fileico->getitem(index)) {
        openMember(*label);
    }
}

void w_brow::openMember(const std::string& label)
{
    // Bound before anything changes: a missing library ends the event with everything as it was.
    bindGetFileFromZipFile2();
    Opening& opening = *opening_;
    if (opening.unpack.task.running()) {
        // The newer double-click wins: the running unpack stops, and this one starts when it
        // has returned.
        opening.unpack.task.cancel();
        opening.next = Opening::Request{is_zipfilepathname, label};
        return;
    }
    startUnpack(is_zipfilepathname, label);
}

void w_brow::startUnpack(const std::string& zip, const std::string& label)
{
    const UnpackEntries entries = bindUnpackEntries();
    deleteOpenedFile();
    Opening& opening = *opening_;
    opening.next.reset();

    opening.unpack.show(*this, "取出文件", label);
    opening.unpack.task.start<UnpackResult>(
        [entries, zip, label, folder = GetCurrentDirectory()](WorkerProgress& progress) {
            return unpackMember(entries, zip, label, folder, progress);
        },
        [this](std::uint64_t done, std::uint64_t total) { opening_->unpack.report(done, total); },
        [this, label](const UnpackResult& result) { unpackFinished(label, result); },
        // The sheet closed first: what was written regardless goes again.
        [](const UnpackResult& result) {
            if (result.written) {
                removeUnpackedFile(*result.written);
            }
        });
}

void w_brow::unpackFinished(const std::string& label, const UnpackResult& result)
{
    Opening& opening = *opening_;
    opening.unpack.hide();
    if (opening.next) {
        // Superseded: this member is no longer wanted, whatever became of it.
        if (result.written) {
            removeUnpackedFile(*result.written);
        }
        const Opening::Request next = *opening.next;
        startUnpack(next.zip, next.label);
        return;
    }
    if (result.code == KARVEX_E_CANCELLED) {
        showStatus("已取消取出文件: " + label);
        return;
    }
    if (result.code < 0) {
        // Nothing was written, so nothing is opened and nothing of this name is ours to delete.
        reportCannotExtract(result.code, result.path);
        return;
    }
    if (result.written) {
        is_openfilename = result.written->path;
        opening.opened = result.written;
    }
    // Otherwise the file was there already with exactly the member's content: it is opened as it
    // is, and stays the user's.

    const long ll_runreturn = of_executefile(label, "", result.folder);
    if (ll_runreturn <= 32) {
        MessageBox("信息提示!错误代码为" + String(ll_runreturn),
                   "没有跟这类文件关联的软件,请安装相关软件。");
    }
}

void w_brow::reportCannotExtract(std::int32_t code, const std::string& path) const
{
    std::string text = "无法从文件库中取出该文件。\r\n原因: " + karvexCause(code);
    if (code == KARVEX_E_EXISTS && !path.empty()) {
        // The file in the way may be the user's own work: it stays, and the member can still be
        // had under another name.
        text += "\r\n已有的文件: " + path +
                "\r\n要取出该文件,可在它的右键菜单中选择“另存为...”,另存到别处。";
    }
    MessageBox("信息提示!错误代码为" + String(code), text + "\r\n错误代码: " + String(code));
}

std::int16_t w_brow::of_executefile(const std::string& as_filename, const std::string& as_parameter,
                                    const std::string& as_workdirectory)
{
    // No window of the program is passed as the owner.
    const win32::HINSTANCE result =
        win32::ShellExecuteA(0, "open", as_filename.c_str(), as_parameter.c_str(),
                             as_workdirectory.c_str(), win32::SW_SHOWNORMAL);
    return static_cast<std::int16_t>(result);
}

void w_brow::deleteOpenedFile()
{
    if (is_openfilename.empty()) {
        return;
    }
    if (opening_->opened) {
        removeUnpackedFile(*opening_->opened);
    }
    is_openfilename.clear();
    opening_->opened.reset();
}

void w_brow::onClose()
{
    catalogueWatch_.stop();
    leaveFolder();
}
