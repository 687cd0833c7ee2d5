// Dragging a member out of the list: a copy is unpacked into a folder of its own in the viewer's
// private cache, and the drag carries that file; the copies go when the sheet closes.
#include "browse/karvex_entries.h"
#include "browse/member_unpack.h"
#include "browse/w_brow.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/user_folders.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

using namespace host;

namespace fs = std::filesystem;

namespace {

// The folders made for drag copies in the private cache folder are named this and a number.
constexpr const char* kDragFolderPrefix = "drag-";

// A new, empty folder in the cache for one dragged copy, so that members of the same base name
// never meet; held while the viewer runs, so that another viewer starting meanwhile leaves it
// alone. None when the cache cannot be had.
std::shared_ptr<HeldCacheFolder> newDragFolder()
{
    return HeldCacheFolder::create(browse::kCacheFolderName, kDragFolderPrefix);
}

// Removes a drag copy that was not kept, and the folder made for it.
void discardDragCopy(const HeldCacheFolder& folder, const std::string& path)
{
    std::error_code error;
    fs::remove(path, error);
    fs::remove(folder.path(), error);
}

} // namespace

void w_brow::removeAbandonedDragCopies()
{
    RemoveAbandonedCacheFolders(browse::kCacheFolderName, kDragFolderPrefix);
}

std::string w_brow::dragMemberOut(const std::string& label)
{
    // A copy made for an earlier drag, still as it was written, serves again.
    const auto key = std::make_pair(is_zipfilepathname, label);
    if (const auto known = draggedCopies_.find(key); known != draggedCopies_.end()) {
        if (FileIdentityOf(known->second.file.path) == known->second.file.identity) {
            return known->second.file.path;
        }
        browse::removeUnpackedFile(known->second.file);
        draggedCopies_.erase(known);
    }
    if (copyRunning()) {
        return {};
    }
    const std::shared_ptr<HeldCacheFolder> folder = newDragFolder();
    if (!folder) {
        MessageBox("信息提示!", "无法在缓存文件夹中准备拖出的文件。");
        return {};
    }
    const std::string name = label.substr(label.find_last_of('/') + 1);
    const std::string path = folder->path() + "/" + name;
    // A small copy is written at once, so the drag that asked for it carries it. A larger one,
    // or one of unknown size, is written on the worker with progress and a cancel button, and
    // the next drag of the member carries it: the window never freezes for a copy.
    const std::optional<browse::MemberDetails> details = memberDetails(label);
    if (!details || details->size > kDragAtOnceBytes) {
        startCopy(
            "准备拖出的文件", label, path, KARVEX_EXTRACT_SAVE_AS,
            [this, key, folder, path, name](std::int32_t code) {
                if (code == KARVEX_E_CANCELLED) {
                    discardDragCopy(*folder, path);
                    showStatus("已取消准备拖出的文件: " + name);
                } else if (keepDragCopy(key, folder, path, code)) {
                    showStatus("已准备好拖出的文件: " + name + ",请再拖动一次");
                }
            },
            // The sheet closed first: a copy finished regardless goes with it.
            [folder, path](std::int32_t /*code*/) { discardDragCopy(*folder, path); });
        showStatus("正在准备拖出的文件: " + name);
        return {};
    }
    std::int32_t code = 0;
    {
        // A listing still running keeps its own hourglass after this one ends.
        const BusyPointerScope busy;
        code = browse::copyMember(browse::bindUnpackEntries(), is_zipfilepathname, label, path,
                                  KARVEX_EXTRACT_SAVE_AS, nullptr);
    }
    return keepDragCopy(key, folder, path, code) ? path : std::string();
}

bool w_brow::keepDragCopy(const std::pair<std::string, std::string>& member,
                          const std::shared_ptr<HeldCacheFolder>& folder, const std::string& path,
                          std::int32_t code)
{
    const std::optional<FileIdentity> identity = code < 0 ? std::nullopt : FileIdentityOf(path);
    if (!identity) {
        discardDragCopy(*folder, path);
        const std::int32_t shown = code < 0 ? code : KARVEX_E_WRITE;
        reportCannotExtract(shown);
        return false;
    }
    draggedCopies_.insert_or_assign(
        member, DraggedCopy{browse::UnpackedFile{path, *identity, {folder->path()}}, folder});
    return true;
}

void w_brow::removeDraggedCopies()
{
    for (const auto& [member, copy] : draggedCopies_) {
        browse::removeUnpackedFile(copy.file);
    }
    draggedCopies_.clear();
}
