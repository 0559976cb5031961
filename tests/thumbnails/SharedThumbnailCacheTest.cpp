#include "SharedThumbnailCache.h"

#include "FileStamp.h"
#include "ThumbnailGenerator.h"
#include "ThumbnailTestFiles.h"
#include "ThumbnailTestHome.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <gio/gio.h>
#include <sys/stat.h>

namespace {
QString inTemp(const TestHome& home, const QString& name)
{
    return home.path() + QStringLiteral("/Documents/") + name;
}

// Where the freedesktop standard says any program looks: computed here with GLib, not with ours.
QString standardLocation(const QString& file, const QString& sizeFolder)
{
    gchar* uri = g_filename_to_uri(QFile::encodeName(file).constData(), nullptr, nullptr);
    const QByteArray md5 =
        QCryptographicHash::hash(QByteArray(uri), QCryptographicHash::Md5).toHex();
    g_free(uri);
    return qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/thumbnails/") + sizeFolder +
           u'/' + QString::fromLatin1(md5) + QStringLiteral(".png");
}

QByteArray glibUri(const QString& file)
{
    gchar* uri = g_filename_to_uri(QFile::encodeName(file).constData(), nullptr, nullptr);
    const QByteArray result(uri);
    g_free(uri);
    return result;
}

int modeOf(const QString& path)
{
    struct stat status
    {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return static_cast<int>(status.st_mode & 07777);
}

// What GIO (every GTK file chooser, Nautilus) reports about the file's thumbnail.
struct GioThumbnail
{
    QString path;
    bool valid = false;
};

GioThumbnail gioThumbnail(const QString& file)
{
    GFile* gfile = g_file_new_for_path(QFile::encodeName(file).constData());
    GFileInfo* info =
        g_file_query_info(gfile, "thumbnail::*", G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    GioThumbnail result;
    if (info) {
        if (const char* path =
                g_file_info_get_attribute_byte_string(info, G_FILE_ATTRIBUTE_THUMBNAIL_PATH))
            result.path = QFile::decodeName(path);
        result.valid = g_file_info_get_attribute_boolean(info, G_FILE_ATTRIBUTE_THUMBNAIL_IS_VALID);
        g_object_unref(info);
    }
    g_object_unref(gfile);
    return result;
}

// A thumbnail as another program would have left it, written by Qt (which compresses long text).
void placeForeignThumbnail(const QString& target, const QColor& colour, const QByteArray& uri,
                           qint64 mtime)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(colour);
    image.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
    image.setText(QStringLiteral("Thumb::MTime"), QString::number(mtime));
    image.save(target, "png");
}

class SharedThumbnailCacheTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

    ThumbnailGenerator generator() const
    {
        return ThumbnailGenerator(SharedThumbnailCache(), ThumbnailerRegistry::fromEnvironment());
    }

    QString cacheRoot() const { return m_home.path() + QStringLiteral("/.cache/thumbnails"); }

    ThumbnailTestHome m_home;
};
} // namespace

TEST_F(SharedThumbnailCacheTest, WhatWeRenderIsWhereTheStandardSaysWithItsAttributes)
{
    const QString file = ThumbnailTestFiles::writeImage(
        inTemp(m_home, QStringLiteral("My Photo #1.png")), QSize(600, 400), Qt::red);
    const ThumbnailOutcome outcome = generator().generate(file, QSize(192, 192));
    ASSERT_EQ(outcome.source(), ThumbnailOutcome::Source::Rendered);

    const QString expected = standardLocation(file, QStringLiteral("large"));
    ASSERT_TRUE(QFileInfo::exists(expected)) << qPrintable(expected);
    const QImage stored(expected);
    EXPECT_EQ(stored.size(), QSize(256, 171));

    const auto chunks = ThumbnailTestFiles::textChunks(expected);
    QHash<QByteArray, QByteArray> attributes;
    for (const auto& [key, value] : chunks)
        attributes.insert(key, value);
    const QFileInfo info(file);
    EXPECT_EQ(attributes.value("Thumb::URI"), glibUri(file));
    EXPECT_EQ(attributes.value("Thumb::MTime"),
              QByteArray::number(info.lastModified().toSecsSinceEpoch()));
    EXPECT_EQ(attributes.value("Thumb::Size"), QByteArray::number(info.size()));
    EXPECT_EQ(attributes.value("Thumb::Mimetype"), "image/png");
    EXPECT_TRUE(attributes.value("Software").startsWith("Vorlane "));
    // Uncompressed tEXt, before the image data, where readers that look no further find it.
    EXPECT_TRUE(
        ThumbnailTestFiles::chunkTypes(expected).startsWith("IHDR tEXt tEXt tEXt tEXt tEXt"))
        << ThumbnailTestFiles::chunkTypes(expected).constData();

    EXPECT_EQ(modeOf(expected), 0600);
    EXPECT_EQ(modeOf(cacheRoot()), 0700);
    EXPECT_EQ(modeOf(cacheRoot() + QStringLiteral("/large")), 0700);
    // Nothing half-written is left beside it.
    EXPECT_EQ(
        QDir(cacheRoot() + QStringLiteral("/large")).entryList(QDir::Files | QDir::Hidden).size(),
        1);
}

