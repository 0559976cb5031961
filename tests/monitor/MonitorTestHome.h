#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary home for one test: HOME and XDG_DATA_HOME point into a fresh folder, so the
// record folder and recently-used.xbel resolve there. The previous values come back afterwards.
class MonitorTestHome
{
public:
    MonitorTestHome();
    ~MonitorTestHome();
    MonitorTestHome(const MonitorTestHome&) = delete;
    MonitorTestHome& operator=(const MonitorTestHome&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString home() const;
    QString dataFolder() const;
    QString recordFolder() const;
    QString recentlyUsedFile() const;

    // Creates the record folder and every folder above it.
    bool makeRecordFolder() const;
    // Writes a file in one go (create, write, close), creating nothing else.
    static bool writeFile(const QString& path, const QByteArray& contents = "data");
    // Writes a temporary file next to the target and renames it over, as atomic writers do.
    static bool replaceByRename(const QString& temporaryPath, const QString& path);

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldDataHome;
};
