#include "host/desktop_open/desktop_open.h"

#include <gio/gio.h>
#include <memory>

namespace {

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectRelease>;

struct GErrorRelease {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorRelease>;

bool permissionDenied(const ErrorPtr& error)
{
    return error != nullptr &&
           g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED) != FALSE;
}

} // namespace

std::int32_t VarnelookDesktopOpenFile(const char* path)
{
    if (path == nullptr || *path == '\0') {
        return VarnelookOpenFileNotFound;
    }
    GPtr<GFile> target(g_file_new_for_path(path));
    GError* rawError = nullptr;
    GPtr<GFileInfo> info(g_file_query_info(target.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, &rawError));
    const ErrorPtr queryError(rawError);
    if (info == nullptr) {
        return permissionDenied(queryError) ? VarnelookOpenAccessDenied : VarnelookOpenFileNotFound;
    }
    const char* contentType = g_file_info_get_content_type(info.get());
    if (contentType == nullptr) {
        return VarnelookOpenNoApplication;
    }
    GPtr<GAppInfo> application(g_app_info_get_default_for_type(contentType, FALSE));
    if (application == nullptr) {
        return VarnelookOpenNoApplication;
    }

    GList files{};
    files.data = target.get();
    GPtr<GAppLaunchContext> context(g_app_launch_context_new());
    rawError = nullptr;
    const gboolean launched =
        g_app_info_launch(application.get(), &files, context.get(), &rawError);
    const ErrorPtr launchError(rawError);
    if (launched == FALSE) {
        return permissionDenied(launchError) ? VarnelookOpenAccessDenied
                                             : VarnelookOpenNoApplication;
    }
    return VarnelookOpenLaunched;
}
