#include "DesktopApplicationIndex.h"

#include "ApplicationFolders.h"
#include "DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <optional>
#include <sys/stat.h>
#include <time.h>

namespace {
// Application folders hold a few sub-folders at most (kde4/, screensavers/); desktop ids take
// their names ("kde4-konsole").
constexpr int maximumFolderDepth = 3;
// A folder changed within this long before it was scanned may change again without its time
// stamp moving (file systems keep coarse time stamps): it is scanned again next time.
constexpr qint64 racyWindowNanoseconds = 2'000'000'000;

QString folded(QStringView text)
{
    return text.trimmed().toString().toCaseFolded();
}

QString fileNameOf(QStringView path)
{
    return path.mid(path.lastIndexOf(u'/') + 1).toString();
}

bool isFieldCode(QStringView word)
{
    return word.size() == 2 && word[0] == u'%';
}

// The markers flatpak puts around forwarded files: @@u %U @@.
bool isFlatpakMarker(QStringView word)
{
    return word == u"@@" || word == u"@@u" || word == u"@@f";
}

bool isShell(const QString& program)
{
    return program == u"sh" || program == u"bash" || program == u"dash" || program == u"zsh";
}

bool isInterpreter(const QString& program)
{
    static const QStringList interpreters{
        QStringLiteral("python"), QStringLiteral("python2"), QStringLiteral("python3"),
        QStringLiteral("perl"),   QStringLiteral("ruby"),    QStringLiteral("node"),
        QStringLiteral("nodejs"), QStringLiteral("gjs"),     QStringLiteral("java"),
        QStringLiteral("mono"),   QStringLiteral("wine"),    QStringLiteral("electron"),
    };
    return interpreters.contains(program) ||
           (program.startsWith(u"python3.") && program.size() <= 11);
}

qint64 nowNanoseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct FolderStamp
{
    QString path;
    bool exists = false;
    qint64 modifiedNs = 0;
    quint64 inode = 0;

    friend bool operator==(const FolderStamp&, const FolderStamp&) = default;
};

FolderStamp stampOf(const QString& path)
{
    FolderStamp stamp;
    stamp.path = path;
    struct stat info
    {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
        stamp.exists = true;
        stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
        stamp.inode = info.st_ino;
    }
    return stamp;
}

struct IndexedEntry
{
    QString desktopId;
    QString path;
    QString foldedId;
    QString foldedTail;
    // The Exec program's arguments, folded, without field codes.
    QStringList arguments;
    // The programs the entry runs, folded: its Exec program, the app id of a flatpak launcher,
    // the program of TryExec.
    QStringList programs;
};
} // namespace

struct DesktopApplicationIndex::State
{
    QMutex mutex;
    bool built = false;
    QStringList folders;
    QString locale;
    QList<FolderStamp> stamps;
    qint64 scannedAtNs = 0;

    QList<IndexedEntry> entries;
    QHash<QString, qsizetype> byExactId;
    QHash<QString, qsizetype> byId;
    QHash<QString, qsizetype> byTail;
    // Every entry of a name, in index order: distinct applications may share one.
    QHash<QString, QList<qsizetype>> byName;
    QHash<QString, QList<qsizetype>> byProgram;
    QHash<QString, qsizetype> byWindowClass;
    QHash<QString, Match> found;

    bool isCurrent() const;
    void build();
    void scanFolder(const QString& folder, const QString& idPrefix, int depth,
                    QSet<QString>& takenIds);
    void addEntry(const QString& desktopId, const QString& path, const DesktopEntry& entry);
    Match matchOf(qsizetype index) const;
    Match lookUp(const QString& name, const QString& exec) const;
    std::optional<qsizetype> byProgramName(const QString& program,
                                           const QStringList& arguments) const;
    qsizetype amongNamesakes(const QList<qsizetype>& namesakes, const Command& command) const;
    std::optional<qsizetype> runningProgram(const QList<qsizetype>& candidates,
                                            const QString& program,
                                            const QStringList& arguments) const;
};

bool DesktopApplicationIndex::State::isCurrent() const
{
    if (!built || folders != applicationFolders() || locale != DesktopEntry::messagesLocale())
        return false;
    for (const FolderStamp& stamp : stamps) {
        if (stampOf(stamp.path) != stamp)
            return false;
        if (stamp.exists && stamp.modifiedNs + racyWindowNanoseconds >= scannedAtNs)
            return false;
    }
    return true;
}

