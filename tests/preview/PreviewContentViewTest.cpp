// The preview's content from real files: pictures fitted and upright, animations playing, PDF
// pages turned, the start of text files, the icon page for everything else and for damaged
// files, a later document winning over an earlier slow one, the look followed.
#include "PreviewContentView.h"

#include "PreviewIconPage.h"
#include "PreviewPictureView.h"
#include "PreviewTestFiles.h"
#include "PreviewTextView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <tuple>

namespace {
constexpr int deadlineMs = 60000;
const QColor red(220, 30, 30);
const QColor green(30, 200, 60);
const QColor blue(30, 40, 220);

bool isNear(const QColor& actual, const QColor& expected)
{
    return std::abs(actual.red() - expected.red()) <= 40 &&
           std::abs(actual.green() - expected.green()) <= 40 &&
           std::abs(actual.blue() - expected.blue()) <= 40;
}

class PreviewContentViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view.resize(300, 300);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }

    QString path(const QString& name) const { return m_folder.filePath(name); }

    // Shows the file and waits until its content is on screen.
    bool show(const QString& filePath)
    {
        QSignalSpy shown(&m_view, &PreviewContentView::contentShown);
        const QUrl url = QUrl::fromLocalFile(filePath);
        m_view.showItem(url);
        return QTest::qWaitFor([&] { return !shown.isEmpty(); }, deadlineMs) &&
               shown.constFirst().constFirst().toUrl() == url;
    }

    QColor colourAt(const QPoint& point) { return m_view.grab().toImage().pixelColor(point); }

    // Where the picture lies in the view: the pixels that are not the background.
    QRect paintedArea()
    {
        const QImage image = m_view.grab().toImage();
        const QColor background = m_view.palette().color(QPalette::Window);
        QRect area;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!isNear(image.pixelColor(x, y), background))
                    area |= QRect(x, y, 1, 1);
            }
        }
        return area;
    }

    bool pressKey(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        return m_view.handleKey(&event);
    }

    QString pageLabel() const { return m_view.findChild<PreviewPictureView*>()->pageLabel(); }

    QTemporaryDir m_folder;
    PreviewContentView m_view;
};

struct PictureCase
{
    const char* name;
    QSize size;
    int exifOrientation;
    const char* format;
    QSize shownSize;
    QColor top;
    QColor bottom;
};

TEST_F(PreviewContentViewTest, PicturesAreDecodedFittedUprightAndNeverEnlarged)
{
    const QList<PictureCase> cases{
        {"wide.jpg", QSize(1200, 600), 0, "JPEG", QSize(300, 150), red, red},
        // Orientation 6: turned a quarter clockwise, so the left half comes out on top.
        {"turned.jpg", QSize(1200, 600), 6, "JPEG", QSize(150, 300), red, blue},
        {"small.jpg", QSize(40, 20), 0, "JPEG", QSize(40, 20), red, red},
        {"wide.webp", QSize(1200, 600), 0, "WEBP", QSize(300, 150), red, red},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = PreviewTestFiles::write(
            path(c.name),
            PreviewTestFiles::twoColourPicture(c.size, red, blue, c.exifOrientation, c.format));
        ASSERT_TRUE(show(file));
        EXPECT_EQ(m_view.shownKind(), PreviewKind::picture);
        // Decoded at the size shown, not decoded whole and scaled afterwards.
        EXPECT_EQ(m_view.findChild<PreviewPictureView*>()->picture().size(), c.shownSize);
        const QRect area = paintedArea();
        EXPECT_EQ(area.size(), c.shownSize);
        EXPECT_TRUE(isNear(colourAt(QPoint(area.left() + 2, area.top() + 2)), c.top));
        EXPECT_TRUE(isNear(colourAt(QPoint(area.left() + 2, area.bottom() - 2)), c.bottom));
    }
}

TEST_F(PreviewContentViewTest, AnimatedPicturesPlay)
{
    const QString file =
        PreviewTestFiles::write(path(QStringLiteral("blink.gif")),
                                PreviewTestFiles::animatedGif(QSize(20, 20), {red, blue}, 5));
    ASSERT_TRUE(show(file));
    EXPECT_EQ(m_view.shownKind(), PreviewKind::animation);
    const QPoint centre(150, 150);
    for (const QColor& colour : {red, blue, red})
        EXPECT_TRUE(QTest::qWaitFor([&] { return isNear(colourAt(centre), colour); }, deadlineMs));
}

