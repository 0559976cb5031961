// LibreOffice's PickList as its profile keeps it: each property of a document in an item of its
// own, the order in another list, among unrelated settings.

#include "LibreOfficeSource.h"

#include "Calendar.h"
#include "MetadataQuery.h"
#include "PickListReader.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {
const QTimeZone zone(0);
const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), zone);

QStringList names(const RecentApp& app)
{
    QStringList names;
    for (const RecentFile& file : app.recentFiles())
        names << file.name();
    return names;
}

const QString itemList = QStringLiteral(
    "/org.openoffice.Office.Histories/Histories/org.openoffice.Office.Histories:HistoryInfo["
    "'PickList']/ItemList");
const QString orderList = QStringLiteral(
    "/org.openoffice.Office.Histories/Histories/org.openoffice.Office.Histories:HistoryInfo["
    "'PickList']/OrderList");

QString property(const QString& url, const QString& name, const QString& value,
                 const QString& type = QStringLiteral("string"))
{
    return QStringLiteral("<item oor:path=\"%1\"><node oor:name=\"%2\" oor:op=\"replace\"><prop "
                          "oor:name=\"%3\" oor:op=\"fuse\" oor:type=\"xs:%4\"><value>%5</value>"
                          "</prop></node></item>\n")
        .arg(itemList, url.toHtmlEscaped(), name, type, value.toHtmlEscaped());
}

QString order(int position, const QString& url)
{
    return QStringLiteral("<item oor:path=\"%1\"><node oor:name=\"%2\" oor:op=\"replace\"><prop "
                          "oor:name=\"HistoryItemRef\" oor:op=\"fuse\"><value>%3</value></prop>"
                          "</node></item>\n")
        .arg(orderList, QString::number(position), url.toHtmlEscaped());
}

QByteArray profile(const QString& items)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
                           "xmlns:oor=\"http://openoffice.org/2001/registry\" "
                           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
                           "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop "
                           "oor:name=\"FirstRun\" oor:op=\"fuse\"><value>false</value></prop>"
                           "</item>\n") +
            items + QStringLiteral("</oor:items>\n"))
        .toUtf8();
}

class LibreOfficeSourceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
        UserDefaults::global().reload();
        MetadataQuery::setCurrent(nullptr);
        for (const char* module : {"writer", "calc", "impress", "startcenter"})
            home.installApplication(QStringLiteral("libreoffice-") + QLatin1String(module),
                                    QStringLiteral("LibreOffice ") + QLatin1String(module));
    }

    void TearDown() override
    {
        MetadataQuery::setCurrent(nullptr);
        Calendar::setCurrent(Calendar::system());
    }

    QString documentUrl(const QString& name, int daysOld)
    {
        const QString path =
            home.createDocument(QStringLiteral("Documents/") + name, now.addDays(-daysOld));
        return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
    }

    TestHome home;
};

TEST_F(LibreOfficeSourceTest, listsEachModulesDocumentsInTheListsOrder)
{
    const QString letter = documentUrl(QStringLiteral("letter.odt"), 1);
    const QString memo = documentUrl(QStringLiteral("memo & notes.docx"), 9);
    const QString budget = documentUrl(QStringLiteral("budget.xlsx"), 2);
    const QString talk = documentUrl(QStringLiteral("talk.ppt"), 3);
    const QString drawing = documentUrl(QStringLiteral("plan.odg"), 4);
    const QString image = documentUrl(QStringLiteral("scan.png"), 5);
    home.writeFile(
        LibreOfficeSource::profileFilePath(),
        profile(
            property(letter, QStringLiteral("Filter"), QStringLiteral("writer8")) +
            property(letter, QStringLiteral("Thumbnail"), QStringLiteral("iVBORw0KGgo=")) +
            property(memo, QStringLiteral("Filter"), QStringLiteral("MS Word 2007 XML")) +
            property(memo, QStringLiteral("Pinned"), QStringLiteral("true"),
                     QStringLiteral("boolean")) +
            property(budget, QStringLiteral("Filter"), QStringLiteral("Calc MS Excel 2007 XML")) +
            property(talk, QStringLiteral("Filter"), QStringLiteral("MS PowerPoint 97")) +
            // Draw is not installed: its document goes to LibreOffice itself.
            property(drawing, QStringLiteral("Filter"), QStringLiteral("draw8")) +
            property(image, QStringLiteral("Filter"), QStringLiteral("png_Load")) +
            property(documentUrl(QStringLiteral("gone.odt"), 1), QStringLiteral("Filter"),
                     QStringLiteral("writer8")) +
            property(QStringLiteral("https://example.com/remote.odt"), QStringLiteral("Filter"),
                     QStringLiteral("writer8")) +
            // The older memo was opened after the letter.
            order(1, letter) + order(0, memo) + order(2, budget) + order(3, talk) +
            order(4, drawing) + order(5, image)));
    QFile::remove(home.path() + QStringLiteral("/Documents/gone.odt"));

    const QList<RecentApp> apps = LibreOfficeSource().read();
    QStringList listed;
    for (const RecentApp& app : apps)
        listed << app.appName() + QStringLiteral(": ") + names(app).join(u',');
    EXPECT_EQ(listed,
              (QStringList{QStringLiteral("LibreOffice writer: memo & notes.docx,letter.odt"),
                           QStringLiteral("LibreOffice calc: budget.xlsx"),
                           QStringLiteral("LibreOffice impress: talk.ppt"),
                           QStringLiteral("LibreOffice startcenter: plan.odg,scan.png")}));
    // The list's order holds however old the files are.
    ASSERT_FALSE(apps.isEmpty());
    EXPECT_GE(apps.first().recentFiles().at(0).dateAccessed(),
              apps.first().recentFiles().at(1).dateAccessed());

    VorlaneController store;
    EXPECT_FALSE(store.notClearedBecause(apps.first()).isEmpty());
}

