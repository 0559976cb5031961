#include "RecentlyUsedSource.h"

#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "FileStatus.h"
#include "FileUrl.h"
#include "MetadataQuery.h"
#include "RecentlyUsedEditor.h"
#include "RecentlyUsedMetadata.h"
#include "RegistrationAttribution.h"
#include "StringHash.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <unordered_map>

namespace {
const QString& recentlyUsedFileName()
{
    static const QString name = QStringLiteral("recently-used.xbel");
    return name;
}

// A registration of a document by one application; documents are numbered by their paths.
struct Document
{
    qsizetype number;
    QString href;
    QDateTime usedAt;
};

struct ApplicationDocuments
{
    DesktopApplicationIndex::Match application;
    QHash<qsizetype, qsizetype> positions;
    QList<Document> documents;

    void add(qsizetype number, const QString& href, const QDateTime& usedAt)
    {
        const auto known = positions.constFind(number);
        if (known == positions.constEnd()) {
            positions.insert(number, documents.size());
            documents.append(Document{number, href, usedAt});
            return;
        }
        QDateTime& date = documents[*known].usedAt;
        if (usedAt.isValid() && (!date.isValid() || usedAt > date))
            date = usedAt;
    }
};

// The applications registrations name, asked of the index once per name and exec line. The
// reader hands out one string for each name and each exec line however often they repeat, so
// a pair of strings is known by where their text lies (equal addresses, equal text).
class RegistrationAttributions
{
public:
    const DesktopApplicationIndex::Match& of(DesktopApplicationIndex& index,
                                             const RecentlyUsedFile::Bookmark& bookmark,
                                             const RecentlyUsedFile::Application& registration)
    {
        if (bookmark.localPath.isEmpty())
            return m_none;
        const std::pair key{registration.name.constData(), registration.exec.constData()};
        auto known = m_matches.constFind(key);
        if (known == m_matches.constEnd())
            known = m_matches.insert(key, attributeRegistration(index, bookmark, registration));
        return *known;
    }

private:
    QHash<std::pair<const QChar*, const QChar*>, DesktopApplicationIndex::Match> m_matches;
    const DesktopApplicationIndex::Match m_none{};
};

// What is shown of a document that exists; its URL is empty when it does not.
struct Examined
{
    QUrl url;
    QString name;
};

// The date group's text for each part of the calendar, asked for once per rebuild.
class DateGroupNames
{
public:
    const QString& of(const QDateTime& date)
    {
        const Calendar::Period period = Calendar::current().periodOf(date);
        QString& name = m_names[int(period)];
        if (name.isNull())
            name = dateGroupName(period);
        return name;
    }

private:
    QString m_names[3];
};
} // namespace

QString recentlyUsedFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' +
           recentlyUsedFileName();
}

void RecentlyUsedSource::prepare()
{
    m_file = RecentlyUsedFile::load(recentlyUsedFilePath());
    MetadataQuery::setCurrent(std::make_shared<RecentlyUsedMetadata>(m_file));
}

QList<RecentApp> RecentlyUsedSource::read()
{
    return readRecentlyUsedEntries(m_file);
}

QList<WatchedPath> RecentlyUsedSource::watchedPaths() const
{
    return {WatchedPath::file(recentlyUsedFilePath())};
}

bool RecentlyUsedSource::owns(const RecentApp& app) const
{
    return !recentlyUsedDesktopId(app.filePath()).isEmpty() &&
           QFileInfo(app.filePath().toLocalFile()).absoluteFilePath() ==
               QFileInfo(recentlyUsedFilePath()).absoluteFilePath();
}

bool RecentlyUsedSource::canRemoveDocument(const RecentApp& app) const
{
    return owns(app);
}

bool RecentlyUsedSource::removeDocument(const RecentApp& app, const RecentFile& file,
                                        QString* error) const
{
    const QString desktopId = recentlyUsedDesktopId(app.filePath());
    if (desktopId.isEmpty() || !file.filePath().isLocalFile()) {
        if (error)
            *error = QStringLiteral("Not a document of the recently-used file: %1")
                         .arg(file.filePath().toString());
        return false;
    }
    const QString path = file.filePath().toLocalFile();
    DesktopApplicationIndex& index = DesktopApplicationIndex::shared();
    index.refresh();
    return RecentlyUsedEditor::removeRegistrations(
        app.filePath().toLocalFile(),
        [&](const RecentlyUsedFile::Bookmark& bookmark,
            const RecentlyUsedFile::Application& registration) {
            return bookmark.localPath == path &&
                   attributeRegistration(index, bookmark, registration).desktopId == desktopId;
        },
        error);
}

