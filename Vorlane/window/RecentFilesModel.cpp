#include "RecentFilesModel.h"

#include "CombinedRows.h"
#include "DateRules.h"
#include "FileIconCache.h"
#include "FilePathText.h"
#include "Selection.h"
#include "ThumbnailCache.h"

#include <QFileInfo>
#include <QMimeData>

#include <algorithm>
#include <cmath>

RecentFilesModel::RecentFilesModel(Layout layout, QObject* parent)
    : QAbstractListModel(parent)
    , m_layout(layout)
{}

RecentFilesModel::~RecentFilesModel()
{
    ThumbnailCache::cancelThumbnails(this);
}

void RecentFilesModel::setPictureSizes(const QSizeF& requestSize, int displaySize,
                                       qreal devicePixelRatio)
{
    if (requestSize == m_requestSize && displaySize == m_displaySize &&
        qFuzzyCompare(devicePixelRatio, m_devicePixelRatio))
        return;
    m_requestSize = requestSize;
    m_displaySize = displaySize;
    m_devicePixelRatio = devicePixelRatio;
    applyPictureBound();
    // Pictures made for the old size are asked again, at the new one, as rows are drawn.
    forgetThumbnails();
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0),
                           {Qt::DecorationRole, HasThumbnailRole});
}

void RecentFilesModel::setPictureByteLimit(qsizetype bytes)
{
    m_pictureByteLimit = bytes;
    applyPictureBound();
}

void RecentFilesModel::setPicturesKept(qsizetype count)
{
    m_picturesKept = count;
    applyPictureBound();
}

void RecentFilesModel::applyPictureBound()
{
    const auto side = static_cast<qsizetype>(std::ceil(m_displaySize * m_devicePixelRatio));
    const qsizetype counted = m_picturesKept * side * side * 4;
    m_thumbnails.setByteLimit(m_picturesKept > 0 ? std::min(m_pictureByteLimit, counted)
                                                 : m_pictureByteLimit);
}

int RecentFilesModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_app)
        return 0;
    const qsizetype files = m_app->recentFiles().size();
    if (m_layout == Layout::grid)
        return static_cast<int>(files);
    return static_cast<int>(CombinedRows::rowCount(m_app->groupCells(), files));
}

void RecentFilesModel::reload()
{
    beginResetModel();
    m_pathRow = -1;
    // Every reload of a files view follows the applications list's selection.
    updateSelectedApp();
    m_app.reset();
    m_filesByPath.clear();
    if (!selectedApp.isEmpty()) {
        m_app = selectedApp.constFirst();
        const QList<RecentFile>& files = m_app->recentFiles();
        for (qsizetype i = 0; i < files.size(); ++i)
            m_filesByPath[files.at(i).filePath().toLocalFile()].append(i);
    }
    keepThumbnailsOfShownFiles();
    endResetModel();
}

void RecentFilesModel::forgetThumbnails()
{
    ThumbnailCache::cancelThumbnails(this);
    m_thumbnails.clear();
    m_thumbnailed.clear();
    m_inFlight.clear();
    m_requested.clear();
}

void RecentFilesModel::keepThumbnailsOfShownFiles()
{
    for (auto it = m_inFlight.begin(); it != m_inFlight.end();) {
        if (m_filesByPath.contains(it.key())) {
            ++it;
        } else {
            ThumbnailCache::cancelThumbnail(it.value());
            it = m_inFlight.erase(it);
        }
    }
    const auto notShown = [this](const QString& path) { return !m_filesByPath.contains(path); };
    m_thumbnails.removeIf(notShown);
    m_thumbnailed.removeIf(notShown);
    // What is still on its way is not asked for again; the rest is, once drawn.
    m_requested.clear();
    for (auto it = m_inFlight.cbegin(); it != m_inFlight.cend(); ++it)
        m_requested.insert(it.key());
}

bool RecentFilesModel::isHeading(int row) const
{
    if (m_layout == Layout::grid || !m_app || row < 0 || row >= rowCount())
        return false;
    return CombinedRows::isHeading(m_app->groupCells(), row);
}

