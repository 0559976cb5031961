#include "ThumbnailGenerator.h"

#include "SharedThumbnailCache.h"
#include "ThumbnailTestFiles.h"
#include "ThumbnailTestHome.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
class ThumbnailGeneratorTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

    ThumbnailOutcome generate(const QString& file, const QSize& box) const
    {
        return ThumbnailGenerator(SharedThumbnailCache(), ThumbnailerRegistry::fromEnvironment())
            .generate(file, box);
    }

    QString document(const QString& name) const
    {
        return m_home.path() + QStringLiteral("/Documents/") + name;
    }

    int filesInCache() const
    {
        int count = 0;
        QDirIterator it(m_home.path() + QStringLiteral("/.cache"), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++count;
        }
        return count;
    }

    ThumbnailTestHome m_home;
};
} // namespace

TEST_F(ThumbnailGeneratorTest, PngFitsTheBoxKeepingItsProportions)
{
    const QString file = ThumbnailTestFiles::writeImage(document(QStringLiteral("wide.png")),
                                                        QSize(400, 200), Qt::red);
    const ThumbnailOutcome outcome = generate(file, QSize(86, 86));
    ASSERT_TRUE(outcome.image());
    EXPECT_EQ(outcome.image()->size(), QSize(86, 43));
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()), Qt::red));
}

TEST_F(ThumbnailGeneratorTest, LargeJpegIsDecodedSmall)
{
    const QString file = ThumbnailTestFiles::writeImage(
        document(QStringLiteral("photo.jpg")), QSize(3000, 2000), QColor(0, 160, 0), "jpg");
    const ThumbnailOutcome outcome = generate(file, QSize(192, 192));
    ASSERT_TRUE(outcome.image());
    EXPECT_EQ(outcome.image()->size(), QSize(192, 128));
    EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()),
                                              QColor(0, 160, 0)));
}

TEST_F(ThumbnailGeneratorTest, SmallPictureIsNotEnlarged)
{
    const QString file = ThumbnailTestFiles::writeImage(document(QStringLiteral("tiny.png")),
                                                        QSize(20, 10), Qt::red);
    const ThumbnailOutcome outcome = generate(file, QSize(172, 172));
    ASSERT_TRUE(outcome.image());
    EXPECT_EQ(outcome.image()->size(), QSize(20, 10));
}

TEST_F(ThumbnailGeneratorTest, OddBoxGivesAPictureNoLargerThanIt)
{
    const QString file = ThumbnailTestFiles::writeImage(document(QStringLiteral("tall.png")),
                                                        QSize(300, 900), Qt::red);
    const ThumbnailOutcome outcome = generate(file, QSize(150, 100));
    ASSERT_TRUE(outcome.image());
    EXPECT_LE(outcome.image()->width(), 150);
    EXPECT_EQ(outcome.image()->height(), 100);
}

TEST_F(ThumbnailGeneratorTest, PdfShowsItsFirstPageOnly)
{
    const QString file =
        ThumbnailTestFiles::writePdf(document(QStringLiteral("Report.pdf")), {Qt::red, Qt::blue});
    const ThumbnailOutcome outcome = generate(file, QSize(172, 172));
    ASSERT_TRUE(outcome.image());
    EXPECT_EQ(outcome.image()->height(), 172);
    EXPECT_NEAR(outcome.image()->width(), 172 * 595.0 / 842.0, 2);
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()), Qt::red));
}

TEST_F(ThumbnailGeneratorTest, LandscapePdfKeepsItsProportions)
{
    const QString file = ThumbnailTestFiles::writePdf(document(QStringLiteral("Slides.pdf")),
                                                      {Qt::green}, QSizeF(842, 595));
    const ThumbnailOutcome outcome = generate(file, QSize(86, 86));
    ASSERT_TRUE(outcome.image());
    EXPECT_EQ(outcome.image()->width(), 86);
    EXPECT_NEAR(outcome.image()->height(), 86 * 595.0 / 842.0, 2);
}

