#include "MetadataQuery.h"

namespace {
class NoMetadata final : public MetadataQuery
{
public:
    std::optional<QDateTime> lastUsedDate(const QUrl&) const override { return std::nullopt; }
};

std::shared_ptr<const MetadataQuery>& sharedQuery()
{
    static std::shared_ptr<const MetadataQuery> query = std::make_shared<NoMetadata>();
    return query;
}
} // namespace

const MetadataQuery& MetadataQuery::current()
{
    return *sharedQuery();
}

void MetadataQuery::setCurrent(std::shared_ptr<const MetadataQuery> query)
{
    sharedQuery() = query ? std::move(query) : std::make_shared<NoMetadata>();
}