qsizetype RecentFilesModel::fileIndexForRow(int row) const
{
    if (!m_app || row < 0 || row >= rowCount())
        return -1;
    if (m_layout == Layout::grid)
        return row;
    return CombinedRows::fileIndexForRow(m_app->groupCells(), row);
}

int RecentFilesModel::rowForFileIndex(qsizetype fileIndex) const
{
    if (!m_app || fileIndex < 0 || fileIndex >= m_app->recentFiles().size())
        return -1;
    if (m_layout == Layout::grid)
        return static_cast<int>(fileIndex);
    return static_cast<int>(CombinedRows::rowForFileIndex(m_app->groupCells(), fileIndex));
}

int RecentFilesModel::rowOfFile(const QUrl& fileUrl) const
{
    const QList<qsizetype> files = m_filesByPath.value(fileUrl.toLocalFile());
    return files.isEmpty() ? -1 : rowForFileIndex(files.constFirst());
}

const RecentFile* RecentFilesModel::fileAt(int row) const
{
    const qsizetype file = fileIndexForRow(row);
    return file < 0 ? nullptr : &m_app->recentFiles().at(file);
}

Qt::ItemFlags RecentFilesModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Headings can be read but never chosen.
    if (isHeading(index.row()))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList RecentFilesModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* RecentFilesModel::mimeData(const QModelIndexList& indexes) const
{
    // Dragged out, documents are their files: any program that takes files takes them.
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes)
        if (const RecentFile* file = index.isValid() ? fileAt(index.row()) : nullptr)
            if (!urls.contains(file->filePath()))
                urls << file->filePath();
    if (urls.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions RecentFilesModel::supportedDragActions() const
{
    // Never a move: the document would leave the place every record of it points to.
    return Qt::CopyAction | Qt::LinkAction;
}

QVariant RecentFilesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    if (isHeading(row)) {
        const QString heading = headingAt(row);
        switch (role) {
        case Qt::DisplayRole:
            return heading.toUpper();
        case Qt::AccessibleTextRole:
            return heading;
        case IsHeadingRole:
            return true;
        case FileIndexRole:
            return qlonglong(-1);
        default:
            return {};
        }
    }
    const qsizetype fileIndex = fileIndexForRow(row);
    const RecentFile& file = m_app->recentFiles().at(fileIndex);
    const bool showsPath = row == m_pathRow;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return file.name();
    case Qt::ToolTipRole:
        // The grid's items show their whole names already; a list row may be cut short.
        if (showsPath)
            return pathText(file);
        return m_layout == Layout::list ? QVariant(file.name()) : QVariant();
    case Qt::AccessibleDescriptionRole:
    case RelativeDateRole:
        return relativeDateText(file.dateAccessed());
    case Qt::DecorationRole:
        return picture(row);
    case IsHeadingRole:
        return false;
    case FileIndexRole:
        return qlonglong(fileIndex);
    case FileUrlRole:
        return file.filePath();
    case ShowsPathRole:
        return showsPath;
    case PathTextRole:
        return pathText(file);
    case HasThumbnailRole:
        picture(row);
        return m_thumbnails.contains(file.filePath().toLocalFile());
    default:
        return {};
    }
}

QString RecentFilesModel::headingAt(int row) const
{
    for (const RecentFileGroup& group : m_app->groupCells())
        if (group.index == row)
            return group.string;
    return {};
}

QString RecentFilesModel::pathText(const RecentFile& file) const
{
    return FilePathText::forFile(file.filePath(), m_layout == Layout::list
                                                      ? FilePathText::listSeparator
                                                      : FilePathText::gridSeparator);
}

QVariant RecentFilesModel::picture(int row) const
{
    const qsizetype fileIndex = fileIndexForRow(row);
    if (fileIndex < 0)
        return {};
    const QUrl& url = m_app->recentFiles().at(fileIndex).filePath();
    const QString path = url.toLocalFile();
    if (!m_requested.contains(path))
        requestThumbnail(url);
    if (const QPixmap kept = keptPicture(url); !kept.isNull())
        return kept;
    return FileIconCache::shared().pixmapForFileName(url.fileName(), m_displaySize,
                                                     m_devicePixelRatio);
}

