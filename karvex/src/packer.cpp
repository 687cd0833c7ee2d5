#include "packer.h"

#include "names.h"

#include <memory>
#include <sys/stat.h>
#include <unordered_set>
#include <zip.h>

namespace karvex {
namespace {

struct ZipDiscard {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};

// The bytes to store for `name`, or a message saying why it cannot be stored.
std::string storedName(const std::string& name, NameEncoding encoding, std::string& message)
{
    const ListedName listed = toListedName(name);
    if (!isValidUtf8(name)) {
        message = "name is not UTF-8: " + name;
    } else if (listed.problem != NameProblem::None) {
        message = std::string(describe(listed.problem)) + ": " + printableName(name);
    } else if (listed.isDirectory || listed.text != name) {
        message = "name is not a plain file path: " + name;
    }
    if (!message.empty() || encoding == NameEncoding::Utf8) {
        return name;
    }
    const auto gbk = utf8ToGbk(name);
    if (!gbk) {
        message = "name has characters that GBK cannot hold: " + name;
        return {};
    }
    // Readers take unflagged names that are valid UTF-8 as UTF-8, so such GBK bytes would be
    // shown as another name.
    if (*gbk != name && isValidUtf8(*gbk)) {
        message = "GBK form of the name reads as different UTF-8: " + name;
        return {};
    }
    return *gbk;
}

} // namespace

std::string packArchive(const std::string& archivePath, const std::vector<PackItem>& items,
                        NameEncoding encoding)
{
    std::unordered_set<std::string> seen;
    for (const PackItem& item : items) {
        std::string message;
        storedName(item.name, encoding, message);
        if (!message.empty()) {
            return message;
        }
        if (!seen.insert(item.name).second) {
            return "name given twice: " + printableName(item.name);
        }
        struct stat st {};
        if (::stat(item.sourcePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return "not a readable file: " + printableName(item.sourcePath);
        }
    }

    int zipError = 0;
    std::unique_ptr<zip_t, ZipDiscard> zip(
        zip_open(archivePath.c_str(), ZIP_CREATE | ZIP_EXCL, &zipError));
    if (!zip) {
        if (zipError == ZIP_ER_EXISTS) {
            return "archive already exists: " + printableName(archivePath);
        }
        zip_error_t error;
        zip_error_init_with_code(&error, zipError);
        std::string message =
            "cannot create " + printableName(archivePath) + ": " + zip_error_strerror(&error);
        zip_error_fini(&error);
        return message;
    }
    // Names in GBK go in as raw bytes: libzip stores "CP437" names as given and without the
    // UTF-8 flag.
    const zip_flags_t nameFlags =
        encoding == NameEncoding::Gbk ? ZIP_FL_ENC_CP437 : ZIP_FL_ENC_UTF_8;
    for (const PackItem& item : items) {
        std::string message;
        const std::string stored = storedName(item.name, encoding, message);
        zip_source_t* source = zip_source_file(zip.get(), item.sourcePath.c_str(), 0, 0);
        if (source == nullptr) {
            return "cannot read " + printableName(item.sourcePath) + ": " + zip_strerror(zip.get());
        }
        if (zip_file_add(zip.get(), stored.c_str(), source, nameFlags) < 0) {
            zip_source_free(source);
            return "cannot add " + printableName(item.name) + ": " + zip_strerror(zip.get());
        }
    }
    // zip_close writes the archive and frees the handle on success; on failure the handle
    // stays ours to discard, which removes the half-written temporary file.
    zip_t* finished = zip.release();
    if (zip_close(finished) != 0) {
        std::string message =
            "cannot write " + printableName(archivePath) + ": " + zip_strerror(finished);
        zip_discard(finished);
        return message;
    }
    return {};
}

} // namespace karvex
