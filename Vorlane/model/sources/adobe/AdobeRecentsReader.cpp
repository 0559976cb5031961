#include "AdobeRecentsReader.h"

#include "ApplicationLookup.h"
#include "DateRules.h"
#include "FileStatus.h"
#include "FileUrl.h"
#include "PropertyList.h"

#include <QDir>

namespace {
bool isMap(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<QVariantMap>();
}

QList<RecentFile> existingFiles(const QVariant& files)
{
    QList<RecentFile> kept;
    if (files.metaType() != QMetaType::fromType<QVariantList>())
        return kept;
    for (const QVariant& element : files.toList()) {
        const QVariant path = element.toMap().value(QStringLiteral("file-path"));
        if (!isMap(element) || path.metaType() != QMetaType::fromType<QString>())
            continue;
        const QUrl url = FileUrl::fromLocalFile(path.toString());
        if (FileStatus::exists(path.toString()))
            kept.append(makeRecentFile(url, QVariant(), true));
    }
    return kept;
}

// The files' dates were worked out by the same rule just now; the newest of them, the first
// one winning a tie, is when the application last used any of them.
QDateTime latestDate(const QList<RecentFile>& sortedFiles)
{
    QDateTime latest;
    for (const RecentFile& file : sortedFiles)
        if (!latest.isValid() || file.dateAccessed() > latest)
            latest = file.dateAccessed();
    return latest;
}
} // namespace

QUrl adobePreferenceFileUrl()
{
    return QUrl::fromLocalFile(QDir::homePath() +
                               QStringLiteral("/Library/Preferences/com.adobe.mediabrowser.plist"));
}

QString capitalized(const QString& text)
{
    QString result = text.toLower();
    bool startOfWord = true;
    for (QChar& c : result) {
        if (c.isSpace()) {
            startOfWord = true;
        } else if (startOfWord) {
            c = c.toUpper();
            startOfWord = false;
        }
    }
    return result;
}

QList<RecentApp> readAdobeEntries()
{
    const QUrl preferenceFile = adobePreferenceFileUrl();
    const std::optional<QVariant> plist = PropertyList::readFile(preferenceFile.toLocalFile());
    const QVariant mru = plist ? plist->toMap().value(QStringLiteral("MRU")) : QVariant();
    if (!isMap(mru))
        return {};

    QList<RecentApp> entries;
    const QVariantMap applications = mru.toMap();
    for (auto it = applications.cbegin(); it != applications.cend(); ++it) {
        QList<RecentFile> files = existingFiles(it.value().toMap().value(QStringLiteral("files")));
        if (files.isEmpty())
            continue;
        sortFilesNewestFirst(files);
        QList<RecentFileGroup> headings = buildGroupCells(files);
        const QString sourceApp = ApplicationLookup::urlForApplicationWithBundleIdentifier(
            QStringLiteral("com.adobe.") + it.key());
        if (sourceApp.isEmpty())
            continue;
        const QDateTime latest = latestDate(files);
        entries.append(RecentApp(sourceApp, preferenceFile, capitalized(it.key()), latest,
                                 std::move(files), std::move(headings)));
    }
    return entries;
}
