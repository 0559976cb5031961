#include "ActivityDatabaseReader.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>

namespace {
QString localPathOfResource(const QString& resource)
{
    if (resource.startsWith(u'/'))
        return resource;
    if (resource.startsWith(QStringLiteral("file:"))) {
        const QUrl url(resource);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    return {};
}

QList<ActivityDatabaseReader::Use> query(QSqlDatabase& database)
{
    QList<ActivityDatabaseReader::Use> uses;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT initiatingAgent, targettedResource, MAX(lastUpdate) AS used "
                           "FROM ResourceScoreCache GROUP BY initiatingAgent, targettedResource "
                           "ORDER BY used DESC")))
        return uses;
    while (query.next()) {
        const QString agent = query.value(0).toString();
        const QString path = localPathOfResource(query.value(1).toString());
        if (agent.isEmpty() || path.isEmpty())
            continue;
        uses.append({agent, path, QDateTime::fromSecsSinceEpoch(query.value(2).toLongLong())});
    }
    return uses;
}
} // namespace

namespace ActivityDatabaseReader {
QString databasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kactivitymanagerd/resources/database");
}

QList<Use> read(const QString& path)
{
    if (!QFileInfo(path).isFile() || !QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return {};
    // A connection of its own for every read: rebuilds run on a worker thread, and a connection
    // belongs to the thread that made it.
    static QAtomicInteger<quint64> connections;
    const QString name =
        QStringLiteral("vorlane-activities-%1").arg(connections.fetchAndAddRelaxed(1));
    QList<Use> uses;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                                 QStringLiteral("?mode=ro"));
        // Waits a moment at most for the daemon's own writing, never holds anything.
        database.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=200"));
        if (database.open())
            uses = query(database);
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
    return uses;
}
} // namespace ActivityDatabaseReader