bool RecentlyUsedSource::removeRegistrations(const RecentApp& app, QString* error) const
{
    return clearRecentlyUsedEntry(app.filePath(), error);
}

QList<RecentApp> readRecentlyUsedEntries(const RecentlyUsedFile& file)
{
    return readRecentlyUsedEntries(file, DesktopApplicationIndex::shared());
}

QList<RecentApp> readRecentlyUsedEntries(const RecentlyUsedFile& file,
                                         DesktopApplicationIndex& index)
{
    if (file.bookmarks().isEmpty())
        return {};
    index.refresh();

    std::unordered_map<QString, qsizetype, StringHash> applicationPositions;
    QList<ApplicationDocuments> applications;
    RegistrationAttributions attributions;
    // Differently escaped hrefs of one file are one document, numbered here once per bookmark.
    std::unordered_map<QString, qsizetype, StringHash> numbers;
    QList<const QString*> paths;
    numbers.reserve(static_cast<std::size_t>(file.bookmarks().size()));
    paths.reserve(file.bookmarks().size());
    for (const RecentlyUsedFile::Bookmark& bookmark : file.bookmarks()) {
        qsizetype number = -1;
        for (const RecentlyUsedFile::Application& registration : bookmark.applications) {
            const DesktopApplicationIndex::Match& match =
                attributions.of(index, bookmark, registration);
            if (!match.isValid())
                continue;
            const auto [position, newApplication] =
                applicationPositions.try_emplace(match.desktopId, applications.size());
            if (newApplication)
                applications.append(ApplicationDocuments{match, {}, {}});
            if (number < 0) {
                const auto [known, newDocument] =
                    numbers.try_emplace(bookmark.localPath, paths.size());
                number = known->second;
                if (newDocument)
                    paths.append(&bookmark.localPath);
            }
            applications[position->second].add(number, bookmark.href, registration.modified);
        }
    }

    const QString xbelPath = file.path().isEmpty() ? recentlyUsedFilePath() : file.path();
    // Each document is looked at once, however many applications registered it.
    QList<std::optional<Examined>> examined(paths.size());
    DateGroupNames groupNames;
    QList<RecentApp> entries;
    for (const ApplicationDocuments& application : applications) {
        QList<RecentFile> files;
        files.reserve(application.documents.size());
        for (const Document& document : application.documents) {
            std::optional<Examined>& seen = examined[document.number];
            const QString& path = *paths.at(document.number);
            if (!seen) {
                seen = FileStatus::isPresent(path)
                           ? Examined{FileUrl::fromLocalFile(path), displayNameOfPath(path)}
                           : Examined{};
            }
            if (seen->url.isEmpty())
                continue;
            // A registration with no date at all is dated like any document without a stamp.
            files.append(document.usedAt.isValid()
                             ? RecentFile(seen->name, document.href, seen->url, path,
                                          document.usedAt, groupNames.of(document.usedAt))
                             : makeRecentFile(seen->url, document.href, false));
        }
        if (files.isEmpty())
            continue;
        sortFilesNewestFirst(files);
        QList<RecentFileGroup> headings = buildGroupCells(files);
        const QDateTime dateModified = files.first().dateAccessed();
        const QUrl entryUrl = recentlyUsedEntryUrl(xbelPath, application.application.desktopId);
        entries.append(RecentApp(application.application.path, entryUrl, entryUrl.toString(),
                                 dateModified, std::move(files), std::move(headings)));
    }
    sortAppsNewestFirst(entries);
    return entries;
}

QUrl recentlyUsedEntryUrl(const QString& xbelPath, const QString& desktopId)
{
    QUrl url = QUrl::fromLocalFile(xbelPath);
    url.setFragment(desktopId, QUrl::DecodedMode);
    return url;
}

QString recentlyUsedDesktopId(const QUrl& entryFilePath)
{
    if (!entryFilePath.isLocalFile() || !entryFilePath.hasFragment())
        return {};
    if (QFileInfo(entryFilePath.toLocalFile()).fileName() != recentlyUsedFileName())
        return {};
    return entryFilePath.fragment(QUrl::FullyDecoded);
}

bool clearRecentlyUsedEntry(const QUrl& entryFilePath, QString* error)
{
    const QString desktopId = recentlyUsedDesktopId(entryFilePath);
    if (desktopId.isEmpty()) {
        if (error)
            *error = QStringLiteral("Not an entry of the recently-used file: %1")
                         .arg(entryFilePath.toString());
        return false;
    }
    return RecentlyUsedFile::removeApplication(entryFilePath.toLocalFile(), desktopId, error);
}
