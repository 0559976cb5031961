#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QVariant>

// One recently used document. Made only by the source readers (through makeRecentFile) and never
// changed afterwards.
class RecentFile
{
public:
    RecentFile(QString name, QVariant bookmark, QUrl filePath, QDateTime dateAccessed,
               QString dateGroup);
    // The same, for readers that know the document's local path (filePath.toLocalFile()):
    // reports and searches then read it without converting the URL again.
    RecentFile(QString name, QVariant bookmark, QUrl filePath, QString localPath,
               QDateTime dateAccessed, QString dateGroup);

    // Display name of the document.
    const QString& name() const { return m_name; }
    // The bookmark the document was resolved from, when its source had one.
    const QVariant& bookmark() const { return m_bookmark; }
    // Location of the document (a file URL).
    const QUrl& filePath() const { return m_filePath; }
    // filePath().toLocalFile(), kept where the reader knew it.
    QString localPath() const
    {
        return m_localPath.isNull() ? m_filePath.toLocalFile() : m_localPath;
    }
    // When the document was last used; the files list is ordered by it, newest first.
    const QDateTime& dateAccessed() const { return m_dateAccessed; }
    // "Today", "This week" or "Last week and beyond".
    const QString& dateGroup() const { return m_dateGroup; }

private:
    QString m_name;
    QVariant m_bookmark;
    QUrl m_filePath;
    // Null when not known.
    QString m_localPath;
    QDateTime m_dateAccessed;
    QString m_dateGroup;
};
