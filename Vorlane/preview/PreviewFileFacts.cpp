#include "PreviewFileFacts.h"

#include <QFileInfo>
#include <QMimeDatabase>

PreviewFileFacts PreviewFileFacts::read(const QUrl& fileUrl)
{
    PreviewFileFacts facts;
    const QMimeDatabase types;
    facts.name = fileUrl.fileName();
    if (!fileUrl.isLocalFile()) {
        if (facts.name.isEmpty())
            facts.name = fileUrl.toDisplayString();
        facts.mimeType = types.mimeTypeForFile(facts.name, QMimeDatabase::MatchExtension);
        return facts;
    }
    facts.path = fileUrl.toLocalFile();
    const QFileInfo info(facts.path);
    if (!info.fileName().isEmpty())
        facts.name = info.fileName();
    facts.exists = info.exists();
    facts.isRegularFile = info.isFile();
    if (facts.exists)
        facts.modified = info.lastModified();
    if (facts.isRegularFile) {
        facts.size = info.size();
        facts.mimeType = info.isReadable()
                             ? types.mimeTypeForFile(info)
                             : types.mimeTypeForFile(facts.path, QMimeDatabase::MatchExtension);
    } else if (info.isDir()) {
        facts.mimeType = types.mimeTypeForName(QStringLiteral("inode/directory"));
    } else {
        facts.mimeType = types.mimeTypeForFile(facts.path, QMimeDatabase::MatchExtension);
    }
    return facts;
}

QStringList PreviewFileFacts::iconNames() const
{
    QStringList names;
    for (const QString& iconName : {mimeType.iconName(), mimeType.genericIconName()}) {
        if (!iconName.isEmpty())
            names << iconName;
    }
    names << QStringLiteral("text-x-generic") << QStringLiteral("application-x-generic");
    return names;
}
