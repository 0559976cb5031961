#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The documents a grid of recent files typically shows: camera-sized JPEG photos, PNG
// screenshots and PDF reports, made once in a temporary home.
class BenchDocuments
{
public:
    // count documents in folder: a quarter JPEG photos, a quarter PNG pictures, half PDF files.
    static QList<QUrl> make(const QString& folder, int count);

private:
    static void writePhoto(const QString& path, int width, int height, int seed);
    static void writeReport(const QString& path, int seed);
};
