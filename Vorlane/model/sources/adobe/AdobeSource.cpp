#include "AdobeSource.h"

#include "AdobePreferenceEditor.h"
#include "AdobeRecentsReader.h"
#include "ApplicationLookup.h"
#include "ApplicationRecordsSource.h"
#include "PropertyList.h"

#include <QFileInfo>

namespace {
// The file's application keys that gave the entry: those shown under its name that lead to its
// application.
QStringList keysOf(const RecentApp& app)
{
    const std::optional<QVariant> plist =
        PropertyList::readFile(adobePreferenceFileUrl().toLocalFile());
    const QVariantMap mru =
        plist ? plist->toMap().value(QStringLiteral("MRU")).toMap() : QVariantMap();
    QStringList keys;
    for (auto it = mru.cbegin(); it != mru.cend(); ++it) {
        if (capitalized(it.key()) == app.name() &&
            ApplicationLookup::urlForApplicationWithBundleIdentifier(QStringLiteral("com.adobe.") +
                                                                     it.key()) == app.sourceApp())
            keys.append(it.key());
    }
    return keys;
}
} // namespace

QList<RecentApp> AdobeSource::read()
{
    if (!ApplicationRecordsSource::folderCanBeListed() ||
        !QFileInfo::exists(adobePreferenceFileUrl().path()))
        return {};
    return readAdobeEntries();
}

QList<WatchedPath> AdobeSource::watchedPaths() const
{
    return {WatchedPath::file(adobePreferenceFileUrl().toLocalFile())};
}

bool AdobeSource::owns(const RecentApp& app) const
{
    return app.filePath() == adobePreferenceFileUrl();
}

bool AdobeSource::removeRegistrations(const RecentApp& app, QString* error) const
{
    return AdobePreferenceEditor::removeApplications(adobePreferenceFileUrl().toLocalFile(),
                                                     keysOf(app), error);
}
