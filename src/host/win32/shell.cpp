#include "host/win32/shell.h"

#include <cstring>
#include <gio/gio.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace win32 {

namespace {

// Any value above 32 says the open was handed over.
constexpr HINSTANCE kLaunched = 42;

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectRelease>;

struct GErrorRelease {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorRelease>;

struct GFreeRelease {
    void operator()(gchar* text) const { g_free(text); }
};
using TextPtr = std::unique_ptr<gchar, GFreeRelease>;

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

} // namespace

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

    GPtr<GFile> target(g_file_new_for_path(path.c_str()));
    GError* rawError = nullptr;
    GPtr<GFileInfo> info(g_file_query_info(target.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, &rawError));
    ErrorPtr queryError(rawError);
    if (info == nullptr) {
        return queryError != nullptr &&
                       g_error_matches(queryError.get(), G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED)
                   ? SE_ERR_ACCESSDENIED
                   : SE_ERR_FNF;
    }
    const char* contentType = g_file_info_get_content_type(info.get());
    if (contentType == nullptr) {
        return SE_ERR_NOASSOC;
    }
    GPtr<GAppInfo> application(g_app_info_get_default_for_type(contentType, FALSE));
    if (application == nullptr) {
        return SE_ERR_NOASSOC;
    }

    GList files{};
    files.data = target.get();
    GPtr<GAppLaunchContext> context(g_app_launch_context_new());
    rawError = nullptr;
    const gboolean launched =
        g_app_info_launch(application.get(), &files, context.get(), &rawError);
    ErrorPtr launchError(rawError);
    if (!launched) {
        return launchError != nullptr &&
                       g_error_matches(launchError.get(), G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED)
                   ? SE_ERR_ACCESSDENIED
                   : SE_ERR_NOASSOC;
    }
    return kLaunched;
}

} // namespace win32