TEST_F(SharedThumbnailCacheTest, GioFindsOurThumbnailAndCallsItValid)
{
    const QString grid = ThumbnailTestFiles::writeImage(inTemp(m_home, QStringLiteral("grid.jpg")),
                                                        QSize(800, 600), Qt::green, "jpg");
    ASSERT_EQ(generator().generate(grid, QSize(192, 192)).source(),
              ThumbnailOutcome::Source::Rendered);
    const GioThumbnail found = gioThumbnail(grid);
    EXPECT_EQ(found.path, standardLocation(grid, QStringLiteral("large")));
    EXPECT_TRUE(found.valid);

    const QString list =
        ThumbnailTestFiles::writePdf(inTemp(m_home, QStringLiteral("list é.pdf")), {Qt::blue});
    ASSERT_EQ(generator().generate(list, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::Rendered);
    const GioThumbnail listFound = gioThumbnail(list);
    EXPECT_EQ(listFound.path, standardLocation(list, QStringLiteral("normal")));
    EXPECT_TRUE(listFound.valid);
}

TEST_F(SharedThumbnailCacheTest, ThumbnailOfAnotherProgramIsUsedWhenCurrent)
{
    const QString file = ThumbnailTestFiles::writeImage(inTemp(m_home, QStringLiteral("a.png")),
                                                        QSize(300, 300), Qt::red);
    const auto stamp = FileStamp::of(file);
    placeForeignThumbnail(standardLocation(file, QStringLiteral("normal")), Qt::blue, glibUri(file),
                          stamp->modificationSeconds());

    const ThumbnailOutcome outcome = generator().generate(file, QSize(86, 86));
    ASSERT_EQ(outcome.source(), ThumbnailOutcome::Source::SharedCache);
    EXPECT_EQ(outcome.image()->size(), QSize(86, 65));
    EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()),
                                              Qt::blue));
}

TEST_F(SharedThumbnailCacheTest, ThumbnailUnderTheUrlsOwnSpellingIsFoundToo)
{
    // GLib escapes ';' in paths, Qt's URLs (and the programs that name thumbnails by them) do not.
    const QString file = ThumbnailTestFiles::writeImage(
        inTemp(m_home, QStringLiteral("notes;draft.png")), QSize(300, 300), Qt::red);
    const QByteArray qtSpelling = QUrl::fromLocalFile(file).toEncoded();
    ASSERT_NE(qtSpelling, glibUri(file));
    const QString location =
        SharedThumbnailCache().thumbnailPath(qtSpelling, SharedThumbnailSize::forEdge(86));
    placeForeignThumbnail(location, Qt::blue, qtSpelling,
                          FileStamp::of(file)->modificationSeconds());

    EXPECT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::Rendered);
    const ThumbnailOutcome outcome = generator().generate(file, QSize(192, 192), qtSpelling);
    EXPECT_EQ(outcome.source(), ThumbnailOutcome::Source::Rendered)
        << "a normal-size thumbnail does not serve a large request";
    QFile::remove(standardLocation(file, QStringLiteral("normal")));
    const ThumbnailOutcome found = generator().generate(file, QSize(86, 86), qtSpelling);
    EXPECT_EQ(found.source(), ThumbnailOutcome::Source::SharedCache);
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*found.image()), Qt::blue));
}

TEST_F(SharedThumbnailCacheTest, LargerSizeServesASmallerRequest)
{
    const QString file = ThumbnailTestFiles::writeImage(inTemp(m_home, QStringLiteral("b.png")),
                                                        QSize(300, 300), Qt::red);
    placeForeignThumbnail(standardLocation(file, QStringLiteral("x-large")), Qt::blue,
                          glibUri(file), FileStamp::of(file)->modificationSeconds());
    const ThumbnailOutcome outcome = generator().generate(file, QSize(86, 86));
    EXPECT_EQ(outcome.source(), ThumbnailOutcome::Source::SharedCache);
}

