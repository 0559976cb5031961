#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

// Finds the installed desktop entry of an application as the shared recently-used file names it:
// by the name it registered under and its exec line. GTK registers a display name ("Image
// Viewer") and a quoted command ("'eog %u'"); KDE registers the desktop id ("org.kde.okular")
// and an unquoted command. The cascade, all comparisons ignoring case:
//   1. the name is a desktop id, or the last component of a reverse-DNS desktop id;
//   2. the name is an entry's Name, its Name in the user's language, or its X-GNOME-FullName;
//      when several entries carry the name, the program of the exec line decides between them
//      (the entry that runs it, else the one whose desktop id names it, else the first);
//   3. the exec line, unquoted and unwrapped (env VAR=x prog, flatpak run ... <app id>): the
//      flatpak app id as a desktop id; the program's file name against the program of each
//      entry's Exec and TryExec, then against desktop ids;
//   4. the name or the program against StartupWMClass.
// Only installed applications are indexed: the user's entry hides a system entry with the same
// id, and hidden entries (Hidden=true) and entries that are not applications stand for nothing.
// Entries with NoDisplay=true are still installed.
//
// The index is built on first use and built again only when an application folder changes.
// Safe to use from several threads at once (a rebuild on a worker thread, a clearing on the main
// thread): the index reads and keeps the desktop entries it needs itself.
class DesktopApplicationIndex
{
public:
    struct Match
    {
        QString desktopId;
        // Path of the desktop entry file; empty when nothing matched.
        QString path;

        bool isValid() const { return !path.isEmpty(); }
        friend bool operator==(const Match&, const Match&) = default;
    };

    // A command line taken apart: its program's file name, its arguments without field codes,
    // and the app id when the line runs a flatpak.
    struct Command
    {
        QString program;
        QStringList arguments;
        QString flatpakId;
    };

    // The index over applicationFolders(), for the whole process.
    static DesktopApplicationIndex& shared();

    DesktopApplicationIndex();
    ~DesktopApplicationIndex();
    DesktopApplicationIndex(const DesktopApplicationIndex&) = delete;
    DesktopApplicationIndex& operator=(const DesktopApplicationIndex&) = delete;

    // Looks at the application folders and indexes them again when one of them was added,
    // removed or changed, or changed too recently for its time stamp to tell, or when the
    // user's language changed. Cheap otherwise: one stat per folder.
    void refresh();

    // The installed application an XBEL application element names; invalid when none.
    Match find(const QString& name, const QString& exec);
    // The installed application with exactly this desktop id (a file applications/kde4/
    // konsole.desktop has the id kde4-konsole); invalid when none.
    Match findById(const QString& desktopId);

    // How many installed applications are indexed.
    qsizetype entryCount();

    // Words of a command line as a POSIX shell would split it (quotes and backslashes undone).
    static QStringList splitCommandLine(QStringView line);
    // An exec line as XBEL writers store it. GLib shell-quotes the whole line as one word; that
    // word is split again.
    static Command commandOf(QStringView exec);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
