#include "AdobeRecentsReader.h"

#include <QDir>

QUrl adobePreferenceFileUrl()
{
    return QUrl::fromLocalFile(QDir::homePath() +
                               QStringLiteral("/Library/Preferences/com.adobe.mediabrowser.plist"));
}

QList<RecentApp> readAdobeEntries()
{
    return {};
}