TEST_F(PreviewContentViewTest, PageKeysTurnThePagesOfAPdf)
{
    const QString file = path(QStringLiteral("pages.pdf"));
    PreviewTestFiles::writePdf(file, {red, green, blue});
    ASSERT_TRUE(show(file));
    const QPoint centre(150, 150);
    EXPECT_TRUE(isNear(colourAt(centre), red));
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 1 of 3"));
    struct Step
    {
        int key;
        bool used;
        QColor colour;
        const char* label;
    };
    // Past the last page nothing turns, but the key is still the pages'; arrows are not.
    for (const Step& step : {Step{Qt::Key_PageDown, true, green, "Page 2 of 3"},
                             Step{Qt::Key_PageDown, true, blue, "Page 3 of 3"},
                             Step{Qt::Key_PageDown, true, blue, "Page 3 of 3"},
                             Step{Qt::Key_Down, false, blue, "Page 3 of 3"},
                             Step{Qt::Key_PageUp, true, green, "Page 2 of 3"}}) {
        SCOPED_TRACE(step.label);
        EXPECT_EQ(pressKey(step.key), step.used);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return isNear(colourAt(centre), step.colour); }, deadlineMs));
        EXPECT_EQ(pageLabel(), QString::fromLatin1(step.label));
    }
}

TEST_F(PreviewContentViewTest, TextFilesShowTheirStartDecoded)
{
    const QByteArray line = QByteArray(63, 'a') + '\n';
    const QByteArray fullLines = line.repeated(4095);
    struct TextCase
    {
        const char* name;
        QByteArray bytes;
        QString shown;
    };
    const QList<TextCase> cases{
        {"utf8.txt", "na\xC3\xAFve \xE2\x9C\x93\n", QStringLiteral("naïve ✓\n")},
        {"latin1.txt", "caf\xE9 cr\xE8me\n", QStringLiteral("café crème\n")},
        {"main.cpp", "int main() {}\n", QStringLiteral("int main() {}\n")},
        // Only the first 256 KiB, and a character cut off there does not make it Latin-1.
        {"long.log", fullLines + QByteArray(63, 'b') + "\xC3\xA9 more\n",
         QString::fromLatin1(fullLines + QByteArray(63, 'b'))},
        // A line with no end is broken into pieces the window lays out quickly.
        {"minified.js", QByteArray(10000, 'x'),
         QString(4096, u'x') + u'\n' + QString(4096, u'x') + u'\n' + QString(1808, u'x')},
    };
    auto* textView = m_view.findChild<PreviewTextView*>();
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(show(PreviewTestFiles::write(path(c.name), c.bytes)));
        EXPECT_EQ(m_view.shownKind(), PreviewKind::text);
        EXPECT_EQ(textView->toPlainText(), c.shown);
        EXPECT_TRUE(textView->isReadOnly());
        EXPECT_TRUE(QFontInfo(textView->font()).fixedPitch());
    }
}

TEST_F(PreviewContentViewTest, DocumentsWithNothingToShowGetTheIconPage)
{
    const QByteArray jpeg = PreviewTestFiles::twoColourPicture(QSize(800, 600), red, blue);
    PreviewTestFiles::write(path(QStringLiteral("cut.jpg")), jpeg.left(jpeg.size() / 2));
    PreviewTestFiles::write(path(QStringLiteral("garbage.pdf")), QByteArray(3000, '\x9C'));
    PreviewTestFiles::write(path(QStringLiteral("data.bin")), QByteArray(100, '\0') + "\x01\x02");
    QDir(m_folder.path()).mkdir(QStringLiteral("Folder"));
    ASSERT_EQ(mkfifo(QFile::encodeName(path(QStringLiteral("pipe"))).constData(), 0600), 0);
    struct IconCase
    {
        QString name;
        QString kind;
        bool exists;
    };
    const QLocale locale;
    for (const IconCase& c :
         {IconCase{QStringLiteral("cut.jpg"), QStringLiteral("JPEG image"), true},
          IconCase{QStringLiteral("garbage.pdf"), QStringLiteral("PDF document"), true},
          IconCase{QStringLiteral("data.bin"), QString(), true},
          IconCase{QStringLiteral("Folder"), QStringLiteral("folder"), true},
          IconCase{QStringLiteral("pipe"), QString(), true},
          IconCase{QStringLiteral("gone.png"), QStringLiteral("PNG image"), false}}) {
        SCOPED_TRACE(c.name.toStdString());
        ASSERT_TRUE(show(path(c.name)));
        EXPECT_EQ(m_view.shownKind(), PreviewKind::icon);
        const QStringList lines = m_view.findChild<PreviewIconPage*>()->lines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.constFirst(), c.name);
        EXPECT_TRUE(c.kind.isEmpty() || lines.contains(c.kind, Qt::CaseInsensitive))
            << lines.join(u'|').toStdString();
        const QFileInfo info(path(c.name));
        EXPECT_EQ(lines.contains(locale.formattedDataSize(info.size())), info.isFile());
        EXPECT_EQ(lines.last().contains(QStringLiteral("no longer there")), !c.exists);
    }
}

