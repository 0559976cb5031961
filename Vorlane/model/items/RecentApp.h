#pragma once

#include "RecentFile.h"
#include "RecentFileGroup.h"

#include <QList>

// One application with its recent documents, newest first, and their date headings.
class RecentApp
{
public:
    // appName and icon are worked out from sourceApp.
    RecentApp(QString sourceApp, QUrl filePath, QString name, QDateTime dateModified,
              QList<RecentFile> recentFiles, QList<RecentFileGroup> groupCells);

    // Path of the application the entry stands for (its desktop entry or bundle).
    const QString& sourceApp() const { return m_sourceApp; }
    // The record file the entry was read from; clearing the entry acts on it.
    const QUrl& filePath() const { return m_filePath; }
    // Identity of the entry, stable across rebuilds.
    const QString& name() const { return m_name; }
    // Display name of the application, "App" when it cannot be read.
    const QString& appName() const { return m_appName; }
    // When the entry's record last changed; the applications list is ordered by it.
    const QDateTime& dateModified() const { return m_dateModified; }
    // What the window needs to draw the application's icon: an icon-theme name or an image path,
    // empty for the generic application icon. No image is loaded here.
    const QString& icon() const { return m_icon; }
    const QList<RecentFile>& recentFiles() const { return m_recentFiles; }
    // The record files of entries of the same application that other sources gave, merged into
    // this one (their documents are among recentFiles()); clearing the entry clears them too.
    const QList<QUrl>& mergedFilePaths() const { return m_mergedFilePaths; }
    void setMergedFilePaths(QList<QUrl> filePaths) { m_mergedFilePaths = std::move(filePaths); }
    const QList<RecentFileGroup>& groupCells() const { return m_groupCells; }

private:
    QString m_sourceApp;
    QUrl m_filePath;
    QString m_name;
    QString m_appName;
    QDateTime m_dateModified;
    QString m_icon;
    QList<RecentFile> m_recentFiles;
    QList<RecentFileGroup> m_groupCells;
    QList<QUrl> m_mergedFilePaths;
};
