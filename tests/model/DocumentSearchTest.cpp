// Finding documents of every application by typed words: what matches, and in which order.
#include "DocumentSearch.h"

#include "SearchText.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

namespace {
const QDateTime now = QDateTime::currentDateTime();

struct Doc
{
    const char* app;
    const char* path; // below the home folder
    int minutesAgo;
};

// One application per distinct app name, in first-seen order, each with its documents.
QList<RecentApp> appsOf(const QList<Doc>& docs)
{
    QStringList names;
    QList<QList<RecentFile>> files;
    for (const Doc& doc : docs) {
        const QString app = QString::fromUtf8(doc.app);
        if (!names.contains(app)) {
            names.append(app);
            files.append(QList<RecentFile>());
        }
        const QString path = QDir::homePath() + QLatin1Char('/') + QString::fromUtf8(doc.path);
        files[names.indexOf(app)].append(RecentFile(path.section(QLatin1Char('/'), -1), {},
                                                    QUrl::fromLocalFile(path),
                                                    now.addSecs(-60 * doc.minutesAgo), {}));
    }
    QList<RecentApp> apps;
    for (qsizetype i = 0; i < names.size(); ++i)
        apps.append(RecentApp(QStringLiteral("/nowhere/%1.desktop").arg(names.at(i)), {},
                              names.at(i), now, files.at(i), {}));
    return apps;
}

QStringList namesFound(const QList<Doc>& docs, const QString& typed)
{
    const QList<RecentApp> apps = appsOf(docs);
    QStringList found;
    for (const DocumentSearch::Hit& hit : DocumentSearch(apps).find(typed))
        found.append(apps.at(hit.appIndex).recentFiles().at(hit.fileIndex).name());
    return found;
}

struct Case
{
    const char* what;
    QList<Doc> docs;
    const char* typed;
    QStringList expected;
};

class DocumentSearchOrder : public testing::TestWithParam<Case>
{};

TEST_P(DocumentSearchOrder, findsTheseInThisOrder)
{
    const Case& c = GetParam();
    EXPECT_EQ(namesFound(c.docs, QString::fromUtf8(c.typed)), c.expected) << c.what;
}

// Named rows so a failure says which rule broke.
const Case cases[] = {
    {"case and accents do not matter",
     {{"a", "Résumé.odt", 1}, {"a", "RESUME-old.txt", 2}, {"a", "Notes.txt", 3}},
     "resume",
     {"Résumé.odt", "RESUME-old.txt"}},
    {"accents typed find plain names", {{"a", "Cafe menu.pdf", 1}}, "CAFÉ", {"Cafe menu.pdf"}},
    {"whole word, then word start, then inside, then letters left out; ties newest first",
     {{"a", "reporting.odt", 1},
      {"a", "rapport.odt", 2},
      {"b", "repoart.txt", 3},
      {"b", "misreported.txt", 6},
      {"b", "report.odt", 9},
      {"a", "report final.odt", 4}},
     "report",
     {"report final.odt", "report.odt", "reporting.odt", "misreported.txt", "repoart.txt"}},
    {"fuzzy letters must start the word, in order, within one word",
     {{"a", "report.odt", 1}, {"a", "parrot.txt", 2}, {"a", "re pt.txt", 3}},
     "rpt",
     {"report.odt"}},
    {"every typed word must match; the higher sum ranks first",
     {{"a", "annual report.pdf", 10},
      {"a", "annual budget.ods", 1},
      {"a", "annually reported.txt", 1},
      {"a", "reports annual.txt", 20}},
     "annual rep",
     {"annual report.pdf", "reports annual.txt", "annually reported.txt"}},
    {"capitals and digits start words inside a run",
     {{"a", "AnnualReport2024.pdf", 1}, {"a", "Annualreport.pdf", 2}},
     "2024",
     {"AnnualReport2024.pdf"}},
    {"the whole run still matches across its parts",
     {{"a", "AnnualReport2024.pdf", 1}},
     "annualreport",
     {"AnnualReport2024.pdf"}},
    {"folders count only with a slash typed",
     {{"a", "Work/plan.odt", 1}, {"a", "Home stuff/workout.txt", 2}},
     "work",
     {"workout.txt"}},
    {"with a slash, folder words match too",
     {{"a", "Work/plan.odt", 1}, {"a", "Home stuff/workout.txt", 2}, {"a", "Work/x.txt", 3}},
     "work/pl",
     {"plan.odt"}},
    {"a lone slash finds everything, newest first, across applications",
     {{"a", "one.txt", 3}, {"b", "two.txt", 1}, {"a", "three.txt", 2}},
     "/",
     {"two.txt", "three.txt", "one.txt"}},
    {"same document in two applications is found in both",
     {{"a", "shared.txt", 1}, {"b", "shared.txt", 2}},
     "shared",
     {"shared.txt", "shared.txt"}},
    {"punctuation and nothing typed", {{"a", "one.txt", 1}}, "!!", {"one.txt"}},
    {"symbols outside the basic plane separate words",
     {{"a", "📄notes📄.txt", 1}, {"a", "no tes.txt", 2}},
     "notes",
     {"📄notes📄.txt"}},
    {"longer than any word finds nothing", {{"a", "a.txt", 1}}, "abcdefghijklmnop", {}},
};

INSTANTIATE_TEST_SUITE_P(Rules, DocumentSearchOrder, testing::ValuesIn(cases));

TEST(DocumentSearch, theHomeFoldersOwnPathNeverMatches)
{
    const QString homeName = QDir::homePath().section(QLatin1Char('/'), -1);
    EXPECT_EQ(namesFound({{"a", "Work/plan.odt", 1}}, homeName + QLatin1Char('/')), QStringList())
        << qPrintable(homeName);
}

// Names and typed text of any code units, lone surrogates and marks among them, never crash and
// every hit names a document that exists.
TEST(DocumentSearch, anyTextIsSafe)
{
    quint32 seed = 7;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    const auto randomText = [&next] {
        QString text;
        const int length = static_cast<int>(next() % 12);
        for (int i = 0; i < length; ++i) {
            const char16_t pool[] = {u'a',
                                     u'Z',
                                     u'7',
                                     u' ',
                                     u'/',
                                     u'.',
                                     u'\u0301',
                                     u'\u00e9',
                                     char16_t(0xd83d),
                                     char16_t(0xdcc4),
                                     u'\u0130',
                                     u'\uff37',
                                     u'\ufb01',
                                     0};
            text += QChar(pool[next() % (sizeof pool / sizeof pool[0])]);
        }
        return text;
    };
    QList<RecentFile> files;
    for (int i = 0; i < 300; ++i)
        files.append(RecentFile(randomText(), {},
                                QUrl::fromLocalFile(QStringLiteral("/d/") + randomText()),
                                i % 5 ? now.addSecs(-i) : QDateTime(), {}));
    const QList<RecentApp> apps{
        RecentApp(QStringLiteral("/nowhere/a.desktop"), {}, QStringLiteral("a"), now, files, {})};
    const DocumentSearch search(apps);
    for (int i = 0; i < 300; ++i) {
        for (const DocumentSearch::Hit& hit : search.find(randomText())) {
            ASSERT_EQ(hit.appIndex, 0);
            ASSERT_GE(hit.fileIndex, 0);
            ASSERT_LT(hit.fileIndex, files.size());
        }
    }
}

TEST(SearchText, foldsAndCutsWords)
{
    EXPECT_EQ(SearchText::fold(QStringLiteral("ÉCOLE ﬁle Ｗｏｒｄ")),
              QStringLiteral("ecole file word"));
    EXPECT_EQ(SearchText::nameWords(QStringLiteral("myFile_v2.TXT")),
              (QStringList{QStringLiteral("myfile"), QStringLiteral("my"), QStringLiteral("file"),
                           QStringLiteral("v2"), QStringLiteral("v"), QStringLiteral("2"),
                           QStringLiteral("txt")}));
}
} // namespace
