#include "TestHome.h"

#include "ArchiveWriter.h"
#include "BookmarkWriter.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
const QList<QByteArray>& overriddenVariables()
{
    static const QList<QByteArray> names{"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                         "XDG_CONFIG_HOME", "XDG_CACHE_HOME"};
    return names;
}
} // namespace

TestHome::TestHome()
{
    for (const QByteArray& name : overriddenVariables())
        m_savedEnvironment.insert(name, qEnvironmentVariableIsSet(name.constData())
                                            ? std::optional(qgetenv(name.constData()))
                                            : std::nullopt);
    const QString home = m_dir.path();
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_DATA_DIRS", systemDataDir().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/.cache")).toUtf8());
    QDir().mkpath(dataHome() + QStringLiteral("/applications"));
    QDir().mkpath(systemDataDir() + QStringLiteral("/applications"));
}

TestHome::~TestHome()
{
    // Settings still on their way to this home's files are written before it goes, not into a
    // folder made again after it has gone.
    UserDefaults::standard().synchronize();
    UserDefaults::global().synchronize();
    for (auto it = m_savedEnvironment.cbegin(); it != m_savedEnvironment.cend(); ++it) {
        if (it.value())
            qputenv(it.key().constData(), *it.value());
        else
            qunsetenv(it.key().constData());
    }
}

QString TestHome::dataHome() const
{
    return path() + QStringLiteral("/.local/share");
}

QString TestHome::systemDataDir() const
{
    return path() + QStringLiteral("/system/share");
}

QString TestHome::recordFolder() const
{
    return dataHome() +
           QStringLiteral(
               "/com.apple.sharedfilelist/com.apple.LSSharedFileList.ApplicationRecentDocuments");
}

QString TestHome::installApplication(const QString& id, const QString& name,
                                     const QString& extraLines) const
{
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + name +
                         QStringLiteral("\nExec=") + id.section(u'.', -1).toLower() +
                         QStringLiteral(" %U\nIcon=") + id + u'\n' + extraLines + u'\n';
    return writeFile(dataHome() + QStringLiteral("/applications/") + id +
                         QStringLiteral(".desktop"),
                     text.toUtf8());
}

QString TestHome::createDocument(const QString& relativePath, const QDateTime& modified) const
{
    const QString file =
        writeFile(path() + u'/' + relativePath, "document " + relativePath.toUtf8());
    setModificationTime(file, modified);
    return file;
}

QString TestHome::writeRecord(const QString& bundleIdentifier, const QStringList& documentPaths,
                              const QDateTime& modified, const QString& suffix) const
{
    QList<QByteArray> bookmarks;
    for (const QString& document : documentPaths)
        bookmarks << BookmarkWriter::forPath(document, path());
    const QString record = writeFile(recordFolder() + u'/' + bundleIdentifier + suffix,
                                     ArchiveWriter::recordFile(bookmarks));
    setModificationTime(record, modified);
    return record;
}

QString TestHome::writeFile(const QString& filePath, const QByteArray& bytes) const
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QFile file(filePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return filePath;
}

void TestHome::setModificationTime(const QString& filePath, const QDateTime& modified)
{
    const qint64 ms = modified.toMSecsSinceEpoch();
    const timespec times[2] = {{ms / 1000, (ms % 1000) * 1000000},
                               {ms / 1000, (ms % 1000) * 1000000}};
    ::utimensat(AT_FDCWD, QFile::encodeName(filePath).constData(), times, 0);
}