void DesktopApplicationIndex::State::build()
{
    entries.clear();
    byExactId.clear();
    byId.clear();
    byTail.clear();
    byName.clear();
    byProgram.clear();
    byWindowClass.clear();
    found.clear();
    stamps.clear();

    scannedAtNs = nowNanoseconds();
    folders = applicationFolders();
    locale = DesktopEntry::messagesLocale();
    QSet<QString> takenIds;
    for (const QString& folder : folders)
        scanFolder(folder, {}, 0, takenIds);
    built = true;
}

void DesktopApplicationIndex::State::scanFolder(const QString& folder, const QString& idPrefix,
                                                int depth, QSet<QString>& takenIds)
{
    // The stamp is taken before the listing: a change during the listing moves it.
    stamps.append(stampOf(folder));
    if (!stamps.last().exists)
        return;
    const QDir dir(folder);
    // Listed by name alone (the folder's entries say which are files); whether one can be read
    // is found by reading it.
    const QStringList files = dir.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString desktopId = idPrefix + file.chopped(8);
        if (takenIds.contains(desktopId))
            continue;
        const QString path = dir.filePath(file);
        bool readable = false;
        const std::shared_ptr<const DesktopEntry> entry = DesktopEntry::load(path, &readable);
        if (!readable)
            continue;
        // The first readable entry with an id decides, even one that hides the application.
        takenIds.insert(desktopId);
        if (!entry || !entry->hasMainGroup() || entry->isHidden() || !entry->isApplication())
            continue;
        addEntry(desktopId, path, *entry);
    }
    if (depth + 1 >= maximumFolderDepth)
        return;
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QString& subfolder : subfolders)
        scanFolder(dir.filePath(subfolder), idPrefix + subfolder + u'-', depth + 1, takenIds);
}

void DesktopApplicationIndex::State::addEntry(const QString& desktopId, const QString& path,
                                              const DesktopEntry& entry)
{
    const qsizetype index = entries.size();
    IndexedEntry indexed;
    indexed.desktopId = desktopId;
    indexed.path = path;
    indexed.foldedId = folded(desktopId);
    if (const qsizetype dot = desktopId.lastIndexOf(u'.'); dot > 0 && dot + 1 < desktopId.size())
        indexed.foldedTail = folded(QStringView(desktopId).mid(dot + 1));

    const Command command = commandOf(entry.value(QStringLiteral("Exec")));
    for (const QString& argument : command.arguments)
        indexed.arguments << argument.toCaseFolded();

    byExactId.insert(desktopId, index);
    byId.insert(indexed.foldedId, index);
    if (!indexed.foldedTail.isEmpty() && !byTail.contains(indexed.foldedTail))
        byTail.insert(indexed.foldedTail, index);
    for (const QString& key : {QStringLiteral("Name"), QStringLiteral("X-GNOME-FullName")}) {
        for (const QString& value : {entry.value(key), entry.localizedValue(key)}) {
            const QString name = folded(value);
            if (name.isEmpty())
                continue;
            QList<qsizetype>& namesakes = byName[name];
            if (!namesakes.contains(index))
                namesakes.append(index);
        }
    }
    QStringList programs{command.program};
    // A flatpak launcher runs the app's own command; its program is that command.
    if (!command.flatpakId.isEmpty())
        programs << command.flatpakId;
    programs << fileNameOf(entry.value(QStringLiteral("TryExec")));
    for (const QString& program : programs) {
        const QString key = folded(program);
        if (key.isEmpty() || indexed.programs.contains(key))
            continue;
        indexed.programs << key;
        byProgram[key].append(index);
    }
    const QString windowClass = folded(entry.value(QStringLiteral("StartupWMClass")));
    if (!windowClass.isEmpty() && !byWindowClass.contains(windowClass))
        byWindowClass.insert(windowClass, index);
    entries.append(std::move(indexed));
}

DesktopApplicationIndex::Match DesktopApplicationIndex::State::matchOf(qsizetype index) const
{
    const IndexedEntry& entry = entries.at(index);
    return Match{entry.desktopId, entry.path};
}

