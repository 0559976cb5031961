#include "FilesTestHome.h"

#include "Calendar.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>

namespace {
const QList<QColor>& colours()
{
    static const QList<QColor> list{QColor(0x2f6feb), QColor(0xe8590c), QColor(0x2b8a3e),
                                    QColor(0x862e9c), QColor(0xc92a2a), QColor(0x1098ad),
                                    QColor(0xf08c00), QColor(0x5c940d), QColor(0x364fc7)};
    return list;
}
} // namespace

QDateTime FilesTestHome::now()
{
    return QDateTime(QDate::currentDate(), QTime(12, 0));
}

void FilesTestHome::installCalendar()
{
    const QDateTime noon = now();
    const auto firstDay = static_cast<Qt::DayOfWeek>(noon.date().addDays(-2).dayOfWeek());
    Calendar::setCurrent(Calendar::fixed(noon, QTimeZone::systemTimeZone(), firstDay));
}

void FilesTestHome::useSystemDataFolders(const TestHome& home)
{
    for (const QString& folder : {QStringLiteral("mime"), QStringLiteral("icons")})
        QFile::link(QStringLiteral("/usr/share/") + folder, home.systemDataDir() + u'/' + folder);
    // The icon themes may have been looked for already, before the links were there.
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(QStringLiteral("/usr/share/icons")))
        paths << QStringLiteral("/usr/share/icons");
    QIcon::setThemeSearchPaths(paths);
}

const QList<FilesTestHome::Document>& FilesTestHome::viewerDocuments()
{
    static const QList<Document> list{
        {QStringLiteral("Quarterly report.pdf"), QStringLiteral("Documents/Reports"), 10},
        {QStringLiteral("Harbour at dusk.jpg"), QStringLiteral("Pictures"), 30},
        {QStringLiteral("Floor plan.png"), QStringLiteral("Documents/House"), 60},
        {QStringLiteral("Invoice 2024-118.pdf"), QStringLiteral("Documents/Invoices"), 120},
        {QStringLiteral("Team photo.jpg"), QStringLiteral("Pictures/Work"), 24 * 60},
        {QStringLiteral("Meeting notes.pdf"), QStringLiteral("Documents"), 27 * 60},
        {QStringLiteral("Screenshot 2024-03-02 at 14.21.07.png"), QStringLiteral("Pictures"),
         9 * 24 * 60},
        {QStringLiteral("Mountain trail.jpg"), QStringLiteral("Pictures/Trips"), 20 * 24 * 60},
        {QStringLiteral("Lease agreement signed copy final version.pdf"),
         QStringLiteral("Documents/House"), 45 * 24 * 60},
    };
    return list;
}

QStringList FilesTestHome::viewerNames()
{
    QStringList names;
    for (const Document& document : viewerDocuments())
        names << document.name;
    return names;
}

void FilesTestHome::addViewer(TestHome& home)
{
    home.installApplication(QStringLiteral("org.example.Viewer"), QStringLiteral("Viewer"));
    QStringList paths;
    int seed = 0;
    for (const Document& document : viewerDocuments()) {
        const QString path = home.path() + u'/' + document.relativePath + u'/' + document.name;
        writeDocument(path, seed++);
        TestHome::setModificationTime(path, now().addSecs(-60LL * document.minutesBeforeNoon));
        paths << path;
    }
    home.writeRecord(QStringLiteral("org.example.Viewer"), paths, now().addSecs(-60));
}

void FilesTestHome::addEditor(TestHome& home)
{
    home.installApplication(QStringLiteral("org.example.Editor"), QStringLiteral("Editor"));
    const QDateTime when = now().addDays(-3);
    const QStringList paths{
        home.createDocument(QStringLiteral("Documents/Editor/To do.txt"), when),
        home.createDocument(QStringLiteral("Documents/Editor/Shopping.txt"), when.addSecs(-60)),
    };
    home.writeRecord(QStringLiteral("org.example.Editor"), paths, when);
}

QString FilesTestHome::writeDocument(const QString& path, int seed)
{
    return path.endsWith(QStringLiteral(".pdf")) ? writePdf(path, seed) : writePicture(path, seed);
}

QString FilesTestHome::writePicture(const QString& path, int seed)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Landscape and portrait pictures, a sky-like gradient and a few shapes.
    const QSize size = seed % 3 == 1 ? QSize(600, 800) : QSize(1200, 800);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const QColor base = colours().at(seed % colours().size());
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, base.lighter(160));
    sky.setColorAt(1, base.darker(140));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(static_cast<quint32>(seed + 1));
    for (int i = 0; i < 6; ++i) {
        const QColor shape = colours().at(random.bounded(colours().size())).lighter(120);
        painter.setBrush(shape);
        painter.setPen(Qt::NoPen);
        const int side = random.bounded(size.width() / 8, size.width() / 3);
        painter.drawEllipse(random.bounded(size.width()), random.bounded(size.height()), side,
                            side);
    }
    painter.end();
    image.save(path, nullptr, 90);
    return path;
}

QString FilesTestHome::writePdf(const QString& path, int seed)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    const QRect page(0, 0, 595, 842);
    painter.fillRect(page, Qt::white);
    const QColor accent = colours().at(seed % colours().size());
    painter.fillRect(QRect(0, 0, 595, 120), accent);
    QFont title = painter.font();
    title.setPixelSize(36);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(48, 30, 500, 60), Qt::AlignLeft | Qt::AlignVCenter,
                     QFileInfo(path).completeBaseName());
    // Lines of "text" in grey bars, as a page seen from afar.
    QRandomGenerator random(static_cast<quint32>(seed + 7));
    for (int y = 170; y < 780; y += 22) {
        const int width = y % 154 == 0 ? 260 : random.bounded(360, 500);
        painter.fillRect(QRect(48, y, width, 9), QColor(0x9a, 0x9a, 0xa0));
    }
    painter.fillRect(QRect(48, 560, 240, 150), accent.lighter(150));
    painter.end();
    return path;
}

QString FilesTestHome::artifactsFolder()
{
    const QString folder = QStringLiteral(VORLANE_TEST_ARTIFACTS);
    QDir().mkpath(folder);
    return folder;
}
