#include "FileUri.h"

#include <QFile>

#include <gtest/gtest.h>

#include <glib.h>

namespace {
// GLib's own escaping, which every GTK and GNOME program uses to name shared thumbnails.
QByteArray glibUri(const QByteArray& path)
{
    gchar* uri = g_filename_to_uri(path.constData(), nullptr, nullptr);
    const QByteArray result(uri);
    g_free(uri);
    return result;
}
} // namespace

TEST(FileUriTest, EscapesExactlyAsGLib)
{
    const QList<QByteArray> paths{
        "/tmp/Report.pdf",
        "/home/user/My Documents/a b.txt",
        "/tmp/100% sure#1?.png",
        "/tmp/semi;colon=equals&amp+plus,comma@at:colon",
        "/tmp/!$'()*-._~",
        "/tmp/<angle>\"quote\"[square]{curly}|pipe\\back^caret`tick",
        "/tmp/Ünïcödé/日本語.pdf",
        "/tmp/tab\there/new\nline",
        "/",
        "/tmp//double//slash",
    };
    for (const QByteArray& path : paths)
        EXPECT_EQ(FileUri::fromEncodedPath(path), glibUri(path)) << path.constData();
}

TEST(FileUriTest, EveryByteEscapesAsGLibEscapesIt)
{
    for (int byte = 1; byte < 256; ++byte) {
        const QByteArray path = QByteArray("/x") + static_cast<char>(byte) + "y";
        EXPECT_EQ(FileUri::fromEncodedPath(path), glibUri(path)) << byte;
    }
}

TEST(FileUriTest, PathsAreEncodedAsTheFileSystemNamesThem)
{
    const QString path = QStringLiteral("/tmp/Ünïcödé café.pdf");
    EXPECT_EQ(FileUri::fromPath(path), glibUri(QFile::encodeName(path)));
}
