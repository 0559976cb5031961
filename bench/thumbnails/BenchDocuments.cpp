#include "BenchDocuments.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>

QList<QUrl> BenchDocuments::make(const QString& folder, int count)
{
    QDir().mkpath(folder);
    QList<QUrl> urls;
    for (int i = 0; i < count; ++i) {
        QString path;
        switch (i % 4) {
        case 0:
            path = folder + QStringLiteral("/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
            writePhoto(path, 2048, 1536, i);
            break;
        case 1:
            path = folder + QStringLiteral("/Screenshot %1.png").arg(i);
            writePhoto(path, 1280, 800, i);
            break;
        default:
            path = folder + QStringLiteral("/Report %1.pdf").arg(i);
            writeReport(path, i);
            break;
        }
        urls << QUrl::fromLocalFile(path);
    }
    return urls;
}

void BenchDocuments::writePhoto(const QString& path, int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(random.bounded(24));
            line[x] = qRgb((x * 255 / width + noise + seed * 13) & 0xFF,
                           (y * 255 / height + noise) & 0xFF, (x + y + seed * 7) / 16 & 0xFF);
        }
    }
    image.save(path, nullptr, 85);
}

// A few pages of filled shapes and lines, as charts and text blocks would be.
void BenchDocuments::writeReport(const QString& path, int seed)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int page = 0; page < 3; ++page) {
        if (page > 0)
            writer.newPage();
        for (int block = 0; block < 40; ++block) {
            const QColor colour = QColor::fromHsv(static_cast<int>(random.bounded(360)), 120, 220);
            painter.fillRect(QRectF(random.bounded(500), random.bounded(780),
                                    20 + random.bounded(80), 6 + random.bounded(40)),
                             colour);
        }
        for (int line = 0; line < 60; ++line)
            painter.drawLine(QLineF(40, 40 + line * 12, 40 + random.bounded(500), 40 + line * 12));
    }
    painter.end();
}
