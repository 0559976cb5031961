#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// What the document portal handed to sandboxed applications, from its database
// ($XDG_DATA_HOME/flatpak/db/documents, a GVDB file its permission store writes): a document id
// names a host file, or a host folder for folder documents. A sandbox reaches them under the
// portal's mount, /run/user/<uid>/doc/<id>/<file or folder name>[/<path in the folder>].
// Documents the portal keeps only while it runs (transient ones) are not in the file.
class DocumentPortalStore
{
public:
    struct Document
    {
        QString hostPath;
        bool folder = false;
    };

    // $XDG_DATA_HOME/flatpak/db/documents
    static QString databasePath();
    // The persistent documents in a database file's bytes, by id; none for a damaged file.
    static QHash<QString, Document> parse(const QByteArray& database);

    // Reads the database again when its size or modification time changed since the last read.
    void refresh();
    // The host path of a path under the portal's mount, or empty when the path is no portal
    // path of this user's, names an unknown document, or does not match the document: a file
    // document's name must be its file's name, and paths in a folder document stay in it.
    QString hostPathOf(const QString& sandboxPath) const;
    // Whether the path is under the portal's mount as this user's sandboxes see it
    // (/run/user/<uid>/doc/) or as the host does ($XDG_RUNTIME_DIR/doc/).
    static bool isPortalPath(const QString& path);

private:
    QString readPath_;
    qint64 readSize_ = -1;
    QDateTime readModified_;
    QHash<QString, Document> documents_;
};
