#include "ThumbnailerRegistry.h"

#include <QDir>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>

ThumbnailerRegistry ThumbnailerRegistry::fromEnvironment()
{
    return fromDataFolders(QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}

ThumbnailerRegistry ThumbnailerRegistry::fromDataFolders(const QStringList& dataFolders)
{
    ThumbnailerRegistry registry;
    QSet<QString> seenNames;
    for (const QString& folder : dataFolders) {
        const QDir thumbnailers(folder + QStringLiteral("/thumbnailers"));
        const QStringList names = thumbnailers.entryList({QStringLiteral("*.thumbnailer")},
                                                         QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names) {
            if (seenNames.contains(name))
                continue;
            seenNames.insert(name);
            const auto entry = ThumbnailerEntry::read(thumbnailers.filePath(name));
            if (entry && entry->isInstalled())
                registry.add(*entry);
        }
    }
    return registry;
}

void ThumbnailerRegistry::add(const ThumbnailerEntry& entry)
{
    const QMimeDatabase database;
    m_entries << entry;
    for (const QString& type : entry.mimeTypes()) {
        // Listed under an alias or the canonical name, the type is found either way.
        const QString canonical = database.mimeTypeForName(type).name();
        for (const QString& name : {type, canonical}) {
            if (!name.isEmpty() && !m_byMimeType.contains(name))
                m_byMimeType.insert(name, m_entries.size() - 1);
        }
    }
}

std::optional<ThumbnailerEntry> ThumbnailerRegistry::forMimeType(const QMimeType& mimeType) const
{
    QStringList names{mimeType.name()};
    names << mimeType.aliases();
    for (const QString& name : names) {
        const auto found = m_byMimeType.constFind(name);
        if (found != m_byMimeType.cend())
            return m_entries.at(*found);
    }
    return std::nullopt;
}
