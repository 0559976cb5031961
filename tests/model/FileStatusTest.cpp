// Whether documents exist and when they changed, one stat() for both.

#include "FileStatus.h"

#include "QtPrinters.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>

namespace {
// Asked by whole path or, within a batch, inside handles on the folders: the same answers.
TEST(FileStatus, existsAsQFileInfoAnswers)
{
    TestHome home;
    const QString file = home.createDocument(QStringLiteral("a.txt"), QDateTime::currentDateTime());
    const QString accented =
        home.createDocument(QStringLiteral("résumé 文書.txt"), QDateTime::currentDateTime());
    const QString dangling = home.path() + QStringLiteral("/dangling");
    QFile::link(home.path() + QStringLiteral("/nothing"), dangling);
    QFile::link(file, home.path() + QStringLiteral("/link"));
    QFile::link(home.path(), home.path() + QStringLiteral("/folder link"));
    const std::pair<QString, bool> cases[] = {
        {file, true},
        {home.path(), true},
        {home.path() + u'/', true},
        {home.path() + QStringLiteral("/."), true},
        {home.path() + QStringLiteral("/.."), true},
        {QStringLiteral("/"), true},
        {QStringLiteral("/tmp"), true},
        {home.path() + QStringLiteral("/link"), true},
        {home.path() + QStringLiteral("/folder link/a.txt"), true},
        {dangling, false},
        {dangling + QStringLiteral("/a.txt"), false},
        {home.path() + QStringLiteral("/missing"), false},
        {home.path() + QStringLiteral("/missing/a.txt"), false},
        {file + QStringLiteral("/a.txt"), false},
        {QStringLiteral("a.txt"), false},
        {QString(), false},
        {file + QChar(0) + QStringLiteral("tail"), false},
        {accented, true},
        {accented + QChar(0) + QStringLiteral("tail"), false},
        {accented.chopped(4), false},
        {home.path() + QStringLiteral("/A.TXT"), false},
    };
    for (const bool batched : {false, true}) {
        std::optional<FileStatus::Batch> batch;
        if (batched)
            batch.emplace();
        // Twice, the second time through the handles the first opened and the folder's
        // listing, taken once enough of its documents were asked about.
        for (int round = 0; round < 2; ++round)
            for (const auto& [path, exists] : cases) {
                const std::string where = path.toStdString() + (batched ? " in a batch" : "");
                EXPECT_EQ(FileStatus::exists(path), exists) << where;
                EXPECT_EQ(FileStatus::isPresent(path), exists) << where;
            }
    }
}

// A batch's handles answer for the moment of its pass only, and a pass over more folders than
// it keeps handles on still answers for all of them.
TEST(FileStatus, aBatchNeverOutlivesItsPass)
{
    TestHome home;
    const QString folder = home.path() + QStringLiteral("/folder");
    const QString inside = folder + QStringLiteral("/a.txt");
    {
        const FileStatus::Batch batch;
        EXPECT_FALSE(FileStatus::exists(inside));
    }
    home.createDocument(QStringLiteral("folder/a.txt"), QDateTime::currentDateTime());
    {
        const FileStatus::Batch batch;
        EXPECT_TRUE(FileStatus::exists(inside));
    }
    ASSERT_TRUE(QDir(home.path()).rename(QStringLiteral("folder"), QStringLiteral("moved")));
    {
        const FileStatus::Batch batch;
        EXPECT_FALSE(FileStatus::exists(inside));
        const FileStatus::Batch nested;
        EXPECT_TRUE(FileStatus::exists(home.path() + QStringLiteral("/moved/a.txt")));
    }

    QStringList documents;
    for (int i = 0; i < 300; ++i)
        documents << home.createDocument(QStringLiteral("many/%1/doc.txt").arg(i),
                                         QDateTime::currentDateTime());
    const FileStatus::Batch batch;
    for (int round = 0; round < 2; ++round)
        for (const QString& document : documents) {
            EXPECT_TRUE(FileStatus::exists(document)) << document.toStdString();
            EXPECT_TRUE(FileStatus::isPresent(document)) << document.toStdString();
            EXPECT_FALSE(FileStatus::isPresent(document + QStringLiteral(".gone")));
        }
}

TEST(FileStatus, theTimeReadWithExistsServesOnceForTheSamePath)
{
    TestHome home;
    const QDateTime first(QDate(2026, 3, 1), QTime(10, 0, 0, 250), Qt::UTC);
    const QDateTime second(QDate(2026, 3, 2), QTime(11, 0), Qt::UTC);
    const QString a = home.createDocument(QStringLiteral("a.txt"), first);
    const QString b = home.createDocument(QStringLiteral("b.txt"), second);

    ASSERT_TRUE(FileStatus::exists(a));
    TestHome::setModificationTime(a, second);
    // Another path is read afresh and leaves the remembered time alone.
    EXPECT_EQ(FileStatus::modificationTime(b), second);
    EXPECT_EQ(FileStatus::modificationTime(a), first);
    // Used once: asked again, the file is read again.
    EXPECT_EQ(FileStatus::modificationTime(a), second);
    EXPECT_EQ(FileStatus::modificationTime(home.path() + QStringLiteral("/missing")), std::nullopt);
}
} // namespace
