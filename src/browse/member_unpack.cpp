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
    if (entries.withProgress != nullptr) {
        result.code =
            entries.withProgress(zip.c_str(), member.c_str(), save.c_str(),
                                 KARVEX_EXTRACT_ACCEPT_IDENTICAL, reportProgress, &progress);
    } else {
        // The older entry may write into what it is given: it gets copies.
        std::string zipCopy = zip;
        std::string memberCopy = member;
        std::string saveCopy = save;
        result.code = entries.plain(zipCopy.data(), memberCopy.data(), saveCopy.data());
    }
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

void removeUnpackedFile(const UnpackedFile& file)
{
    // A file that has taken the name since (the user's own) is not the one to remove.
    if (host::FileIdentityOf(file.path) != file.identity) {
        return;
    }
    std::error_code error;
    if (!fs::remove(file.path, error)) {
        return; // still there (held or protected): its folders are not empty either
    }
    for (const std::string& folder : file.createdFolders) {
        // Removes a folder only when it is empty; the first that is not ends the walk up.
        if (!fs::remove(folder, error)) {
            return;
        }
    }
}

} // namespace browse
