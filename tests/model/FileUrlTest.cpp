// Documents' URLs made per document: the very URLs Qt makes.

#include "FileUrl.h"

#include <gtest/gtest.h>

namespace {
TEST(FileUrl, isQtsUrlForEveryPath)
{
    const QString paths[] = {
        QStringLiteral("/home/user/Documents/report.pdf"),
        QStringLiteral("/home/user/a folder/with spaces.txt"),
        QStringLiteral("/home/user/100%25 done.txt"),
        QStringLiteral("/home/user/100% done.txt"),
        QStringLiteral("/home/user/what#if?.txt"),
        QStringLiteral("/home/user/[brackets] {braces} ^caret `tick`.txt"),
        QStringLiteral("/home/user/a+b&c=d;e,f'g\"h|i\\j<k>l.txt"),
        QStringLiteral("/home/user/résumé/文書 ✓.odt"),
        QStringLiteral("/home/user/tab\there\nline.txt"),
        QStringLiteral("/home/user/~tilde/@at/:colon.txt"),
        QStringLiteral("/home/user/ends with a space "),
        QStringLiteral("/home/user//double//slashes/"),
        QStringLiteral("/home/user/./dots/../file"),
        QStringLiteral("/"),
        QStringLiteral("//server/share/file.txt"),
        QStringLiteral("relative/path.txt"),
        QStringLiteral("c:/windows-like.txt"),
        QString(),
    };
    for (const QString& path : paths) {
        const QUrl expected = QUrl::fromLocalFile(path);
        const QUrl url = FileUrl::fromLocalFile(path);
        const std::string where = path.toStdString();
        EXPECT_EQ(url, expected) << where;
        EXPECT_EQ(url.toString(), expected.toString()) << where;
        EXPECT_EQ(url.toEncoded(), expected.toEncoded()) << where;
        EXPECT_EQ(url.isLocalFile(), expected.isLocalFile()) << where;
        EXPECT_EQ(url.toLocalFile(), expected.toLocalFile()) << where;
        EXPECT_EQ(url.fileName(), expected.fileName()) << where;
        EXPECT_EQ(qHash(url), qHash(expected)) << where;
    }
}
} // namespace
