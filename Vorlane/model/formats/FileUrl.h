#pragma once

#include <QString>
#include <QUrl>

// QUrl::fromLocalFile for the paths of documents, made per document: the same URL, built by
// setting only the path on a copy of an empty file: URL. Qt's own checks the scheme and escapes
// the path's percent signs first, and takes twice as long. A path that is not plainly absolute
// (a relative one, one that starts with two slashes, which Qt reads as a host) or that holds a
// percent sign goes through Qt's.
namespace FileUrl {
QUrl fromLocalFile(const QString& path);
}
