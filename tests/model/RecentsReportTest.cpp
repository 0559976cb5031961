// vorlane-recents' report: its JSON text against Qt's own writer, its dates in ISO 8601.

#include "RecentsReport.h"

#include "Calendar.h"
#include "QtPrinters.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {
const QTimeZone berlinWinter(3600);

class FixedCalendar
{
public:
    FixedCalendar(const QTimeZone& zone)
    {
        Calendar::setCurrent(Calendar::fixed(
            QDateTime(QDate(2026, 12, 9), QTime(15, 0), berlinWinter), zone, Qt::Monday));
    }
    ~FixedCalendar() { Calendar::setCurrent(Calendar::system()); }
};

TEST(RecentsReport, jsonTextIsWhatQtsWriterWrites)
{
    const FixedCalendar calendar(berlinWinter);
    // Every kind of character a name or path can hold.
    const QString names[] = {
        QStringLiteral("plain.txt"),
        QStringLiteral("quote \" backslash \\ slash /"),
        QString::fromUtf16(u"controls \b\f\n\r\t \x01\x1f \x7f"),
        QString::fromUtf16(u"accents é ü, CJK 文書, emoji 😀"),
        QString(QChar(0xD800)) + QStringLiteral(" lone surrogates ") + QChar(0xDFFF),
        QString(),
    };
    QList<RecentFile> files;
    const QDateTime used(QDate(2026, 12, 9), QTime(10, 30, 15, 250), Qt::UTC);
    for (const QString& name : names)
        files << RecentFile(name, {}, QUrl::fromLocalFile(QStringLiteral("/home/user/") + name),
                            used, QStringLiteral("Today"));
    const QList<RecentApp> apps{
        RecentApp(QStringLiteral("file:///usr/share/applications/a.desktop"),
                  QUrl::fromLocalFile(QStringLiteral("/records/a \"1\".sfl3")),
                  QStringLiteral("file:///records/a.sfl3"), used.addYears(-2), files,
                  {{0, QStringLiteral("Today")}, {7, QStringLiteral("This week")}}),
        RecentApp(QStringLiteral("b"), QUrl(), QString(), used, {}, {}),
    };
    for (const QList<RecentApp>& list : {apps, QList<RecentApp>()}) {
        const RecentsReport report(list);
        EXPECT_EQ(report.jsonText(), QJsonDocument(report.json()).toJson(QJsonDocument::Indented));
    }
}

TEST(RecentsReport, jsonTextInPiecesIsTheWholeText)
{
    const FixedCalendar calendar(berlinWinter);
    // About 300 kilobytes of JSON: several pieces.
    QList<RecentFile> files;
    for (int i = 0; i < 1000; ++i) {
        const QString name = QStringLiteral("document %1 ünïcödé \"quoted\".txt").arg(i);
        files << RecentFile(name, {}, QUrl::fromLocalFile(QStringLiteral("/home/user/") + name),
                            QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC).addSecs(-i * 977),
                            QStringLiteral("Today"));
    }
    const RecentsReport report({RecentApp(QStringLiteral("a"), QUrl(), QStringLiteral("a"),
                                          files.first().dateAccessed(), files, {})});
    QList<QByteArray> pieces;
    report.writeJsonText([&pieces](QByteArrayView piece) { pieces << piece.toByteArray(); });
    EXPECT_GT(pieces.size(), 2);
    EXPECT_EQ(pieces.join(), report.jsonText());
    EXPECT_EQ(report.jsonText(), QJsonDocument(report.json()).toJson(QJsonDocument::Indented));
}

struct IsoCase
{
    QDateTime date;
    const char* zone;
    const char* text;
};

class IsoDateTest : public testing::TestWithParam<IsoCase>
{};

TEST_P(IsoDateTest, writesTheOffsetOfTheCalendarsZone)
{
    const IsoCase& c = GetParam();
    const QTimeZone zone(c.zone);
    if (!zone.isValid())
        GTEST_SKIP() << "no time-zone data for " << c.zone;
    const FixedCalendar calendar(zone);
    EXPECT_EQ(RecentsReport::isoDate(c.date).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, IsoDateTest,
    testing::Values(IsoCase{QDateTime(QDate(2026, 12, 9), QTime(10, 30), Qt::UTC), "UTC",
                            "2026-12-09T10:30:00Z"},
                    IsoCase{QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0, 7), Qt::UTC),
                            "Europe/Berlin", "2026-12-09T11:30:00.007+01:00"},
                    IsoCase{QDateTime(QDate(2026, 7, 9), QTime(23, 30), Qt::UTC), "Europe/Berlin",
                            "2026-07-10T01:30:00+02:00"},
                    IsoCase{QDateTime(QDate(2026, 1, 1), QTime(1, 0), Qt::UTC), "America/St_Johns",
                            "2025-12-31T21:30:00-03:30"},
                    IsoCase{QDateTime(QDate(812, 3, 4), QTime(5, 6, 7), Qt::UTC), "UTC",
                            "0812-03-04T05:06:07Z"}));
} // namespace