QPixmap RecentFilesModel::keptPicture(const QUrl& fileUrl) const
{
    const QString path = fileUrl.toLocalFile();
    if (const QPixmap kept = m_thumbnails.find(path); !kept.isNull())
        return kept;
    if (!m_thumbnailed.contains(path))
        return {};
    // Let go to keep within the bound: from memory again, else made again.
    if (const QPixmap remembered = pictureFromMemory(fileUrl); !remembered.isNull())
        return remembered;
    if (!m_inFlight.contains(path))
        requestThumbnail(fileUrl);
    return {};
}

QPixmap RecentFilesModel::pictureFromMemory(const QUrl& fileUrl) const
{
    const auto cached =
        ThumbnailCache::cachedThumbnail(fileUrl, m_requestSize.width(), m_requestSize.height());
    // One made for a screen of another density would be drawn at the wrong size.
    if (!cached || !qFuzzyCompare(cached->devicePixelRatio(), m_devicePixelRatio))
        return {};
    const QPixmap pixmap = displayPixmap(*cached);
    m_thumbnails.insert(fileUrl.toLocalFile(), pixmap);
    m_thumbnailed.insert(fileUrl.toLocalFile());
    return pixmap;
}

void RecentFilesModel::requestThumbnail(const QUrl& fileUrl) const
{
    const QString path = fileUrl.toLocalFile();
    m_requested.insert(path);
    if (!fileUrl.isLocalFile() || path.isEmpty())
        return;
    // A picture from memory at once; then, in every case, a fresh one (the document may have
    // changed since), which the cache answers without work when it has not.
    if (!m_thumbnails.contains(path))
        pictureFromMemory(fileUrl);
    auto* self = const_cast<RecentFilesModel*>(this);
    m_inFlight.insert(path, ThumbnailCache::requestThumbnail(
                                self, fileUrl, m_requestSize.width(), m_requestSize.height(),
                                m_devicePixelRatio,
                                [self](const QUrl& url, const std::optional<QImage>& image) {
                                    self->thumbnailArrived(url, image);
                                }));
}

void RecentFilesModel::thumbnailArrived(const QUrl& fileUrl, const std::optional<QImage>& image)
{
    const QString path = fileUrl.toLocalFile();
    m_inFlight.remove(path);
    const bool hasImage = image && !image->isNull();
    // No picture for a document that never had one: its type's icon stays, nothing to redraw.
    if (!hasImage && !m_thumbnailed.contains(path))
        return;
    // A document deleted since loses its old picture. One that is still there keeps it: it may
    // be being written right now, or a thumbnailer ran out of time. (One already let go is not
    // asked for again and again meanwhile.)
    if (!hasImage && QFileInfo::exists(path)) {
        if (!m_thumbnails.contains(path))
            m_thumbnailed.remove(path);
        return;
    }
    if (hasImage) {
        m_thumbnails.insert(path, displayPixmap(*image));
        m_thumbnailed.insert(path);
    } else {
        m_thumbnails.remove(path);
        m_thumbnailed.remove(path);
    }
    for (const qsizetype fileIndex : m_filesByPath.value(path)) {
        const QModelIndex changed = index(rowForFileIndex(fileIndex), 0);
        Q_EMIT dataChanged(changed, changed, {Qt::DecorationRole, HasThumbnailRole});
    }
}

QPixmap RecentFilesModel::displayPixmap(const QImage& image) const
{
    // Scaled once to the size it is drawn at, so painting never scales a large picture.
    const QSize limit = QSize(m_displaySize, m_displaySize) * m_devicePixelRatio;
    QImage scaled = image;
    if (image.width() > limit.width() || image.height() > limit.height())
        scaled = image.scaled(limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(scaled);
    pixmap.setDevicePixelRatio(m_devicePixelRatio);
    return pixmap;
}

void RecentFilesModel::setPathShown(int row, bool shown)
{
    const int previous = m_pathRow;
    if (shown && fileIndexForRow(row) >= 0)
        m_pathRow = row;
    else if (!shown && row == m_pathRow)
        m_pathRow = -1;
    for (const int changed : {previous, m_pathRow})
        if (changed >= 0 && changed < rowCount() && previous != m_pathRow)
            Q_EMIT dataChanged(index(changed, 0), index(changed, 0),
                               {Qt::DisplayRole, Qt::ToolTipRole, ShowsPathRole});
}
