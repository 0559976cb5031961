#include "MetadataQuery.h"

#include <QMutex>

namespace {
class NoMetadata final : public MetadataQuery
{
public:
    std::optional<QDateTime> lastUsedDate(const QUrl&) const override { return std::nullopt; }
};

QMutex& mutex()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<const MetadataQuery>& sharedQuery()
{
    static std::shared_ptr<const MetadataQuery> query = std::make_shared<NoMetadata>();
    return query;
}
} // namespace

std::shared_ptr<const MetadataQuery> MetadataQuery::current()
{
    const QMutexLocker locker(&mutex());
    return sharedQuery();
}

void MetadataQuery::setCurrent(std::shared_ptr<const MetadataQuery> query)
{
    const QMutexLocker locker(&mutex());
    sharedQuery() = query ? std::move(query) : std::make_shared<NoMetadata>();
}
