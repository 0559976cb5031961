#pragma once

#include "DocumentSearch.h"
#include "RecentApp.h"

#include <QAbstractListModel>
#include <QList>

// The documents a search found, one row each, best first, across every application. A row
// carries the document's name, its recording application's icon, its folder and relative date.
// The model keeps the list of applications the hits point into, so its rows stay consistent
// until it is given new results, whatever the store does meanwhile.
class DocumentSearchModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        FileUrlRole = Qt::UserRole + 1,
        // The folder as a person reads it ("~/Documents/Work") and when the document was used.
        FolderRole,
        RelativeDateRole,
        AppNameRole,
    };

    explicit DocumentSearchModel(QObject* parent = nullptr);

    void setResults(QList<RecentApp> apps, QList<DocumentSearch::Hit> hits);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // The application that recorded the row's document and the document's index in its list;
    // null and -1 for a row out of range.
    const RecentApp* appAt(int row) const;
    qsizetype fileIndexAt(int row) const;
    const RecentFile* fileAt(int row) const;
    // The row of this application's document at this location; -1 when it is not found.
    int rowOf(const QString& appIdentity, const QUrl& fileUrl) const;

private:
    QList<RecentApp> m_apps;
    QList<DocumentSearch::Hit> m_hits;
};
