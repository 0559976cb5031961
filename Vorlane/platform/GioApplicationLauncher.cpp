#include "GioApplicationLauncher.h"

#include <QFile>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>

namespace {
template <typename T>
struct GObjectDeleter
{
    void operator()(T* object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPointer = std::unique_ptr<T, GObjectDeleter<T>>;

struct GListDeleter
{
    void operator()(GList* list) const { g_list_free_full(list, g_free); }
};

GList* uriList(const QList<QUrl>& documents)
{
    GList* uris = nullptr;
    for (const QUrl& document : documents)
        uris = g_list_append(uris, g_strdup(document.toEncoded().constData()));
    return uris;
}
} // namespace

bool GioApplicationLauncher::launch(const QString& entryPath, const QList<QUrl>& documents)
{
    if (!entryPath.endsWith(QStringLiteral(".desktop")))
        return false;
    const GObjectPointer<GDesktopAppInfo> info(
        g_desktop_app_info_new_from_filename(QFile::encodeName(entryPath).constData()));
    if (!info)
        return false;
    const GObjectPointer<GAppLaunchContext> context(g_app_launch_context_new());
    const std::unique_ptr<GList, GListDeleter> uris(uriList(documents));
    GError* error = nullptr;
    const gboolean launched =
        g_app_info_launch_uris(G_APP_INFO(info.get()), uris.get(), context.get(), &error);
    if (error)
        g_error_free(error);
    return launched;
}