std::optional<qsizetype>
DesktopApplicationIndex::State::byProgramName(const QString& program,
                                              const QStringList& arguments) const
{
    const auto candidates = byProgram.constFind(program);
    if (candidates == byProgram.constEnd() || candidates->isEmpty())
        return std::nullopt;
    return runningProgram(*candidates, program, arguments);
}

// Of entries that all run program, the one that takes the same arguments (libreoffice --writer,
// --calc, ...), else the one named after the program, else the first.
std::optional<qsizetype> DesktopApplicationIndex::State::runningProgram(
    const QList<qsizetype>& candidates, const QString& program, const QStringList& arguments) const
{
    if (candidates.isEmpty())
        return std::nullopt;
    for (const qsizetype index : candidates)
        if (entries.at(index).arguments == arguments)
            return index;
    for (const qsizetype index : candidates)
        if (entries.at(index).foldedId == program || entries.at(index).foldedTail == program)
            return index;
    return candidates.first();
}

// Applications that share a name (GNOME's Text Editor and gedit are both "Text Editor") are told
// apart by the program of the exec line: the entry that runs it, else the one whose desktop id
// names it, else the first (the user's entries first, then by desktop id).
qsizetype DesktopApplicationIndex::State::amongNamesakes(const QList<qsizetype>& namesakes,
                                                         const Command& command) const
{
    if (namesakes.size() == 1)
        return namesakes.first();
    QStringList programs{folded(command.program), folded(command.flatpakId)};
    programs.removeAll(QString());
    QStringList arguments;
    for (const QString& argument : command.arguments)
        arguments << argument.toCaseFolded();
    for (const QString& program : programs) {
        QList<qsizetype> running;
        for (const qsizetype index : namesakes)
            if (entries.at(index).programs.contains(program))
                running << index;
        if (const std::optional<qsizetype> index = runningProgram(running, program, arguments))
            return *index;
    }
    for (const QString& program : programs)
        for (const qsizetype index : namesakes)
            if (entries.at(index).foldedId == program || entries.at(index).foldedTail == program)
                return index;
    return namesakes.first();
}

DesktopApplicationIndex::Match DesktopApplicationIndex::State::lookUp(const QString& name,
                                                                      const QString& exec) const
{
    const QString foldedName = folded(name);
    QString key = foldedName;
    if (key.endsWith(u".desktop"))
        key.chop(8);
    if (!key.isEmpty()) {
        if (const auto it = byId.constFind(key); it != byId.constEnd())
            return matchOf(*it);
        if (const auto it = byTail.constFind(key); it != byTail.constEnd())
            return matchOf(*it);
    }
    const Command command = commandOf(exec);
    if (!foldedName.isEmpty())
        if (const auto it = byName.constFind(foldedName); it != byName.constEnd())
            return matchOf(amongNamesakes(*it, command));

    if (!command.flatpakId.isEmpty())
        if (const auto it = byId.constFind(folded(command.flatpakId)); it != byId.constEnd())
            return matchOf(*it);
    const QString program = folded(command.program);
    if (!program.isEmpty()) {
        QStringList arguments;
        for (const QString& argument : command.arguments)
            arguments << argument.toCaseFolded();
        if (const std::optional<qsizetype> index = byProgramName(program, arguments))
            return matchOf(*index);
        if (const auto it = byId.constFind(program); it != byId.constEnd())
            return matchOf(*it);
        if (const auto it = byTail.constFind(program); it != byTail.constEnd())
            return matchOf(*it);
    }
    for (const QString& candidate : {key, program}) {
        if (candidate.isEmpty())
            continue;
        if (const auto it = byWindowClass.constFind(candidate); it != byWindowClass.constEnd())
            return matchOf(*it);
    }
    return {};
}

DesktopApplicationIndex& DesktopApplicationIndex::shared()
{
    static DesktopApplicationIndex index;
    return index;
}

DesktopApplicationIndex::DesktopApplicationIndex()
    : m_state(std::make_unique<State>())
{}

DesktopApplicationIndex::~DesktopApplicationIndex() = default;

void DesktopApplicationIndex::refresh()
{
    const QMutexLocker locker(&m_state->mutex);
    if (!m_state->isCurrent())
        m_state->build();
}

