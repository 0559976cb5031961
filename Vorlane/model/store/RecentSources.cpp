#include "RecentSources.h"

#include "ActivityManagerSource.h"
#include "AdobeSource.h"
#include "ApplicationRecordsSource.h"
#include "FlatpakSource.h"
#include "KdeRecentDocumentsSource.h"
#include "LibreOfficeSource.h"
#include "OfficeSource.h"
#include "RecentlyUsedSource.h"

RecentSources::RecentSources()
{
    m_sources.push_back(std::make_unique<ApplicationRecordsSource>());
    m_sources.push_back(std::make_unique<AdobeSource>());
    m_sources.push_back(std::make_unique<OfficeSource>());
    m_sources.push_back(std::make_unique<RecentlyUsedSource>());
    m_sources.push_back(std::make_unique<FlatpakSource>());
    m_sources.push_back(std::make_unique<KdeRecentDocumentsSource>());
    m_sources.push_back(std::make_unique<LibreOfficeSource>());
    m_sources.push_back(std::make_unique<ActivityManagerSource>());
}

RecentSources::~RecentSources() = default;

QList<WatchedPath> RecentSources::watchedPaths() const
{
    QList<WatchedPath> paths;
    for (const auto& source : m_sources)
        paths.append(source->watchedPaths());
    return paths;
}

const RecentSource* RecentSources::ownerOf(const RecentApp& app) const
{
    for (const auto& source : m_sources) {
        if (source->owns(app))
            return source.get();
    }
    return nullptr;
}

const RecentSource* RecentSources::watcherOf(const QString& filePath) const
{
    for (const auto& source : m_sources) {
        if (source->watches(filePath))
            return source.get();
    }
    return nullptr;
}
