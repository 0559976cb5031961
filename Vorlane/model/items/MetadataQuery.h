#pragma once

#include <QDateTime>
#include <QUrl>

#include <memory>
#include <optional>

// Answers when a document was last used, as the desktop recorded it. The process-wide query
// answers nothing until a source that knows such dates is installed; it may be replaced while a
// rebuild on another thread holds the previous one.
class MetadataQuery
{
public:
    virtual ~MetadataQuery() = default;

    virtual std::optional<QDateTime> lastUsedDate(const QUrl& fileUrl) const = 0;

    static std::shared_ptr<const MetadataQuery> current();
    static void setCurrent(std::shared_ptr<const MetadataQuery> query);
};
