// Opening another folder from the window: the catalogue's 打开文件夹... (and, through the frame,
// a folder or an archive dropped onto the window) lists that folder's archives as if the viewer
// had been started there.
#include "browse/w_brow.h"
#include "browse/w_brow_opening.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/folder_dialog.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"

#include <string>

using namespace host;

namespace {

const std::string kNoArchive =
    "此文件夹中没有文件库 (右击左边的文件清单选“打开文件夹...”,或把文件夹拖到窗口上)";
const std::string kUnreadableFolder = "无法读取此文件夹: ";

} // namespace

void w_brow::chooseFolder()
{
    const std::optional<std::string> folder =
        GetFolderName(FolderDialogRequest{"打开文件夹", GetCurrentDirectory()});
    if (folder) {
        openFolder(*folder);
    }
}

void w_brow::openFolder(const std::string& folder, const std::string& archive)
{
    if (ChangeDirectory(folder) < 0) {
        MessageBox("信息提示!", "无法打开文件夹: " + folder, Icon::Exclamation);
        return;
    }
    // Everything the sheet holds on disk is named by full path: the old folder's files go as
    // at the sheet's close, wherever the current directory now is.
    leaveFolder();
    lv_fileico->deleteitems();
    is_zipfilepathname.clear();
    arriving_.reset();
    setTitle(""); // as a fresh sheet's, until an archive is listed
    // A new catalogue, not one brought up to date: an archive of the same name as one of the old
    // folder is another archive.
    lv_zip->deleteitems();
    readCatalogue();
    if (!archive.empty()) {
        listArchive(archive);
    }
}

bool w_brow::listArchive(const std::string& name)
{
    for (long index = 1; index <= lv_zip->totalitems(); ++index) {
        if (lv_zip->getitem(index) == name) {
            lv_zip->clickItem(index);
            return true;
        }
    }
    return false;
}

void w_brow::showCatalogueStatus(bool folderRead)
{
    const Frame* statusFrame = parentFrame();
    if (statusFrame == nullptr) {
        return;
    }
    const std::string shown = statusFrame->microhelp();
    std::string wanted;
    if (!folderRead) {
        wanted = kUnreadableFolder + GetCurrentDirectory();
    } else if (lv_zip->totalitems() == 0 && is_zipfilepathname.empty()) {
        // The way out, for a viewer started where no archive is (from the desktop's menu, say).
        wanted = kNoArchive;
    }
    if (!wanted.empty()) {
        if (shown != wanted) {
            showStatus(wanted);
        }
        return;
    }
    // Archives have come, or the folder can be read again: the earlier word no longer holds.
    if (shown == kNoArchive || shown.starts_with(kUnreadableFolder)) {
        showStatus("");
    }
}

void w_brow::leaveFolder()
{
    endListing();
    // An unpack still running stops first; what it wrote regardless is removed when it returns.
    // A copy still being written stops too: a saved copy is left whole or not at all, a drag's
    // copy goes with the folder.
    Opening& opening = *opening_;
    for (browse::ShownWork* work : {&opening.unpack, &opening.copy}) {
        if (work->task.running()) {
            work->task.abandon();
            work->hide();
        }
    }
    opening.next.reset();
    deleteOpenedFile();
    removeDraggedCopies();
}
