#pragma once

#include "RecentSource.h"

#include <QList>

#include <memory>
#include <vector>

// Every source of the list, in the order their entries are read: entries with equal dates keep
// this order. A new source is one line in the constructor. Each RecentSources has sources of its
// own (see RecentSource); making one reads nothing.
class RecentSources
{
public:
    RecentSources();
    ~RecentSources();
    RecentSources(const RecentSources&) = delete;
    RecentSources& operator=(const RecentSources&) = delete;

    const std::vector<std::unique_ptr<RecentSource>>& all() const { return m_sources; }

    // Every source's watched files and folders, in source order.
    QList<WatchedPath> watchedPaths() const;
    // The source an entry came from; null for one no source gave (the store's placeholder).
    const RecentSource* ownerOf(const RecentApp& app) const;
    // The source that watches filePath; null when none does.
    const RecentSource* watcherOf(const QString& filePath) const;

private:
    std::vector<std::unique_ptr<RecentSource>> m_sources;
};
