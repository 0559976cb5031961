#include "RecentFile.h"

RecentFile::RecentFile(QString name, QVariant bookmark, QUrl filePath, QDateTime dateAccessed,
                       QString dateGroup)
    : m_name(std::move(name))
    , m_bookmark(std::move(bookmark))
    , m_filePath(std::move(filePath))
    , m_dateAccessed(std::move(dateAccessed))
    , m_dateGroup(std::move(dateGroup))
{}

RecentFile::RecentFile(QString name, QVariant bookmark, QUrl filePath, QString localPath,
                       QDateTime dateAccessed, QString dateGroup)
    : m_name(std::move(name))
    , m_bookmark(std::move(bookmark))
    , m_filePath(std::move(filePath))
    , m_localPath(std::move(localPath))
    , m_dateAccessed(std::move(dateAccessed))
    , m_dateGroup(std::move(dateGroup))
{}
