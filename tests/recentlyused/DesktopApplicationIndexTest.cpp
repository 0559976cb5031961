// Matching the applications named in recently-used.xbel to installed desktop entries, with the
// names and exec lines real GTK and KDE applications register.

#include "DesktopApplicationIndex.h"

#include "DesktopEntry.h"
#include "FileStatus.h"
#include "QtPrinters.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {
// Sets a variable for the lifetime of the object.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name)
        , m_wasSet(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

class DesktopApplicationIndexTest : public testing::Test
{
protected:
    // A desktop entry with exactly the given lines in the system's (or the user's) folder.
    QString install(const QString& relativePath, const QString& lines, bool user = false) const
    {
        const QString folder =
            (user ? home.dataHome() : home.systemDataDir()) + QStringLiteral("/applications/");
        return home.writeFile(
            folder + relativePath,
            (QStringLiteral("[Desktop Entry]\nType=Application\n") + lines).toUtf8());
    }

    // Entries as Debian 12 and Flathub ship them (the keys that matter here).
    void installRealApplications() const
    {
        install(QStringLiteral("org.gnome.eog.desktop"),
                QStringLiteral("Name=Image Viewer\nName[de]=Bildbetrachter\n"
                               "Name[it]=Visualizzatore immagini\nExec=eog %U\n"
                               "StartupNotify=true\nIcon=org.gnome.eog\n"));
        install(QStringLiteral("org.kde.okular.desktop"),
                QStringLiteral("Name=Okular\nGenericName=Document Viewer\n"
                               "Exec=okular %U %i\nIcon=okular\n"));
        install(QStringLiteral("firefox-esr.desktop"),
                QStringLiteral("Name=Firefox ESR\nX-GNOME-FullName=Firefox ESR Web Browser\n"
                               "Exec=/usr/lib/firefox-esr/firefox-esr %u\n"
                               "StartupWMClass=Firefox-esr\nIcon=firefox-esr\n"));
        install(QStringLiteral("org.gnome.gThumb.desktop"),
                QStringLiteral("Name=gThumb\nExec=gthumb %U\nTryExec=gthumb\n"));
        install(QStringLiteral("org.gnome.Evince.desktop"),
                QStringLiteral("Name=Document Viewer\nExec=/usr/bin/flatpak run --branch=stable "
                               "--arch=x86_64 --command=evince --file-forwarding "
                               "org.gnome.Evince @@ %U @@\nX-Flatpak=org.gnome.Evince\n"));
        install(QStringLiteral("org.gnome.TextEditor.desktop"),
                QStringLiteral("Name=Text Editor\nExec=gnome-text-editor %U\n"));
        install(QStringLiteral("org.gnome.Totem.desktop"),
                QStringLiteral("Name=Videos\nExec=totem %U\n"));
        install(QStringLiteral("gimp.desktop"),
                QStringLiteral("Name=GNU Image Manipulation Program\nExec=gimp-2.10 %U\n"
                               "TryExec=gimp-2.10\n"));
        install(QStringLiteral("libreoffice-writer.desktop"),
                QStringLiteral("Name=LibreOffice Writer\nExec=libreoffice --writer %U\n"));
        install(QStringLiteral("libreoffice-calc.desktop"),
                QStringLiteral("Name=LibreOffice Calc\nExec=libreoffice --calc %U\n"));
        install(QStringLiteral("libreoffice-startcenter.desktop"),
                QStringLiteral("Name=LibreOffice\nExec=libreoffice %U\n"));
        install(QStringLiteral("code.desktop"),
                QStringLiteral("Name=Visual Studio Code\nExec=/usr/share/code/code --unity-launch "
                               "%F\nStartupWMClass=Code\n"));
        install(
            QStringLiteral("io.github.example.Sketch.desktop"),
            QStringLiteral("Name=Sketch Pad\nExec=env GDK_BACKEND=x11 /opt/sketch/bin/sketchpad "
                           "%F\nStartupWMClass=sketchy\n"));
        install(QStringLiteral("org.gnome.Nautilus.desktop"),
                QStringLiteral("Name=Files\nExec=nautilus --new-window %U\nNoDisplay=false\n"));
    }

    DesktopApplicationIndex::Match find(const QString& name, const QString& exec)
    {
        index.refresh();
        return index.find(name, exec);
    }

    QString idOf(const QString& name, const QString& exec) { return find(name, exec).desktopId; }

    TestHome home;
    DesktopApplicationIndex index;
};

TEST_F(DesktopApplicationIndexTest, mapsTheNamesRealApplicationsRegister)
{
    installRealApplications();
    struct Case
    {
        const char* name;
        const char* exec;
        const char* desktopId;
    };
    const Case cases[] = {
        // GTK: display name, whole exec line quoted once.
        {"Image Viewer", "'eog %u'", "org.gnome.eog"},
        // KDE: the desktop id and an unquoted exec line.
        {"org.kde.okular", "okular %u", "org.kde.okular"},
        {"org.kde.okular.desktop", "okular %U %u", "org.kde.okular"},
        // Firefox ESR registers its brand name and its own program.
        {"Firefox", "'firefox-esr %u'", "firefox-esr"},
        {"firefox-esr", "'firefox-esr %u'", "firefox-esr"},
        {"Firefox ESR Web Browser", "'x %u'", "firefox-esr"},
        // The last component of a reverse-DNS id.
        {"gThumb", "'gthumb %U'", "org.gnome.gThumb"},
        {"GTHUMB", "'other'", "org.gnome.gThumb"},
        // A flatpak run line names the app id.
        {"Some Viewer", "'flatpak run --branch=stable org.gnome.Evince %u'", "org.gnome.Evince"},
        {"Some Viewer", "/usr/bin/flatpak run --command=evince org.gnome.Evince//stable %u",
         "org.gnome.Evince"},
        // A flatpak entry's own command, when the app runs inside its sandbox.
        {"evince", "'evince %U'", "org.gnome.Evince"},
        // A localized name the entry does not carry, and the program of its Exec.
        {"Totem - Riproduttore di filmati", "'totem %u'", "org.gnome.Totem"},
        {"GNU Image Manipulation Program", "'gimp-2.6 %u'", "gimp"},
        {"Gimp Two", "'gimp-2.10 %u'", "gimp"},
        // Entries sharing a program: the one with the same arguments, else the first by name.
        {"LibreOffice", "'soffice %u'", "libreoffice-startcenter"},
        {"lowriter", "'libreoffice --writer %U'", "libreoffice-writer"},
        {"localc", "libreoffice --calc %U", "libreoffice-calc"},
        // Wrapped programs, and StartupWMClass.
        {"sketchpad", "'sketchpad %f'", "io.github.example.Sketch"},
        {"Sketchy", "'/opt/other/run.sh %u'", "io.github.example.Sketch"},
        {"Code", "'code %F'", "code"},
        {"vscode", "'env ELECTRON=1 /usr/share/code/code %F'", "code"},
        // Old nautilus registered itself for every "open with" choice.
        {"nautilus", "'eog'", "org.gnome.Nautilus"},
    };
    for (const Case& c : cases) {
        const DesktopApplicationIndex::Match match =
            find(QString::fromUtf8(c.name), QString::fromUtf8(c.exec));
        EXPECT_EQ(match.desktopId, QString::fromUtf8(c.desktopId)) << c.name << " / " << c.exec;
        EXPECT_EQ(match.path, home.systemDataDir() + QStringLiteral("/applications/") +
                                  QString::fromUtf8(c.desktopId) + QStringLiteral(".desktop"))
            << c.name;
    }

    for (const auto& [name, exec] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Unknown Tool", "'unknown-tool %u'"},
             {"", ""},
             {"populate-recent", "populate-recent --info %u"},
             {"Document", "'flatpak run org.example.NotInstalled %u'"}}) {
        EXPECT_FALSE(find(QString::fromUtf8(name), QString::fromUtf8(exec)).isValid()) << name;
    }
}

