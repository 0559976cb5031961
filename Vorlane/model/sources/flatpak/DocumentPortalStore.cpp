#include "DocumentPortalStore.h"

#include "GvdbReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <optional>
#include <unistd.h>

namespace {
// Far above any real database (a few hundred bytes a document); larger files are not read.
constexpr qint64 maxDatabaseSize = 64 * 1024 * 1024;
// The document's flags: the portal marks folder documents.
constexpr quint64 folderFlag = 4;

// The portal's mount points, each ending in a slash.
QStringList portalMountPoints()
{
    QStringList mounts{QStringLiteral("/run/user/%1/doc/").arg(::getuid())};
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtimeDir))
        mounts << QDir::cleanPath(runtimeDir) + QStringLiteral("/doc/");
    return mounts;
}

// The document a database value holds: (va{sas}), the v holding (ayttu).
std::optional<DocumentPortalStore::Document> portalDocumentOf(const SerializedVariant& value)
{
    const QList<SerializedVariant> entry = value.unwrapped().children();
    if (entry.isEmpty())
        return std::nullopt;
    const SerializedVariant document = entry.first().unwrapped();
    if (document.type() != "(ayttu)")
        return std::nullopt;
    const QList<SerializedVariant> fields = document.children();
    const QString path = QFile::decodeName(fields.at(0).byteString());
    if (!QDir::isAbsolutePath(path))
        return std::nullopt;
    return DocumentPortalStore::Document{QDir::cleanPath(path),
                                         (fields.at(3).number() & folderFlag) != 0};
}
} // namespace

QString DocumentPortalStore::databasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/flatpak/db/documents");
}

QHash<QString, DocumentPortalStore::Document> DocumentPortalStore::parse(const QByteArray& database)
{
    const std::optional<GvdbReader> root = GvdbReader::open(database);
    const std::optional<GvdbReader> main =
        root ? root->table(QStringLiteral("main")) : std::nullopt;
    if (!main)
        return {};
    QHash<QString, Document> documents;
    for (const QString& id : main->keys())
        if (const std::optional<Document> document = portalDocumentOf(main->value(id)))
            documents.insert(id, *document);
    return documents;
}

void DocumentPortalStore::refresh()
{
    const QString path = databasePath();
    const QFileInfo info(path);
    const qint64 size = info.isFile() ? info.size() : -1;
    const QDateTime modified = info.lastModified();
    if (path == readPath_ && size == readSize_ && modified == readModified_)
        return;
    readPath_ = path;
    readSize_ = size;
    readModified_ = modified;
    documents_.clear();
    QFile file(path);
    if (size > 0 && size <= maxDatabaseSize && file.open(QIODevice::ReadOnly))
        documents_ = parse(file.read(maxDatabaseSize));
}

bool DocumentPortalStore::isPortalPath(const QString& path)
{
    const QStringList mounts = portalMountPoints();
    return std::any_of(mounts.cbegin(), mounts.cend(),
                       [&path](const QString& mount) { return path.startsWith(mount); });
}

QString DocumentPortalStore::hostPathOf(const QString& sandboxPath) const
{
    for (const QString& mount : portalMountPoints()) {
        if (!sandboxPath.startsWith(mount))
            continue;
        // <id>/<name>[/<path in a folder document>]
        const QStringList parts = sandboxPath.mid(mount.size()).split(u'/', Qt::SkipEmptyParts);
        if (parts.size() < 2 || parts.contains(QStringLiteral("..")) ||
            parts.contains(QStringLiteral(".")))
            return {};
        const auto found = documents_.constFind(parts.at(0));
        if (found == documents_.cend() || QFileInfo(found->hostPath).fileName() != parts.at(1))
            return {};
        if (!found->folder)
            return parts.size() == 2 ? found->hostPath : QString();
        const QStringList inFolder = parts.mid(2);
        return inFolder.isEmpty() ? found->hostPath : found->hostPath + u'/' + inFolder.join(u'/');
    }
    return {};
}
