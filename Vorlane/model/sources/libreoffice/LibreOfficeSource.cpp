#include "LibreOfficeSource.h"

#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "PickListReader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
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
    if (!QFileInfo(path).isFile())
        return {};
    const QList<PickListReader::Item> items = PickListReader::readFile(path);
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
        const QUrl fileUrl = QUrl::fromLocalFile(url.toLocalFile());
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
