#include "MonitorTestHome.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <cstdio>

MonitorTestHome::MonitorTestHome()
    : m_oldHome(qgetenv("HOME"))
    , m_oldDataHome(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(home());
    qputenv("HOME", QFile::encodeName(home()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataFolder()));
}

MonitorTestHome::~MonitorTestHome()
{
    qputenv("HOME", m_oldHome);
    qputenv("XDG_DATA_HOME", m_oldDataHome);
}

QString MonitorTestHome::home() const
{
    return root() + QStringLiteral("/home");
}

QString MonitorTestHome::dataFolder() const
{
    return home() + QStringLiteral("/.local/share");
}

QString MonitorTestHome::recordFolder() const
{
    return dataFolder() + QStringLiteral("/com.apple.sharedfilelist/"
                                         "com.apple.LSSharedFileList.ApplicationRecentDocuments");
}

QString MonitorTestHome::recentlyUsedFile() const
{
    return dataFolder() + QStringLiteral("/recently-used.xbel");
}

bool MonitorTestHome::makeRecordFolder() const
{
    return QDir().mkpath(recordFolder());
}

bool MonitorTestHome::writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(contents) == contents.size();
}

bool MonitorTestHome::replaceByRename(const QString& temporaryPath, const QString& path)
{
    if (!writeFile(temporaryPath))
        return false;
    // rename(2) itself: QFile::rename refuses to replace an existing file.
    return std::rename(QFile::encodeName(temporaryPath).constData(),
                       QFile::encodeName(path).constData()) == 0;
}
