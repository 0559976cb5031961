// Files read whole through one open descriptor.

#include "FileContents.h"

#include "TestHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
TEST(FileContents, readsRegularFilesWithinTheLimitAndNothingElse)
{
    TestHome home;
    constexpr qint64 limit = 100;
    const QString exact =
        home.writeFile(home.path() + QStringLiteral("/exact"), QByteArray(100, 'x'));
    const QString over =
        home.writeFile(home.path() + QStringLiteral("/over"), QByteArray(101, 'x'));
    const QString empty = home.writeFile(home.path() + QStringLiteral("/empty"), {});
    const QString fifo = home.path() + QStringLiteral("/fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    using Outcome = FileContents::Outcome;
    const struct
    {
        QString path;
        Outcome outcome;
        qsizetype size;
    } cases[] = {
        {exact, Outcome::Read, 100},
        {empty, Outcome::Read, 0},
        {over, Outcome::TooLarge, 0},
        // Sized 0 by stat() yet full of text: read past the size stat() gave.
        {QStringLiteral("/proc/self/status"), Outcome::Read, -1},
        // Opening it must not wait for a writer.
        {fifo, Outcome::NotRegularFile, 0},
        {home.path(), Outcome::NotRegularFile, 0},
        {home.path() + QStringLiteral("/missing"), Outcome::Missing, 0},
        {exact + QStringLiteral("/inside"), Outcome::Missing, 0},
        {QString(), Outcome::Missing, 0},
        {exact + QChar(0), Outcome::Missing, 0},
    };
    for (const auto& [path, outcome, size] : cases) {
        const FileContents contents = FileContents::read(path, limit * (size < 0 ? 1000 : 1));
        EXPECT_EQ(contents.outcome, outcome) << path.toStdString();
        if (size >= 0)
            EXPECT_EQ(contents.bytes.size(), size) << path.toStdString();
        else
            EXPECT_TRUE(contents.bytes.startsWith("Name:")) << path.toStdString();
    }
    EXPECT_EQ(FileContents::read(exact, limit).bytes, QByteArray(100, 'x'));
    // Large enough for the buffer's pages to be asked for at once: every byte still arrives.
    QByteArray large(300'001, '\0');
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char('a' + i % 26);
    const QString big = home.writeFile(home.path() + QStringLiteral("/big"), large);
    EXPECT_EQ(FileContents::read(big, 1 << 20).bytes, large);
}
} // namespace
