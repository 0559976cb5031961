// e2e-documents FOLDER: writes the documents a person previews in the scripts that drive Vorlane:
// a 12-megapixel photo-like JPEG, a 100-page PDF and a short text file.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>

#include <cstdio>

namespace {
bool writePhoto(const QString& path)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor(0x8e, 0xc5, 0xfc));
    sky.setColorAt(0.6, QColor(0xf6, 0xd3, 0x65));
    sky.setColorAt(1, QColor(0x2b, 0x4a, 0x6f));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(7);
    for (int i = 0; i < 40; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsv(random.bounded(360), 120, 220, 180));
        const int side = random.bounded(150, 900);
        painter.drawEllipse(random.bounded(image.width()), random.bounded(image.height()), side,
                            side);
    }
    painter.end();
    return image.save(path, "JPEG", 90);
}

bool writeManual(const QString& path, int pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    QFont heading = painter.font();
    heading.setPixelSize(32);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.fillRect(QRect(0, 0, 595, 110), QColor(0x2f, 0x6f, 0xeb));
        painter.setFont(heading);
        painter.setPen(Qt::white);
        painter.drawText(QRect(48, 30, 500, 50), Qt::AlignVCenter,
                         QStringLiteral("Field manual, page %1").arg(page));
        for (int y = 160; y < 780; y += 22)
            painter.fillRect(QRect(48, y, 300 + (y * page) % 200, 9), QColor(0x9a, 0x9a, 0xa0));
    }
    return painter.end();
}

bool writeNotes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("Release notes\n=============\n\n"
               "- Documents open with the application that recorded them.\n"
               "- Ctrl+Return shows a document in the file manager.\n"
               "- Space previews the selected document; Space again closes the preview.\n");
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: e2e-documents FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(arguments.at(1));
    QDir().mkpath(folder.path());
    const bool written = writePhoto(folder.filePath(QStringLiteral("Harbour at dusk.jpg"))) &&
                         writeManual(folder.filePath(QStringLiteral("Field manual.pdf")), 100) &&
                         writeNotes(folder.filePath(QStringLiteral("Release notes.txt")));
    return written ? 0 : 1;
}
