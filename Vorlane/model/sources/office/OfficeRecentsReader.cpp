#include "OfficeRecentsReader.h"

#include "ApplicationLookup.h"
#include "Bookmark.h"
#include "DateRules.h"
#include "PropertyList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
bool isTemplate(const QUrl& fileUrl)
{
    const QString extension = QFileInfo(fileUrl.path()).suffix();
    return extension == u"dotx" || extension == u"dotm";
}

QList<RecentFile> documentsOf(const QVariantMap& bookmarks, const QString& home)
{
    QList<RecentFile> files;
    for (const QVariant& value : bookmarks) {
        const QVariant data = value.toMap().value(QStringLiteral("kBookmarkDataKey"));
        if (data.metaType() != QMetaType::fromType<QByteArray>())
            continue;
        const std::optional<Bookmark::Resolution> resolved =
            Bookmark::resolve(data.toByteArray(), home);
        if (!resolved || isTemplate(resolved->fileUrl))
            continue;
        const bool alreadyListed =
            std::any_of(files.cbegin(), files.cend(), [&](const RecentFile& file) {
                return file.filePath() == resolved->fileUrl;
            });
        if (!alreadyListed)
            files.append(makeRecentFile(resolved->fileUrl, data, true));
    }
    return files;
}
} // namespace

QStringList officeApplications()
{
    return {QStringLiteral("com.microsoft.Word"), QStringLiteral("com.microsoft.Excel"),
            QStringLiteral("com.microsoft.Powerpoint")};
}

QUrl officeSecureBookmarkFileUrl(const QString& id)
{
    return QUrl::fromLocalFile(QDir::homePath() + QStringLiteral("/Library/Containers/") + id +
                               QStringLiteral("/Data/Library/Preferences/") + id +
                               QStringLiteral(".securebookmarks.plist"));
}

QList<RecentApp> readOfficeEntries()
{
    const QString home = QDir::homePath();
    QList<RecentApp> entries;
    for (const QString& id : officeApplications()) {
        const QUrl bookmarkFile = officeSecureBookmarkFileUrl(id);
        if (!QFileInfo::exists(bookmarkFile.toLocalFile()))
            continue;
        const std::optional<QVariant> plist = PropertyList::readFile(bookmarkFile.toLocalFile());
        QList<RecentFile> files = documentsOf(plist ? plist->toMap() : QVariantMap(), home);
        if (files.isEmpty())
            continue;
        sortFilesNewestFirst(files);
        QList<RecentFileGroup> headings = buildGroupCells(files);
        const QString sourceApp = ApplicationLookup::urlForApplicationWithBundleIdentifier(id);
        if (sourceApp.isEmpty())
            continue;
        entries.append(RecentApp(sourceApp, bookmarkFile, id, modificationDate(bookmarkFile),
                                 std::move(files), std::move(headings)));
    }
    return entries;
}