DesktopApplicationIndex::Match DesktopApplicationIndex::find(const QString& name,
                                                             const QString& exec)
{
    const QMutexLocker locker(&m_state->mutex);
    if (!m_state->built)
        m_state->build();
    const QString key = name + QChar(u'\0') + exec;
    if (const auto it = m_state->found.constFind(key); it != m_state->found.constEnd())
        return *it;
    Match match = m_state->lookUp(name, exec);
    m_state->found.insert(key, match);
    return match;
}

DesktopApplicationIndex::Match DesktopApplicationIndex::findById(const QString& desktopId)
{
    const QMutexLocker locker(&m_state->mutex);
    if (!m_state->built)
        m_state->build();
    const auto it = m_state->byExactId.constFind(desktopId);
    if (it == m_state->byExactId.constEnd())
        return {};
    return m_state->matchOf(*it);
}

qsizetype DesktopApplicationIndex::entryCount()
{
    const QMutexLocker locker(&m_state->mutex);
    if (!m_state->built)
        m_state->build();
    return m_state->entries.size();
}

QStringList DesktopApplicationIndex::splitCommandLine(QStringView line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'\'') {
            inWord = true;
            const qsizetype end = line.indexOf(u'\'', i + 1);
            const qsizetype stop = end < 0 ? line.size() : end;
            word += line.mid(i + 1, stop - i - 1);
            i = stop;
        } else if (c == u'"') {
            inWord = true;
            for (++i; i < line.size() && line[i] != u'"'; ++i) {
                if (line[i] == u'\\' && i + 1 < line.size() &&
                    QStringView(u"\"\\$`\n").contains(line[i + 1]))
                    ++i;
                word += line[i];
            }
        } else if (c == u'\\') {
            inWord = true;
            if (i + 1 < line.size())
                word += line[++i];
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

DesktopApplicationIndex::Command DesktopApplicationIndex::commandOf(QStringView exec)
{
    QStringList words = splitCommandLine(exec);
    if (words.size() == 1 && words.first().contains(u' '))
        words = splitCommandLine(words.first());

    Command command;
    // env [-i] [-u NAME] [NAME=value ...] program ..., and a shell's exec.
    while (!words.isEmpty() && (fileNameOf(words.first()) == u"env" || words.first() == u"exec")) {
        words.removeFirst();
        while (!words.isEmpty() &&
               (words.first().startsWith(u'-') || words.first().contains(u'='))) {
            const QString option = words.takeFirst();
            if ((option == u"-u" || option == u"--unset" || option == u"-C" ||
                 option == u"--chdir") &&
                !words.isEmpty())
                words.removeFirst();
        }
    }
    if (words.isEmpty())
        return command;

    // flatpak run [options] <app id>[//branch] [arguments]
    if (fileNameOf(words.first()) == u"flatpak" && words.size() > 1 && words.at(1) == u"run") {
        QString runCommand;
        qsizetype i = 2;
        for (; i < words.size() && words.at(i).startsWith(u'-'); ++i)
            if (words.at(i).startsWith(u"--command="))
                runCommand = words.at(i).mid(10);
        if (i < words.size()) {
            command.flatpakId = words.at(i).section(u'/', 0, 0);
            ++i;
        }
        command.program = fileNameOf(runCommand);
        for (; i < words.size(); ++i)
            if (!isFieldCode(words.at(i)) && !isFlatpakMarker(words.at(i)))
                command.arguments << words.at(i);
        return command;
    }

    // sh -c "program ...": the command the shell runs.
    if (isShell(fileNameOf(words.first())) && words.size() > 2 && words.at(1) == u"-c")
        return commandOf(words.at(2));

    qsizetype first = 0;
    // An interpreter runs many applications: the script (or archive) it runs names this one.
    if (isInterpreter(fileNameOf(words.first()))) {
        qsizetype script = 1;
        while (script < words.size() && words.at(script).startsWith(u'-'))
            ++script;
        if (script < words.size() && !isFieldCode(words.at(script)))
            first = script;
    }
    command.program = fileNameOf(words.at(first));
    for (qsizetype i = first + 1; i < words.size(); ++i)
        if (!isFieldCode(words.at(i)))
            command.arguments << words.at(i);
    return command;
}