TEST_F(PreviewContentViewTest, ALaterDocumentWinsOverASlowEarlierOne)
{
    QImage large(6000, 4000, QImage::Format_RGB32);
    large.fill(red);
    const QString slow = path(QStringLiteral("large.png"));
    ASSERT_TRUE(large.save(slow));
    const QString quick = PreviewTestFiles::write(path(QStringLiteral("quick.txt")), "quick\n");
    QSignalSpy shown(&m_view, &PreviewContentView::contentShown);
    m_view.showItem(QUrl::fromLocalFile(slow));
    m_view.showItem(QUrl::fromLocalFile(quick));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !shown.isEmpty() && !m_view.isLoading(); }, deadlineMs));
    QCoreApplication::processEvents();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.constFirst().constFirst().toUrl(), QUrl::fromLocalFile(quick));
    EXPECT_EQ(m_view.shownKind(), PreviewKind::text);
    EXPECT_TRUE(m_view.findChild<PreviewPictureView*>()->picture().isNull());

    // An empty URL shows nothing, and what was on its way for the earlier one is dropped too.
    m_view.showItem(QUrl::fromLocalFile(slow));
    m_view.showItem(QUrl());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_view.isLoading(); }, deadlineMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(m_view.shownKind(), PreviewKind::nothing);
    EXPECT_FALSE(paintedArea().isValid());
}

TEST_F(PreviewContentViewTest, ResizingMakesThePictureAgainAtTheNewSize)
{
    const QString jpeg =
        PreviewTestFiles::write(path(QStringLiteral("wide.jpg")),
                                PreviewTestFiles::twoColourPicture(QSize(1200, 600), red, blue));
    const QString pdf = path(QStringLiteral("page.pdf"));
    PreviewTestFiles::writePdf(pdf, {green});
    // A4 is 595 by 842 points; pages keep 8 pixels free around them.
    for (const auto& [file, before, after] : {std::tuple{jpeg, QSize(300, 150), QSize(600, 300)},
                                              std::tuple{pdf, QSize(201, 284), QSize(413, 584)}}) {
        SCOPED_TRACE(file.toStdString());
        m_view.resize(300, 300);
        ASSERT_TRUE(show(file));
        const auto* picture = m_view.findChild<PreviewPictureView*>();
        const auto near = [](const QSize& a, const QSize& b) {
            return std::abs(a.width() - b.width()) <= 1 && std::abs(a.height() - b.height()) <= 1;
        };
        EXPECT_TRUE(near(picture->picture().size(), before));
        m_view.resize(600, 600);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return near(picture->picture().size(), after); }, deadlineMs))
            << picture->picture().size().width() << "x" << picture->picture().size().height();
    }
}

TEST_F(PreviewContentViewTest, FollowsTheLightAndTheDarkLook)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(0x26, 0x27, 0x2b)},
                                       std::pair{QPalette::WindowText, QColor(0xec, 0xec, 0xee)},
                                       std::pair{QPalette::Base, QColor(0x1e, 0x1f, 0x22)},
                                       std::pair{QPalette::Text, QColor(0xec, 0xec, 0xee)}})
        dark.setColor(role, colour);
    const QString unknown = PreviewTestFiles::write(path(QStringLiteral("notes.bin")), "\x01\x02");
    const QString text =
        PreviewTestFiles::write(path(QStringLiteral("notes.txt")), "Shopping:\n\tbread\n");
    const QString pdf = path(QStringLiteral("pages.pdf"));
    PreviewTestFiles::writePdf(pdf, {Qt::white, Qt::white});
    m_view.resize(420, 320);
    for (const auto& [look, lookName] : {std::pair{dark, "dark"}, std::pair{light, "light"}}) {
        QApplication::setPalette(look);
        // Each page's background is the look's, without a word to the view.
        for (const auto& [file, role, kind] :
             {std::tuple{unknown, QPalette::Window, "icon"},
              std::tuple{text, QPalette::Base, "text"}, std::tuple{pdf, QPalette::Window, "pdf"}}) {
            SCOPED_TRACE(std::string(kind) + " " + lookName);
            ASSERT_TRUE(show(file));
            EXPECT_EQ(colourAt(QPoint(2, 2)), look.color(role));
            QDir().mkpath(QStringLiteral(VORLANE_TEST_ARTIFACTS));
            m_view.grab().save(QStringLiteral(VORLANE_TEST_ARTIFACTS "/preview-%1-%2.png")
                                   .arg(QLatin1String(kind), QLatin1String(lookName)));
        }
    }
}
} // namespace
