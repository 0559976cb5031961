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

bool GioApplicationLauncher::launch(const QString& entryPath, const QList<QUrl>& documents,
                                    QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!entryPath.endsWith(QStringLiteral(".desktop")))
        return fail(QStringLiteral("%1 is not a desktop entry").arg(entryPath));
    const GObjectPointer<GDesktopAppInfo> info(
        g_desktop_app_info_new_from_filename(QFile::encodeName(entryPath).constData()));
    if (!info)
        return fail(QStringLiteral("no application can be started from %1").arg(entryPath));
    const GObjectPointer<GAppLaunchContext> context(g_app_launch_context_new());
    const std::unique_ptr<GList, GListDeleter> uris(uriList(documents));
    GError* launchError = nullptr;
    const gboolean launched =
        g_app_info_launch_uris(G_APP_INFO(info.get()), uris.get(), context.get(), &launchError);
    const QString message = launchError ? QString::fromUtf8(launchError->message) : QString();
    if (launchError)
        g_error_free(launchError);
    if (!launched)
        return fail(message.isEmpty() ? QStringLiteral("%1 did not start").arg(entryPath)
                                      : message);
    return true;
}