TEST_F(SharedThumbnailCacheTest, StaleModificationTimeIsNotUsedAndIsReplaced)
{
    const QString file = ThumbnailTestFiles::writeImage(inTemp(m_home, QStringLiteral("c.png")),
                                                        QSize(300, 300), Qt::red);
    const QString location = standardLocation(file, QStringLiteral("normal"));
    const qint64 mtime = FileStamp::of(file)->modificationSeconds();
    placeForeignThumbnail(location, Qt::blue, glibUri(file), mtime - 60);
    EXPECT_FALSE(gioThumbnail(file).valid);

    const ThumbnailOutcome outcome = generator().generate(file, QSize(86, 86));
    ASSERT_EQ(outcome.source(), ThumbnailOutcome::Source::Rendered);
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()), Qt::red));
    EXPECT_EQ(QImage(location).text(QStringLiteral("Thumb::MTime")).toLongLong(), mtime);
    EXPECT_TRUE(gioThumbnail(file).valid);
}

TEST_F(SharedThumbnailCacheTest, ThumbnailOfAnotherFileUnderTheSameNameIsNotUsed)
{
    const QString file = ThumbnailTestFiles::writeImage(inTemp(m_home, QStringLiteral("d.png")),
                                                        QSize(300, 300), Qt::red);
    placeForeignThumbnail(standardLocation(file, QStringLiteral("normal")), Qt::blue,
                          "file:///somewhere/else.png", FileStamp::of(file)->modificationSeconds());
    EXPECT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::Rendered);
}

TEST_F(SharedThumbnailCacheTest, DamagedImageLeavesOurFailureMarkWhichIsRespected)
{
    const QString file = ThumbnailTestFiles::writeBytes(inTemp(m_home, QStringLiteral("bad.png")),
                                                        "\x89PNG\r\n\x1a\n this is not a picture");
    EXPECT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::RenderFailed);
    const QString mark = cacheRoot() + QStringLiteral("/fail/") +
                         SharedThumbnailCache::failFolderName() + u'/' +
                         QFileInfo(standardLocation(file, QStringLiteral("normal"))).fileName();
    ASSERT_TRUE(QFileInfo::exists(mark)) << qPrintable(mark);
    EXPECT_EQ(SharedThumbnailCache::failFolderName(), QStringLiteral("vorlane-0.1.0"));
    EXPECT_EQ(QImage(mark).text(QStringLiteral("Thumb::URI")).toLatin1(), glibUri(file));
    EXPECT_EQ(modeOf(mark), 0600);

    // Known to fail as it is: not tried again.
    EXPECT_EQ(generator().generate(file, QSize(86, 86)).source(), ThumbnailOutcome::Source::None);
    // Once it changes, it is.
    ThumbnailTestFiles::writeImage(file, QSize(50, 50), Qt::red, "png");
    TestHome::setModificationTime(file, QDateTime::currentDateTime().addSecs(5));
    EXPECT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::Rendered);
}

TEST_F(SharedThumbnailCacheTest, FileRewrittenWithinTheSecondItsThumbnailFailedIsTriedAgain)
{
    const QString file = ThumbnailTestFiles::writeBytes(inTemp(m_home, QStringLiteral("quick.png")),
                                                        "\x89PNG\r\n\x1a\n not yet a picture");
    const QDateTime failedAt = QFileInfo(file).lastModified();
    ASSERT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::RenderFailed);
    const QString mark =
        SharedThumbnailCache().failurePath(glibUri(file), SharedThumbnailCache::failFolderName());
    EXPECT_EQ(QImage(mark).text(QStringLiteral("Thumb::Size")).toLongLong(),
              QFileInfo(file).size());

    // The program that wrote it finishes the picture within the same second.
    ThumbnailTestFiles::writeImage(file, QSize(50, 50), Qt::red, "png");
    TestHome::setModificationTime(file, failedAt);
    ASSERT_EQ(FileStamp::of(file)->modificationSeconds(), failedAt.toSecsSinceEpoch());
    EXPECT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::Rendered);
}

TEST_F(SharedThumbnailCacheTest, FilesInsideTheCacheAreNeverThumbnailed)
{
    const QString file = ThumbnailTestFiles::writeImage(inTemp(m_home, QStringLiteral("e.png")),
                                                        QSize(300, 300), Qt::red);
    ASSERT_EQ(generator().generate(file, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::Rendered);
    const QString thumbnail = standardLocation(file, QStringLiteral("normal"));
    EXPECT_EQ(generator().generate(thumbnail, QSize(86, 86)).source(),
              ThumbnailOutcome::Source::None);
    EXPECT_FALSE(QFileInfo::exists(standardLocation(thumbnail, QStringLiteral("normal"))));
}
