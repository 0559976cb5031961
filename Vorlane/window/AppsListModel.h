#pragma once

#include <QAbstractListModel>

// The store's applications, one row each, in the store's order. Rows carry the application's
// name for tool tips and accessibility and its icon name for the cell to draw.
class AppsListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        IconNameRole = Qt::UserRole + 1,
        // The entry's identity, the same across rebuilds.
        IdentityRole,
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The store has new records: every row is read again.
    void reload();
    // The row of the application with this identity; -1 when it is gone.
    int rowOf(const QString& identity) const;
};
