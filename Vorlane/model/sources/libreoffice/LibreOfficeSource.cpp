#include "LibreOfficeSource.h"

#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "FileIdentity.h"
#include "FileUrl.h"
#include "PickListReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>

namespace {
const QString& startCenter()
{
    static const QString id = QStringLiteral("libreoffice-startcenter");
    return id;
}

struct ModuleDocuments
{
    QString desktopId;
    QList<RecentFile> files;
};

// Its own date, kept no later than the date of the document before it in the list.
QDateTime dateInOrder(const QUrl& url, const QList<RecentFile>& before)
{
    const QDateTime own = lastUsedDate(url, false);
    if (before.isEmpty() || !before.last().dateAccessed().isValid())
        return own;
    return own.isValid() ? std::min(own, before.last().dateAccessed())
                         : before.last().dateAccessed();
}
// The profile holds every setting of LibreOffice (hundreds of kilobytes, several milliseconds to
// read) and changes only when LibreOffice quits, while the list is read again whenever any source
// changes: the last reading is kept for as long as the file stays the same. A file changed in the
// last second is read every time: the kernel's clock for file times moves in steps of
// milliseconds, so a rewrite of the same size within one step would look unchanged.
QList<PickListReader::Item> pickListOf(const QString& path)
{
    static QMutex mutex;
    static QString readPath;
    static std::optional<FileIdentity> settledIdentity;
    static QList<PickListReader::Item> readItems;
    const std::optional<FileIdentity> identity = FileIdentity::of(QFile::encodeName(path));
    if (!identity || !identity->isRegularFile())
        return {};
    const QMutexLocker lock(&mutex);
    if (path == readPath && identity == settledIdentity)
        return readItems;
    constexpr qint64 nsPerSecond = 1'000'000'000;
    const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
    readItems = PickListReader::readFile(path);
    readPath = path;
    settledIdentity =
        identity->modifiedNs < nowNs - nsPerSecond && identity->changedNs < nowNs - nsPerSecond
            ? identity
            : std::nullopt;
    return readItems;
}
} // namespace

QString LibreOfficeSource::profileFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/libreoffice/4/user/registrymodifications.xcu");
}

QString LibreOfficeSource::moduleOfFilter(const QString& filter)
{
    // Filter names carry the module (writer8, calc8, impress8, draw8, "Calc MS Excel 2007 XML")
    // or the foreign format a module imports ("MS Word 97", "MS PowerPoint 97").
    static const QList<std::pair<QStringList, QString>> modules{
        {{QStringLiteral("writer"), QStringLiteral("word"), QStringLiteral("rich text")},
         QStringLiteral("libreoffice-writer")},
        {{QStringLiteral("calc"), QStringLiteral("excel")}, QStringLiteral("libreoffice-calc")},
        {{QStringLiteral("impress"), QStringLiteral("powerpoint")},
         QStringLiteral("libreoffice-impress")},
        {{QStringLiteral("draw")}, QStringLiteral("libreoffice-draw")},
    };
    for (const auto& [words, desktopId] : modules) {
        for (const QString& word : words) {
            if (filter.contains(word, Qt::CaseInsensitive))
                return desktopId;
        }
    }
    return startCenter();
}

QList<RecentApp> LibreOfficeSource::read()
{
    const QString path = profileFilePath();
    const QList<PickListReader::Item> items = pickListOf(path);
    if (items.isEmpty())
        return {};
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();

    QHash<QString, qsizetype> positions;
    QList<ModuleDocuments> modules;
    for (const PickListReader::Item& item : items) {
        const QUrl url(item.url);
        if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
            continue;
        QString desktopId = moduleOfFilter(item.filter);
        if (!index.findById(desktopId).isValid())
            desktopId = startCenter();
        auto position = positions.constFind(desktopId);
        if (position == positions.constEnd()) {
            position = positions.insert(desktopId, modules.size());
            modules.append({desktopId, {}});
        }
        QList<RecentFile>& files = modules[*position].files;
        const QUrl fileUrl = FileUrl::fromLocalFile(url.toLocalFile());
        files.append(makeRecentFile(fileUrl, item.url, dateInOrder(fileUrl, files)));
    }

    const QDateTime dateModified = modificationDate(QUrl::fromLocalFile(path));
    QList<RecentApp> entries;
    for (ModuleDocuments& module : modules) {
        const DesktopApplicationIndex::Match application = index.findById(module.desktopId);
        if (!application.isValid())
            continue;
        QList<RecentFileGroup> headings = buildGroupCells(module.files);
        QUrl entryUrl = QUrl::fromLocalFile(path);
        entryUrl.setFragment(module.desktopId, QUrl::DecodedMode);
        entries.append(RecentApp(application.path, entryUrl, entryUrl.toString(), dateModified,
                                 std::move(module.files), std::move(headings)));
    }
    return entries;
}

QList<WatchedPath> LibreOfficeSource::watchedPaths() const
{
    return {WatchedPath::file(profileFilePath())};
}

bool LibreOfficeSource::owns(const RecentApp& app) const
{
    const QUrl& url = app.filePath();
    return url.isLocalFile() && url.hasFragment() && url.toLocalFile() == profileFilePath();
}

QString LibreOfficeSource::notClearedBecause() const
{
    return QCoreApplication::translate(
        "LibreOfficeSource", "LibreOffice keeps this list among its settings and writes them again "
                             "when it quits; clear it in LibreOffice with File, Recent Documents, "
                             "Clear List.");
}
