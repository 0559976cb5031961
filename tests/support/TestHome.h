#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// A temporary home folder with HOME and the XDG variables pointing into it, restored when the
// object goes away: record files, desktop entries and documents are made here, never in the
// user's own folders.
class TestHome
{
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    // Leaves the folder in place when the object goes, for homes made for other programs.
    void keep() { m_dir.setAutoRemove(false); }
    QString path() const { return m_dir.path(); }
    QString dataHome() const;
    QString systemDataDir() const;
    QString recordFolder() const;

    // A desktop entry <id>.desktop in the user's applications folder; extraLines go into its
    // [Desktop Entry] group.
    QString installApplication(const QString& id, const QString& name,
                               const QString& extraLines = {}) const;
    // A document below the home folder with the given modification time.
    QString createDocument(const QString& relativePath, const QDateTime& modified) const;
    // A record file for the application with bookmarks to the given paths.
    QString writeRecord(const QString& bundleIdentifier, const QStringList& documentPaths,
                        const QDateTime& modified,
                        const QString& suffix = QStringLiteral(".sfl3")) const;
    QString writeFile(const QString& path, const QByteArray& bytes) const;

    static void setModificationTime(const QString& path, const QDateTime& modified);

private:
    QTemporaryDir m_dir;
    QHash<QByteArray, std::optional<QByteArray>> m_savedEnvironment;
};
