// From showItem to the content painted, for the documents that take the most work: a
// 12-megapixel camera JPEG, a 100-page PDF and 256 KiB of text; and the longest the event loop
// goes without running meanwhile (a 1 ms timer measures it), from the call until the content has
// been on screen for a further 50 ms. Also a PDF page turned with Page Down.
// bench_preview [rounds]   (offscreen unless QT_QPA_PLATFORM says otherwise)
#include "PreviewContentView.h"
#include "PreviewPictureView.h"
#include "StallMeter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int deadlineMs = 30000;

// Runs the event loop as the application does, sleeping between events, until the condition
// holds (looked at every millisecond) or the deadline passes. A loop that spins instead would take
// a core from the workers on a two-core machine.
bool waitFor(const std::function<bool()>& condition, int deadline = deadlineMs)
{
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || timer.elapsed() > deadline)
            loop.quit();
    });
    poll.start(1);
    if (!condition())
        loop.exec();
    return condition();
}

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() >= ms; });
}

// A camera-like photo: soft gradients, shapes and sensor noise, saved as a camera would (JPEG
// quality 90), about the size in bytes of a phone's 12-megapixel picture.
QString writePhoto(const QString& path)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(12);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = static_cast<int>(random.bounded(24));
            line[x] =
                qRgb((x * 200 / image.width() + noise + 30) & 0xFF,
                     (y * 180 / image.height() + noise + 40) & 0xFF, ((x + y) / 40 + noise) & 0xFF);
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int shape = 0; shape < 60; ++shape) {
        painter.setBrush(QColor::fromHsv(static_cast<int>(random.bounded(360)), 140, 200, 160));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(random.bounded(4000), random.bounded(3000)),
                            40 + random.bounded(300), 40 + random.bounded(300));
    }
    painter.end();
    image.save(path, "JPEG", 90);
    return path;
}

// A report: 100 A4 pages of text lines and a chart each.
QString writeReport(const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    QRandomGenerator random(100);
    for (int page = 0; page < 100; ++page) {
        if (page > 0)
            writer.newPage();
        painter.setPen(Qt::black);
        painter.drawText(QPointF(40, 40),
                         QStringLiteral("Quarterly report, page %1").arg(page + 1));
        for (int line = 0; line < 45; ++line)
            painter.drawText(QPointF(40, 80 + line * 14),
                             QStringLiteral("Line %1 of the findings: figures, remarks and the "
                                            "reasons behind them, %2.")
                                 .arg(line + 1)
                                 .arg(random.bounded(100000)));
        for (int bar = 0; bar < 12; ++bar)
            painter.fillRect(QRectF(60 + bar * 38, 780 - random.bounded(120), 28, 120),
                             QColor::fromHsv(bar * 30, 150, 210));
    }
    painter.end();
    return path;
}

QString writeText(const QString& path)
{
    QByteArray text;
    for (int line = 0; text.size() < 300 * 1024; ++line)
        text += "    if (value_" + QByteArray::number(line) +
                " > threshold) { total += compute(value, \"na\xC3\xAFve\"); } // note\n";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

struct Round
{
    // When the worker's answer was taken in (the view no longer loading), and when the content
    // had been painted.
    double answeredMs = -1;
    double shownMs = -1;
    double longestStallMs = 0;
};

Round showOnce(PreviewContentView& view, const QUrl& url)
{
    view.showItem(QUrl());
    settle(100);
    Round round;
    QElapsedTimer clock;
    const QMetaObject::Connection connection =
        QObject::connect(&view, &PreviewContentView::contentShown, [&](const QUrl& shown) {
            if (shown == url)
                round.shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        });
    StallMeter meter;
    clock.start();
    view.showItem(url);
    if (!waitFor([&] {
            if (round.answeredMs < 0 && !view.isLoading())
                round.answeredMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            return round.shownMs >= 0;
        })) {
        std::fprintf(stderr, "%s was never shown\n", qPrintable(url.fileName()));
        std::exit(1);
    }
    settle(50);
    QObject::disconnect(connection);
    round.longestStallMs = meter.longest();
    return round;
}

Round turnPageOnce(PreviewContentView& view)
{
    auto* picture = view.findChild<PreviewPictureView*>();
    const qint64 before = picture->picture().cacheKey();
    Round round;
    StallMeter meter;
    QElapsedTimer clock;
    clock.start();
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    view.handleKey(&pageDown);
    if (!waitFor([&] { return picture->picture().cacheKey() != before; })) {
        std::fprintf(stderr, "the page never turned\n");
        std::exit(1);
    }
    round.shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    settle(50);
    round.longestStallMs = meter.longest();
    return round;
}

void report(const char* what, const QList<Round>& rounds)
{
    QList<double> answered;
    QList<double> shown;
    QList<double> stalls;
    for (const Round& round : rounds) {
        answered << round.answeredMs;
        shown << round.shownMs;
        stalls << round.longestStallMs;
    }
    std::printf("%-18s answered: median %6.1f ms; shown: median %6.1f ms, worst %6.1f ms; longest "
                "stall: median %5.1f ms, worst %5.1f ms\n",
                what, StallMeter::median(answered), StallMeter::median(shown),
                *std::max_element(shown.cbegin(), shown.cend()), StallMeter::median(stalls),
                *std::max_element(stalls.cbegin(), stalls.cend()));
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    QTemporaryDir folder;
    const QString photo = writePhoto(folder.filePath(QStringLiteral("IMG_0001.jpg")));
    const QString report100 = writeReport(folder.filePath(QStringLiteral("Report.pdf")));
    const QString text = writeText(folder.filePath(QStringLiteral("engine.cpp")));
    std::printf("photo 4000x3000, %.1f MB; report 100 pages, %.1f MB; text %.0f KiB\n",
                static_cast<double>(QFile(photo).size()) / 1e6,
                static_cast<double>(QFile(report100).size()) / 1e6,
                static_cast<double>(QFile(text).size()) / 1024);

    PreviewContentView view;
    view.resize(900, 650);
    view.show();
    settle(200);
    {
        StallMeter idle;
        settle(2000);
        std::printf("idle view: longest stall %.2f ms, 99%% under %.2f ms\n", idle.longest(),
                    idle.percentile99());
    }
    const QList<std::pair<const char*, QString>> documents{
        {"12-megapixel JPEG", photo}, {"100-page PDF", report100}, {"256 KiB of text", text}};
    for (const auto& [what, path] : documents) {
        QList<Round> results;
        for (int round = 0; round < rounds; ++round)
            results << showOnce(view, QUrl::fromLocalFile(path));
        report(what, results);
    }
    QList<Round> turns;
    showOnce(view, QUrl::fromLocalFile(report100));
    for (int round = 0; round < rounds; ++round)
        turns << turnPageOnce(view);
    report("PDF page turned", turns);
    return 0;
}
