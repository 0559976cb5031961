#include "AppsListModel.h"

#include "VorlaneController.h"

int AppsListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(VorlaneController::shared().recentApps().size());
}

QVariant AppsListModel::data(const QModelIndex& index, int role) const
{
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    if (!index.isValid() || index.row() >= apps.size())
        return {};
    const RecentApp& app = apps.at(index.row());
    switch (role) {
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return app.appName();
    case IconNameRole:
        return app.icon();
    case IdentityRole:
        return app.name();
    default:
        return {};
    }
}

void AppsListModel::reload()
{
    beginResetModel();
    endResetModel();
}

int AppsListModel::rowOf(const QString& identity) const
{
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    for (qsizetype row = 0; row < apps.size(); ++row) {
        if (apps.at(row).name() == identity)
            return static_cast<int>(row);
    }
    return -1;
}
