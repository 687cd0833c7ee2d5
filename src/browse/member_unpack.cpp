#include "browse/member_unpack.h"

#include "host/toolkit/user_folders.h"

#include <filesystem>

namespace browse {

namespace {

namespace fs = std::filesystem;

// The member's sub-folders inside `folder` that do not exist yet, deepest first.
std::vector<std::string> missingFolders(const std::string& folder, const std::string& member)
{
    std::vector<std::string> missing;
    std::string path = folder;
    std::size_t start = 0;
    for (std::size_t slash = member.find('/'); slash != std::string::npos;
         slash = member.find('/', start)) {
        path += "/" + member.substr(start, slash - start);
        start = slash + 1;
        std::error_code error;
        if (!missing.empty() || !fs::exists(fs::symlink_status(path, error))) {
            missing.insert(missing.begin(), path);
        }
    }
    return missing;
}

int reportProgress(void* context, std::uint64_t done, std::uint64_t total)
{
    auto& progress = *static_cast<host::WorkerProgress*>(context);
    progress.report(done, total);
    return progress.cancelled() ? 1 : 0;
}

UnpackResult unpackInto(const UnpackEntries& entries, const std::string& zip,
                        const std::string& member, const std::string& folder,
                        host::WorkerProgress& progress)
{
    UnpackResult result;
    result.folder = folder;
    const std::vector<std::string> created = missingFolders(folder, member);
    const std::string save = folder + "/" + member;
    result.path = save;
    result.code =
        copyMember(entries, zip, member, save, KARVEX_EXTRACT_ACCEPT_IDENTICAL, &progress);
    if (result.code != KARVEX_OK) {
        return result;
    }
    const std::optional<host::FileIdentity> identity = host::FileIdentityOf(save);
    if (!identity) {
        result.code = KARVEX_E_WRITE; // reported written, yet not there
        return result;
    }
    result.written = UnpackedFile{save, *identity, created};
    if (progress.cancelled()) {
        removeUnpackedFile(*result.written);
        result.written.reset();
        result.code = KARVEX_E_CANCELLED;
    }
    return result;
}

// Codes that mean the folder (or a sub-folder the member needs) cannot be written there.
bool folderNotWritable(std::int32_t code)
{
    return code == KARVEX_E_PERMISSION || code == KARVEX_E_WRITE || code == KARVEX_E_SAVE_FOLDER;
}

} // namespace

UnpackEntries bindUnpackEntries()
{
    UnpackEntries entries{bindKarvexExtractMember(), nullptr};
    if (entries.withProgress == nullptr) {
        entries.plain = bindGetFileFromZipFile2();
    }
    return entries;
}

UnpackResult unpackMember(const UnpackEntries& entries, const std::string& zip,
                          const std::string& member, const std::string& folder,
                          host::WorkerProgress& progress)
{
    UnpackResult result = unpackInto(entries, zip, member, folder, progress);
    if (!folderNotWritable(result.code) || progress.cancelled()) {
        return result;
    }
    const std::optional<std::string> cache = host::PrivateCacheFolder(kCacheFolderName);
    if (!cache) {
        return result;
    }
    return unpackInto(entries, zip, member, *cache, progress);
}

std::int32_t copyMember(const UnpackEntries& entries, const std::string& zip,
                        const std::string& member, const std::string& path, std::uint32_t flags,
                        host::WorkerProgress* progress)
{
    if (entries.withProgress != nullptr) {
        return entries.withProgress(zip.c_str(), member.c_str(), path.c_str(), flags,
                                    progress != nullptr ? reportProgress : nullptr, progress);
    }
    // The older entry may write into what it is given: it gets copies.
    std::string zipCopy = zip;
    std::string memberCopy = member;
    std::string pathCopy = path;
    return entries.plain(zipCopy.data(), memberCopy.data(), pathCopy.data());
}

void removeUnpackedFile(const UnpackedFile& file)
{
    std::error_code error;
    if (const std::optional<host::FileIdentity> now = host::FileIdentityOf(file.path)) {
        // A file that has taken the name since (the user's own) is not the one to remove.
        if (*now != file.identity) {
            return;
        }
        if (!fs::remove(file.path, error)) {
            return; // still there (held or protected): its folders are not empty either
        }
    }
    // Gone now, or taken away before (a drop target may move a dragged copy): the folders made
    // for it go too, each only while it is empty.
    for (const std::string& folder : file.createdFolders) {
        // Removes a folder only when it is empty; the first that is not ends the walk up.
        if (!fs::remove(folder, error)) {
            return;
        }
    }
}

} // namespace browse
