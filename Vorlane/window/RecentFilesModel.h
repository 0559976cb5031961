#pragma once

#include "PixmapStore.h"
#include "RecentApp.h"
#include "ThumbnailTicket.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QSizeF>

#include <optional>

// The selected application's documents for one files view. The list shows a row for each date
// heading ahead of its files; the grid shows the files alone. Rows carry the document's name,
// its picture (the type's icon until its thumbnail arrives), its relative date and, for the one
// row showing it, the path text that replaces the name while Command is held.
//
// The model keeps the application it was last reset with, so its rows stay consistent until the
// next reload even when the store has already moved on. Thumbnails are asked for the first time
// a row's picture is wanted (that is, when it is painted) and once per reload. A reload keeps
// the pictures and the requests still on their way for the documents it still shows: a refresh
// neither blanks the pictures nor asks twice for one being made; it only asks again, when they
// are drawn, for pictures that have arrived, in case their documents changed.
//
// The pictures are kept within a bound on their bytes (and to as many as the view asks to keep),
// the least recently drawn going first; one let go and drawn again comes back from the thumbnail
// cache's memory, or is asked for anew. They share their pixels with that memory.
class RecentFilesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum class Layout
    {
        list,
        grid
    };

    enum Role
    {
        IsHeadingRole = Qt::UserRole + 1,
        FileIndexRole,
        FileUrlRole,
        RelativeDateRole,
        // Whether the row shows its location instead of its name.
        ShowsPathRole,
        PathTextRole,
        // Whether the picture is the document's own thumbnail (not its type's icon).
        HasThumbnailRole,
    };

    // Room for the pictures of a window filling a large screen, at twice its pixel density.
    static constexpr qsizetype defaultPictureByteLimit = 24 * 1024 * 1024;

    explicit RecentFilesModel(Layout layout, QObject* parent = nullptr);
    ~RecentFilesModel() override;

    // Thumbnails are asked at requestSize points and shown at displaySize points.
    void setPictureSizes(const QSizeF& requestSize, int displaySize, qreal devicePixelRatio);
    QSizeF pictureRequestSize() const { return m_requestSize; }
    // The pictures kept of the documents, by path.
    const PixmapStore& pictures() const { return m_thumbnails; }
    // The most the pictures may take.
    void setPictureByteLimit(qsizetype bytes);
    // Keeps no more than count pictures' worth of bytes (at the size and density they are shown
    // at) within that bound: as many as the view shows, with some room to scroll. 0: no count.
    void setPicturesKept(qsizetype count);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // Reads the applications list's selection again and shows that application's documents.
    void reload();
    // The application shown; none before the first reload or when the store has nothing.
    const std::optional<RecentApp>& app() const { return m_app; }

    bool isHeading(int row) const;
    // -1 for a heading or a row out of range.
    qsizetype fileIndexForRow(int row) const;
    // -1 when there is no such file.
    int rowForFileIndex(qsizetype fileIndex) const;
    // The row of the document at this location; -1 when it is not shown.
    int rowOfFile(const QUrl& fileUrl) const;
    const RecentFile* fileAt(int row) const;

    // The row whose location is on display instead of its name; -1 for none.
    void setPathShown(int row, bool shown);
    int pathRow() const { return m_pathRow; }

    // How many documents' thumbnails were asked for since the last reload.
    int thumbnailRequests() const { return static_cast<int>(m_requested.size()); }

private:
    QVariant picture(int row) const;
    QPixmap keptPicture(const QUrl& fileUrl) const;
    QPixmap pictureFromMemory(const QUrl& fileUrl) const;
    void requestThumbnail(const QUrl& fileUrl) const;
    void forgetThumbnails();
    void keepThumbnailsOfShownFiles();
    void thumbnailArrived(const QUrl& fileUrl, const std::optional<QImage>& image);
    QPixmap displayPixmap(const QImage& image) const;
    void applyPictureBound();
    QString headingAt(int row) const;
    QString pathText(const RecentFile& file) const;

    Layout m_layout;
    std::optional<RecentApp> m_app;
    QHash<QString, QList<qsizetype>> m_filesByPath;
    int m_pathRow = -1;
    QSizeF m_requestSize{86, 86};
    int m_displaySize = 28;
    qreal m_devicePixelRatio = 1.0;
    qsizetype m_pictureByteLimit = defaultPictureByteLimit;
    qsizetype m_picturesKept = 0;
    // Filled while painting, by path: pictures are wanted when rows are drawn.
    mutable PixmapStore m_thumbnails{defaultPictureByteLimit};
    // The documents that have had their picture since the last reload, kept or let go.
    mutable QSet<QString> m_thumbnailed;
    mutable QHash<QString, ThumbnailTicket> m_inFlight;
    mutable QSet<QString> m_requested;
};