TEST_F(ThumbnailGeneratorTest, DamagedFilesGiveNoPictureAndNoCrash)
{
    QByteArray truncatedJpeg;
    {
        const QString whole = ThumbnailTestFiles::writeImage(document(QStringLiteral("whole.jpg")),
                                                             QSize(500, 500), Qt::red, "jpg");
        QFile file(whole);
        file.open(QIODevice::ReadOnly);
        truncatedJpeg = file.read(300);
    }
    const QList<QPair<QString, QByteArray>> damaged{
        {QStringLiteral("garbage.png"), QByteArray(4096, 'x')},
        {QStringLiteral("header-only.png"), QByteArray("\x89PNG\r\n\x1a\n")},
        {QStringLiteral("truncated.jpg"), truncatedJpeg},
        {QStringLiteral("broken.pdf"), QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog >>\n%%EOF")},
        {QStringLiteral("empty.pdf"), QByteArray()},
    };
    for (const auto& [name, bytes] : damaged) {
        const QString file = ThumbnailTestFiles::writeBytes(document(name), bytes);
        const ThumbnailOutcome outcome = generate(file, QSize(86, 86));
        EXPECT_FALSE(outcome.image() && !outcome.image()->isNull()) << qPrintable(name);
    }
}

TEST_F(ThumbnailGeneratorTest, HostilePictureIsRefusedWithoutTakingItsMemory)
{
    const QString file =
        ThumbnailTestFiles::writeHostilePng(document(QStringLiteral("huge.png")), 60000, 60000);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(generate(file, QSize(192, 192)).image());
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST_F(ThumbnailGeneratorTest, MissingFileGivesNoneAndWritesNothing)
{
    EXPECT_EQ(generate(document(QStringLiteral("gone.png")), QSize(86, 86)).source(),
              ThumbnailOutcome::Source::None);
    EXPECT_EQ(generate(QStringLiteral("relative/path.png"), QSize(86, 86)).source(),
              ThumbnailOutcome::Source::None);
    EXPECT_EQ(filesInCache(), 0);
}

TEST_F(ThumbnailGeneratorTest, FolderGivesNone)
{
    QDir().mkpath(document(QStringLiteral("folder.png")));
    EXPECT_FALSE(generate(document(QStringLiteral("folder.png")), QSize(86, 86)).image());
}

TEST_F(ThumbnailGeneratorTest, TypeWithoutRendererGivesNoneAndStoresNothing)
{
    const QString file =
        ThumbnailTestFiles::writeBytes(document(QStringLiteral("notes.txt")), "plain words\n");
    const ThumbnailOutcome outcome = generate(file, QSize(86, 86));
    EXPECT_EQ(outcome.source(), ThumbnailOutcome::Source::None);
    EXPECT_EQ(filesInCache(), 0);
}

// LibreOffice's list keeps a picture of each document: offered to the shared cache when it has
// none, where no thumbnailer would make one.
TEST_F(ThumbnailGeneratorTest, DocumentInLibreOfficesListGetsThePictureItKeeps)
{
    const QString file = ThumbnailTestFiles::writeBytes(document(QStringLiteral("letter.xyz")),
                                                        "not a format anyone renders");
    const QString picture = ThumbnailTestFiles::writeImage(
        m_home.path() + QStringLiteral("/kept.png"), QSize(128, 256), Qt::blue);
    QFile png(picture);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QString node = QString::fromUtf8(QUrl::fromLocalFile(file).toEncoded());
    m_home.writeFile(
        m_home.path() + QStringLiteral("/.config/libreoffice/4/user/registrymodifications.xcu"),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
                       "xmlns:oor=\"http://openoffice.org/2001/registry\"><item oor:path=\""
                       "/org.openoffice.Office.Histories/Histories/org.openoffice.Office."
                       "Histories:HistoryInfo['PickList']/ItemList\"><node oor:name=\"%1\" "
                       "oor:op=\"replace\"><prop oor:name=\"Thumbnail\" oor:op=\"fuse\"><value>"
                       "%2</value></prop></node></item></oor:items>\n")
            .arg(node, QString::fromLatin1(png.readAll().toBase64()))
            .toUtf8());

    const ThumbnailOutcome outcome = generate(file, QSize(86, 86));
    EXPECT_EQ(outcome.source(), ThumbnailOutcome::Source::Rendered);
    ASSERT_TRUE(outcome.image());
    EXPECT_EQ(outcome.image()->size(), QSize(43, 86));
    EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*outcome.image()),
                                              Qt::blue));
    EXPECT_EQ(generate(file, QSize(86, 86)).source(), ThumbnailOutcome::Source::SharedCache);
}