TEST_F(DesktopApplicationIndexTest, readsNamesInTheUsersLanguage)
{
    installRealApplications();
    const ScopedVariable all("LC_ALL", QByteArray());
    const ScopedVariable messages("LC_MESSAGES", QByteArray());
    {
        const ScopedVariable language("LANG", "de_DE.UTF-8");
        EXPECT_EQ(idOf(QStringLiteral("Bildbetrachter"), QStringLiteral("'bild %u'")),
                  QStringLiteral("org.gnome.eog"));
        EXPECT_TRUE(idOf(QStringLiteral("Visualizzatore immagini"), QString()).isEmpty());
    }
    const ScopedVariable language("LANG", "it_IT.UTF-8");
    EXPECT_EQ(idOf(QStringLiteral("Visualizzatore immagini"), QString()),
              QStringLiteral("org.gnome.eog"));
}

TEST_F(DesktopApplicationIndexTest, onlyInstalledApplicationsCount)
{
    // The user's entry hides the system one; a hidden entry stands for nothing.
    install(QStringLiteral("org.gnome.eog.desktop"),
            QStringLiteral("Name=Image Viewer\nExec=eog %U\n"));
    install(QStringLiteral("org.gnome.eog.desktop"),
            QStringLiteral("Name=Image Viewer\nHidden=true\n"), true);
    install(QStringLiteral("org.gnome.Evince.desktop"),
            QStringLiteral("Name=Document Viewer\nExec=evince %U\n"));
    install(QStringLiteral("org.gnome.Evince.desktop"),
            QStringLiteral("Name=My Viewer\nExec=evince --mine %U\n"), true);
    install(QStringLiteral("background-helper.desktop"),
            QStringLiteral("Name=Helper\nExec=helper\nNoDisplay=true\n"));
    home.writeFile(home.systemDataDir() + QStringLiteral("/applications/website.desktop"),
                   "[Desktop Entry]\nType=Link\nName=Website\nURL=https://example.org\n");
    home.writeFile(home.systemDataDir() + QStringLiteral("/applications/broken.desktop"),
                   "not a desktop entry");
    install(QStringLiteral("kde4/konsole.desktop"), QStringLiteral("Name=Konsole\nExec=konsole\n"));

    EXPECT_FALSE(find(QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'")).isValid());
    EXPECT_FALSE(find(QStringLiteral("org.gnome.eog"), QStringLiteral("eog %u")).isValid());
    const DesktopApplicationIndex::Match viewer =
        find(QStringLiteral("Document Viewer"), QStringLiteral("'evince %u'"));
    EXPECT_EQ(viewer.path,
              home.dataHome() + QStringLiteral("/applications/org.gnome.Evince.desktop"));
    EXPECT_EQ(idOf(QStringLiteral("Helper"), QString()), QStringLiteral("background-helper"));
    EXPECT_FALSE(find(QStringLiteral("Website"), QString()).isValid());
    EXPECT_FALSE(find(QStringLiteral("broken"), QString()).isValid());
    EXPECT_EQ(idOf(QStringLiteral("Konsole"), QStringLiteral("konsole")),
              QStringLiteral("kde4-konsole"));
    EXPECT_EQ(index.findById(QStringLiteral("kde4-konsole")).desktopId,
              QStringLiteral("kde4-konsole"));
    EXPECT_FALSE(index.findById(QStringLiteral("org.gnome.eog")).isValid());
    EXPECT_EQ(index.entryCount(), 3);
}

TEST_F(DesktopApplicationIndexTest, applicationsSharingANameAreToldApartByTheirProgram)
{
    // GNOME's two text editors are both "Text Editor"; a user's own launcher for gedit's
    // development build and a flatpak are too.
    install(QStringLiteral("org.gnome.TextEditor.desktop"),
            QStringLiteral("Name=Text Editor\nExec=gnome-text-editor %U\n"));
    install(QStringLiteral("org.gnome.gedit.desktop"),
            QStringLiteral("Name=Text Editor\nExec=/usr/libexec/gedit-launcher %U\n"));
    install(QStringLiteral("org.example.Notes.desktop"),
            QStringLiteral("Name=Text Editor\nExec=flatpak run org.example.Notes %U\n"));
    install(QStringLiteral("a-editor.desktop"), QStringLiteral("Name=Editor\nExec=kate --new %U\n"),
            true);
    install(QStringLiteral("b-editor.desktop"), QStringLiteral("Name=Editor\nExec=kate %U\n"),
            true);
    install(QStringLiteral("c-editor.desktop"), QStringLiteral("Name=Editor\nExec=mousepad\n"),
            true);

    struct Case
    {
        const char* name;
        const char* exec;
        const char* desktopId;
    };
    const Case cases[] = {
        {"Text Editor", "'gnome-text-editor %u'", "org.gnome.TextEditor"},
        // Not the program of its entry, but the last part of its id.
        {"Text Editor", "'gedit %u'", "org.gnome.gedit"},
        {"Text Editor", "'flatpak run org.example.Notes %u'", "org.example.Notes"},
        {"text editor", "'gedit-launcher %u'", "org.gnome.gedit"},
        // One program, entries with different arguments.
        {"Editor", "'kate %u'", "b-editor"},
        {"Editor", "'kate --new %u'", "a-editor"},
        {"Editor", "'mousepad %u'", "c-editor"},
        // Nothing decides: the first, the user's entries first, then by desktop id.
        {"Editor", "'unknown %u'", "a-editor"},
        {"Text Editor", "", "org.example.Notes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(idOf(QString::fromUtf8(c.name), QString::fromUtf8(c.exec)),
                  QString::fromUtf8(c.desktopId))
            << c.name << " / " << c.exec;
}

TEST_F(DesktopApplicationIndexTest, seesApplicationsInstalledAndRemovedLater)
{
    const QString system = home.systemDataDir() + QStringLiteral("/applications");
    const QString user = home.dataHome() + QStringLiteral("/applications");
    const QDateTime longAgo = QDateTime::currentDateTime().addDays(-3);
    const QString gthumb = install(QStringLiteral("org.gnome.gThumb.desktop"),
                                   QStringLiteral("Name=gThumb\nExec=gthumb %U\n"));
    TestHome::setModificationTime(system, longAgo);
    TestHome::setModificationTime(user, longAgo);
    EXPECT_TRUE(find(QStringLiteral("gThumb"), QString()).isValid());
    EXPECT_FALSE(find(QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'")).isValid());

    // Installing changes the folder: the index is built again, and earlier answers forgotten.
    install(QStringLiteral("org.gnome.eog.desktop"),
            QStringLiteral("Name=Image Viewer\nExec=eog %U\n"), true);
    EXPECT_EQ(idOf(QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'")),
              QStringLiteral("org.gnome.eog"));

    TestHome::setModificationTime(user, longAgo);
    ASSERT_TRUE(QFile::remove(gthumb));
    EXPECT_FALSE(find(QStringLiteral("gThumb"), QString()).isValid());

    // An applications folder that appears later.
    ASSERT_TRUE(QDir(user).removeRecursively());
    EXPECT_FALSE(find(QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'")).isValid());
    install(QStringLiteral("org.gnome.eog.desktop"),
            QStringLiteral("Name=Image Viewer\nExec=eog %U\n"), true);
    EXPECT_TRUE(find(QStringLiteral("Image Viewer"), QStringLiteral("'eog %u'")).isValid());
}

// A rebuild lists the entries, then looks up its applications in them: an entry is read (or
// checked) once in a pass. A change is seen by the next pass, and at once outside of one.
TEST_F(DesktopApplicationIndexTest, readsAnEntryOncePerPass)
{
    const QString path =
        install(QStringLiteral("org.gnome.gThumb.desktop"), QStringLiteral("Name=gThumb\n"));
    const auto nameNow = [&path] {
        const std::shared_ptr<const DesktopEntry> entry = DesktopEntry::load(path);
        return entry ? entry->value(QStringLiteral("Name")) : QStringLiteral("(none)");
    };
    const auto rename = [this](const QString& name) {
        install(QStringLiteral("org.gnome.gThumb.desktop"), QStringLiteral("Name=%1\n").arg(name));
    };
    {
        const FileStatus::Batch pass;
        EXPECT_EQ(nameNow(), QStringLiteral("gThumb"));
        rename(QStringLiteral("Image Organizer"));
        EXPECT_EQ(nameNow(), QStringLiteral("gThumb"));
    }
    {
        const FileStatus::Batch nextPass;
        EXPECT_EQ(nameNow(), QStringLiteral("Image Organizer"));
        ASSERT_TRUE(QFile::remove(path));
        EXPECT_EQ(nameNow(), QStringLiteral("Image Organizer"));
    }
    EXPECT_EQ(nameNow(), QStringLiteral("(none)"));
    rename(QStringLiteral("gThumb Image Viewer"));
    EXPECT_EQ(nameNow(), QStringLiteral("gThumb Image Viewer"));
}

TEST(DesktopApplicationCommands, takesExecLinesApart)
{
    EXPECT_EQ(DesktopApplicationIndex::splitCommandLine(u"'eog %u'"), QStringList{"eog %u"});
    EXPECT_EQ(DesktopApplicationIndex::splitCommandLine(u"a 'b c' \"d \\\" e\" f\\ g  'it'\\''s'"),
              (QStringList{"a", "b c", "d \" e", "f g", "it's"}));
    EXPECT_EQ(DesktopApplicationIndex::splitCommandLine(u"''"), QStringList{QString()});
    EXPECT_TRUE(DesktopApplicationIndex::splitCommandLine(u"   ").isEmpty());
    EXPECT_EQ(DesktopApplicationIndex::splitCommandLine(u"'unterminated"),
              QStringList{"unterminated"});

    struct Case
    {
        const char16_t* exec;
        const char* program;
        QStringList arguments;
        const char* flatpakId;
    };
    const Case cases[] = {
        {u"'eog %u'", "eog", {}, ""},
        {u"okular %U %u", "okular", {}, ""},
        {u"'/usr/lib/firefox-esr/firefox-esr %u'", "firefox-esr", {}, ""},
        {u"'libreoffice --writer %U'", "libreoffice", {"--writer"}, ""},
        // g_shell_quote of a line whose program is itself quoted.
        {u"''\\''/opt/My App/run'\\'' %f'", "run", {}, ""},
        {u"\"/opt/My App/run\" --flag %f", "run", {"--flag"}, ""},
        {u"env GDK_BACKEND=x11 -u FOO BAR=1 /opt/sketch/bin/sketchpad %F", "sketchpad", {}, ""},
        {u"/usr/bin/env -i env A=b prog", "prog", {}, ""},
        {u"/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=evince --file-forwarding "
         u"org.gnome.Evince @@ %U @@",
         "evince",
         {},
         "org.gnome.Evince"},
        {u"'flatpak run org.gnome.Evince//beta %u'", "", {}, "org.gnome.Evince"},
        // Interpreters and shells: the script or the command they run.
        {u"/usr/bin/python3 /usr/share/meld/meld --newtab %F", "meld", {"--newtab"}, ""},
        {u"python3.11 -O /opt/tool/tool.py", "tool.py", {}, ""},
        {u"java -jar /opt/app/app.jar %u", "app.jar", {}, ""},
        {u"wine /home/u/.wine/drive_c/App/app.exe", "app.exe", {}, ""},
        {u"sh -c \"exec /opt/steam/steam -silent %U\"", "steam", {"-silent"}, ""},
        {u"'java'", "java", {}, ""},
        {u"", "", {}, ""},
        {u"env", "", {}, ""},
    };
    for (const Case& c : cases) {
        const DesktopApplicationIndex::Command command =
            DesktopApplicationIndex::commandOf(QString::fromUtf16(c.exec));
        const std::string label = QString::fromUtf16(c.exec).toStdString();
        EXPECT_EQ(command.program, QString::fromUtf8(c.program)) << label;
        EXPECT_EQ(command.arguments, c.arguments) << label;
        EXPECT_EQ(command.flatpakId, QString::fromUtf8(c.flatpakId)) << label;
    }
}
} // namespace
