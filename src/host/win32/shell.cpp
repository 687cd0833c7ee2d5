#include "host/win32/shell.h"

#include "host/desktop_open/desktop_open.h"
#include "host/win32/modules_internal.h"

#include <QLibrary>
#include <cstring>
#include <string>
#include <unistd.h>

namespace win32 {

namespace {

// Any value above 32 says the open was handed over.
constexpr HINSTANCE kLaunched = 42;

std::string resolve(const char* file, const char* directory)
{
    std::string path = file;
    if (!path.empty() && path.front() != '/' && directory != nullptr && *directory != '\0') {
        std::string folder = directory;
        if (folder.back() != '/') {
            folder += '/';
        }
        path = folder + path;
    }
    return path;
}

// The module's name, and its entry once loaded.
struct DesktopOpenModule {
    QString name = QString::fromLatin1(kDesktopOpenModule);
    VarnelookDesktopOpenFileEntry entry = nullptr;
};

DesktopOpenModule& desktopOpenModule()
{
    static DesktopOpenModule module;
    return module;
}

// The desktop-open module's entry, loaded on first use: next to the executable, then by the
// system's search. The module stays loaded for the rest of the run (GIO keeps state, such as
// the watches on launched children, that must outlive any one open). nullptr when it cannot
// be loaded; the next open tries again.
VarnelookDesktopOpenFileEntry desktopOpenEntry()
{
    DesktopOpenModule& module = desktopOpenModule();
    if (module.entry != nullptr) {
        return module.entry;
    }
    for (const QString& candidate : librarySearchPaths(module.name)) {
        QLibrary library(candidate); // destroying a QLibrary leaves the library loaded
        if (library.load()) {
            module.entry =
                reinterpret_cast<VarnelookDesktopOpenFileEntry>(library.resolve(kDesktopOpenEntry));
            if (module.entry != nullptr) {
                return module.entry;
            }
            library.unload();
        }
    }
    return nullptr;
}

} // namespace

void setDesktopOpenModule(const std::string& name)
{
    desktopOpenModule() = DesktopOpenModule{QString::fromStdString(name), nullptr};
}

HINSTANCE ShellExecuteA(HWND /*hwnd*/, const char* operation, const char* file,
                        const char* /*parameters*/, const char* directory, int /*showCommand*/)
{
    if (operation != nullptr && *operation != '\0' && std::strcmp(operation, "open") != 0) {
        return SE_ERR_NOASSOC;
    }
    if (file == nullptr || *file == '\0') {
        return SE_ERR_FNF;
    }
    const std::string path = resolve(file, directory);
    if (::access(path.c_str(), F_OK) != 0) {
        return SE_ERR_FNF;
    }
    if (::access(path.c_str(), R_OK) != 0) {
        return SE_ERR_ACCESSDENIED;
    }
    const VarnelookDesktopOpenFileEntry open = desktopOpenEntry();
    if (open == nullptr) {
        return SE_ERR_DLLNOTFOUND;
    }
    switch (open(path.c_str())) {
    case VarnelookOpenLaunched:
        return kLaunched;
    case VarnelookOpenFileNotFound:
        return SE_ERR_FNF;
    case VarnelookOpenAccessDenied:
        return SE_ERR_ACCESSDENIED;
    default:
        return SE_ERR_NOASSOC;
    }
}

} // namespace win32
