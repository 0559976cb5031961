#pragma once

#include <QByteArray>
#include <QString>

// The pictures of documents LibreOffice keeps in its list of recent documents, for documents the
// desktop's thumbnail cache has no picture of yet. The profile is read again only when it
// changed; safe to use from several threads at once.
namespace PickListThumbnails {
// The PNG LibreOffice keeps of the document at path; empty when it keeps none.
QByteArray pngOf(const QString& path);
} // namespace PickListThumbnails
