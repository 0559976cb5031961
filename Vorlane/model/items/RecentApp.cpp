#include "RecentApp.h"

#include "ApplicationBundle.h"

RecentApp::RecentApp(QString sourceApp, QUrl filePath, QString name, QDateTime dateModified,
                     QList<RecentFile> recentFiles, QList<RecentFileGroup> groupCells)
    : m_sourceApp(std::move(sourceApp))
    , m_filePath(std::move(filePath))
    , m_name(std::move(name))
    , m_dateModified(std::move(dateModified))
    , m_recentFiles(std::move(recentFiles))
    , m_groupCells(std::move(groupCells))
{
    const ApplicationBundle bundle = ApplicationBundle::atPath(m_sourceApp);
    m_appName = bundle.displayName();
    m_icon = bundle.iconName();
}
