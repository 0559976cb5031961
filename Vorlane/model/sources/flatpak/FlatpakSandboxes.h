#pragma once

#include <QList>
#include <QString>

class DocumentPortalStore;

// Flatpak applications see a data folder of their own (~/.var/app/<app id>/data), so GTK
// applications in a sandbox keep their recent documents in a recently-used.xbel of their own
// there, in the shared file's format.
namespace FlatpakSandboxes {
struct History
{
    // The application's id, which is also its desktop id.
    QString appId;
    QString xbelPath;
};

// ~/.var/app
QString appsFolder();
// ~/.var/app/<appId>/data/recently-used.xbel
QString historyPath(const QString& appId);
// The sandboxes whose history file exists, by app id.
QList<History> histories();
// The app id when path is a sandbox's history file; empty otherwise.
QString appIdOfHistory(const QString& path);

// The host path of a document as an application in its sandbox recorded it, or empty when the
// host cannot reach it by that path: the sandbox's own system (/app, /usr, /run but for
// /run/media, ...) differs from the host's. The document portal's /run/user/<uid>/doc/<id>/
// names stand for files whose real place only the portal's database knows.
QString hostPathOf(const QString& sandboxPath, const DocumentPortalStore& portal);
} // namespace FlatpakSandboxes
