#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// KDE's own short list of recent documents: a link file per document in
// ~/.local/share/RecentDocuments (Type=Link, X-KDE-LastOpenedWith=<desktop id>, the document as
// KConfig writes paths, URL[$e]=$HOME/..., or as a URL=), written beside the shared
// recently-used file.
namespace KdeRecentDocuments {
struct Link
{
    // The link file itself.
    QString linkPath;
    // The desktop id it was last opened with, without ".desktop".
    QString agent;
    // The document's local path.
    QString path;
    // The link file's modification time: when it was written.
    QDateTime lastUsed;
};

QString folderPath();

// Every readable link to a local document that names its application; unreadable, oversized and
// damaged files are passed over.
QList<Link> read(const QString& folder);
} // namespace KdeRecentDocuments
