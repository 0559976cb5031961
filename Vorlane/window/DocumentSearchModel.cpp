#include "DocumentSearchModel.h"

#include "AppIconCache.h"
#include "DateRules.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>

namespace {
QString folderText(const QUrl& fileUrl)
{
    if (!fileUrl.isLocalFile())
        return fileUrl.toDisplayString(QUrl::RemoveFilename | QUrl::StripTrailingSlash);
    const QString folder = QFileInfo(fileUrl.toLocalFile()).path();
    const QString home = QDir::homePath();
    if (folder == home)
        return QStringLiteral("~");
    if (folder.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + folder.mid(home.size());
    return folder;
}
} // namespace

DocumentSearchModel::DocumentSearchModel(QObject* parent)
    : QAbstractListModel(parent)
{}

void DocumentSearchModel::setResults(QList<RecentApp> apps, QList<DocumentSearch::Hit> hits)
{
    beginResetModel();
    m_apps = std::move(apps);
    m_hits = std::move(hits);
    endResetModel();
}

int DocumentSearchModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

const RecentApp* DocumentSearchModel::appAt(int row) const
{
    if (row < 0 || row >= m_hits.size())
        return nullptr;
    const qsizetype app = m_hits.at(row).appIndex;
    return app >= 0 && app < m_apps.size() ? &m_apps.at(app) : nullptr;
}

qsizetype DocumentSearchModel::fileIndexAt(int row) const
{
    return fileAt(row) ? m_hits.at(row).fileIndex : -1;
}

const RecentFile* DocumentSearchModel::fileAt(int row) const
{
    const RecentApp* app = appAt(row);
    if (!app)
        return nullptr;
    const qsizetype file = m_hits.at(row).fileIndex;
    return file >= 0 && file < app->recentFiles().size() ? &app->recentFiles().at(file) : nullptr;
}

int DocumentSearchModel::rowOf(const QString& appIdentity, const QUrl& fileUrl) const
{
    for (int row = 0; row < m_hits.size(); ++row) {
        const RecentFile* file = fileAt(row);
        if (file && file->filePath() == fileUrl && appAt(row)->name() == appIdentity)
            return row;
    }
    return -1;
}

QVariant DocumentSearchModel::data(const QModelIndex& index, int role) const
{
    const RecentFile* file = index.isValid() ? fileAt(index.row()) : nullptr;
    if (!file)
        return {};
    const RecentApp& app = *appAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return file->name();
    case Qt::DecorationRole:
        return AppIconCache::shared().icon(app.icon());
    case Qt::ToolTipRole:
        return tr("%1\nOpens with %2")
            .arg(file->filePath().isLocalFile() ? file->filePath().toLocalFile()
                                                : file->filePath().toDisplayString(),
                 app.appName());
    case FileUrlRole:
        return file->filePath();
    case FolderRole:
        return folderText(file->filePath());
    case RelativeDateRole:
        return relativeDateText(file->dateAccessed());
    case AppNameRole:
        return app.appName();
    default:
        return {};
    }
}

Qt::ItemFlags DocumentSearchModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList DocumentSearchModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* DocumentSearchModel::mimeData(const QModelIndexList& indexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes) {
        const RecentFile* file = fileAt(index.row());
        if (file && file->filePath().isLocalFile())
            urls.append(file->filePath());
    }
    if (urls.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions DocumentSearchModel::supportedDragActions() const
{
    return Qt::CopyAction;
}
