// Whether documents exist and when they changed, one stat() for both.

#include "FileStatus.h"

#include "QtPrinters.h"
#include "TestHome.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
TEST(FileStatus, existsAsQFileInfoAnswers)
{
    TestHome home;
    const QString file = home.createDocument(QStringLiteral("a.txt"), QDateTime::currentDateTime());
    const QString accented =
        home.createDocument(QStringLiteral("résumé 文書.txt"), QDateTime::currentDateTime());
    const QString dangling = home.path() + QStringLiteral("/dangling");
    QFile::link(home.path() + QStringLiteral("/nothing"), dangling);
    QFile::link(file, home.path() + QStringLiteral("/link"));
    const std::pair<QString, bool> cases[] = {
        {file, true},
        {home.path(), true},
        {home.path() + QStringLiteral("/link"), true},
        {dangling, false},
        {home.path() + QStringLiteral("/missing"), false},
        {QString(), false},
        {file + QChar(0) + QStringLiteral("tail"), false},
        {accented, true},
        {accented + QChar(0) + QStringLiteral("tail"), false},
        {accented.chopped(4), false},
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(FileStatus::exists(path), exists) << path.toStdString();
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
