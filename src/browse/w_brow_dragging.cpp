// Dragging a member out of the list: a copy is unpacked into a folder of its own in the viewer's
// private cache, and the drag carries that file; the copies go when the sheet closes.
#include "browse/karvex_causes.h"
#include "browse/karvex_entries.h"
#include "browse/member_unpack.h"
#include "browse/w_brow.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/user_folders.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>

using namespace host;

namespace {

namespace fs = std::filesystem;

// A new, empty folder in the cache for one dragged copy, so that members of the same base name
// never meet; none when the cache cannot be had.
std::optional<std::string> newDragFolder()
{
    const std::optional<std::string> cache = PrivateCacheFolder(browse::kCacheFolderName);
    if (!cache) {
        return std::nullopt;
    }
    // Other viewers may share the cache: a name taken already is passed over.
    std::uint32_t number = std::random_device{}();
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        const std::string folder = *cache + "/drag-" + std::to_string(number);
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            return folder;
        }
    }
    return std::nullopt;
}

// Writes member `label` of `zip` whole to `path`, or nothing; the library's code.
std::int32_t writeCopy(const std::string& zip, const std::string& label, const std::string& path)
{
    if (const browse::KarvexExtractMemberEntry extract = browse::bindKarvexExtractMember()) {
        return extract(zip.c_str(), label.c_str(), path.c_str(), KARVEX_EXTRACT_SAVE_AS, nullptr,
                       nullptr);
    }
    // The older entry may write into what it is given: it gets copies.
    std::string zipCopy = zip;
    std::string labelCopy = label;
    std::string pathCopy = path;
    return browse::bindGetFileFromZipFile2()(zipCopy.data(), labelCopy.data(), pathCopy.data());
}

} // namespace

std::string w_brow::dragMemberOut(const std::string& label)
{
    // A copy made for an earlier drag, still as it was written, serves again.
    const auto key = std::make_pair(is_zipfilepathname, label);
    if (const auto known = draggedCopies_.find(key); known != draggedCopies_.end()) {
        if (FileIdentityOf(known->second.path) == known->second.identity) {
            return known->second.path;
        }
        browse::removeUnpackedFile(known->second);
        draggedCopies_.erase(known);
    }
    const std::optional<std::string> folder = newDragFolder();
    if (!folder) {
        MessageBox("信息提示!", "无法在缓存文件夹中准备拖出的文件。");
        return {};
    }
    std::string path = *folder + "/" + label.substr(label.find_last_of('/') + 1);
    std::int32_t code = 0;
    {
        // A listing still running keeps its own hourglass after this one ends.
        const BusyPointerScope busy;
        code = writeCopy(is_zipfilepathname, label, path);
    }
    const std::optional<FileIdentity> identity = code < 0 ? std::nullopt : FileIdentityOf(path);
    if (!identity) {
        std::error_code error;
        fs::remove(*folder, error);
        const std::int32_t shown = code < 0 ? code : KARVEX_E_WRITE;
        MessageBox("信息提示!错误代码为" + String(shown),
                   "无法从文件库中取出该文件。\r\n原因: " + browse::karvexCause(shown) +
                       "\r\n错误代码: " + String(shown));
        return {};
    }
    draggedCopies_.emplace(key, browse::UnpackedFile{path, *identity, {*folder}});
    return path;
}

void w_brow::removeDraggedCopies()
{
    for (const auto& [member, copy] : draggedCopies_) {
        browse::removeUnpackedFile(copy);
    }
    draggedCopies_.clear();
}