// The profile's last reading is kept: a profile LibreOffice wrote again is read again, even at
// the same size, and a profile gone lists nothing.
TEST_F(LibreOfficeSourceTest, followsEachRewriteOfTheProfile)
{
    const QString first = documentUrl(QStringLiteral("first.odt"), 1);
    const QString other = documentUrl(QStringLiteral("other.odt"), 1);
    const QString path = LibreOfficeSource::profileFilePath();
    const auto listed = [] {
        const QList<RecentApp> entries = LibreOfficeSource().read();
        return entries.isEmpty() ? QStringList() : names(entries.first());
    };
    for (const QString& url : {first, other, first}) {
        home.writeFile(path,
                       profile(property(url, QStringLiteral("Filter"), QStringLiteral("writer8")) +
                               order(0, url)));
        EXPECT_EQ(listed(), QStringList{QUrl(url).fileName()});
    }
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(LibreOfficeSourceTest, readsThePropertiesOfEachDocumentAndSkipsRemovedOnes)
{
    const QString a = QStringLiteral("file:///a.odt");
    const QString b = QStringLiteral("file:///b.ods");
    QByteArray text = profile(
        property(a, QStringLiteral("Filter"), QStringLiteral("writer8")) +
        property(a, QStringLiteral("Title"), QStringLiteral("A")) +
        property(a, QStringLiteral("Pinned"), QStringLiteral("true"), QStringLiteral("boolean")) +
        property(a, QStringLiteral("Thumbnail"), QStringLiteral("iVBORw0KGgo=")) +
        property(b, QStringLiteral("Filter"), QStringLiteral("calc8")) +
        QStringLiteral("<item oor:path=\"%1\"><node oor:name=\"%2\" oor:op=\"remove\"/></item>\n")
            .arg(itemList, b));
    QBuffer buffer(&text);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    const QList<PickListReader::Item> items = PickListReader::read(buffer);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first(), (PickListReader::Item{a, QStringLiteral("writer8"),
                                                   QStringLiteral("A"), true, "iVBORw0KGgo="}));
}

TEST_F(LibreOfficeSourceTest, damagedProfilesKeepWhatCameBeforeTheFault)
{
    const QString a = QStringLiteral("file:///a.odt");
    const QByteArray whole =
        profile(property(a, QStringLiteral("Filter"), QStringLiteral("writer8")) +
                property(QStringLiteral("file:///b.odt"), QStringLiteral("Filter"),
                         QStringLiteral("writer8")));
    const qsizetype fault = whole.indexOf("file:///b.odt");
    for (QByteArray damaged :
         {whole.left(fault), whole.left(fault) + "<<\xff\xfe>", QByteArray(),
          QByteArray("<oor:items><item oor:path=\"") + QByteArray(5000, '<')}) {
        QBuffer buffer(&damaged);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        const QList<PickListReader::Item> items = PickListReader::read(buffer);
        if (damaged.startsWith(whole.left(fault)) && !damaged.isEmpty()) {
            ASSERT_EQ(items.size(), 1);
            EXPECT_EQ(items.first().url, a);
        } else {
            EXPECT_TRUE(items.isEmpty());
        }
    }
}
} // namespace
