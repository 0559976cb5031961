#include "DesktopEntry.h"

#include "FileContents.h"
#include "FileStatus.h"

#include <QFile>
#include <QMutex>
#include <QStringList>

namespace {
// Desktop entries are a few kilobytes; anything far larger is not one.
constexpr qint64 maximumEntrySize = 1024 * 1024;

QString unescape(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            out += c;
            out += next;
            break;
        }
    }
    return out;
}

} // namespace

QString DesktopEntry::messagesLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

namespace {
struct CachedEntry
{
    FileIdentity identity;
    std::shared_ptr<const DesktopEntry> entry;
    // The pass of the file status batch that last read or checked it.
    quint64 pass = 0;
};
} // namespace

DesktopEntry DesktopEntry::parse(QByteArrayView text)
{
    DesktopEntry result;
    bool inMainGroup = false;
    const QString content = QString::fromUtf8(text);
    for (QStringView line : QStringView(content).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]";
            result.m_hasMainGroup = result.m_hasMainGroup || inMainGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inMainGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toString();
        // The first occurrence of a key wins, as in GLib's key files.
        if (!result.m_values.contains(key))
            result.m_values.insert(key, unescape(line.mid(equals + 1).trimmed()));
    }
    return result;
}

std::shared_ptr<const DesktopEntry> DesktopEntry::load(const QString& path, bool* readableFile)
{
    // Rebuilds run on a worker thread while the window looks up names and icons.
    static QMutex mutex;
    static QHash<QString, CachedEntry> cache;
    const QMutexLocker locker(&mutex);
    // An entry read before is checked by one stat(), once in a pass (a rebuild lists the
    // entries, then looks up its applications' names and icons in them); a change of mode or
    // owner moves its change time, so an unchanged identity is still a readable file.
    const quint64 pass = FileStatus::pass();
    if (const auto cached = cache.find(path); cached != cache.end()) {
        if ((pass != 0 && cached->pass == pass) ||
            FileIdentity::of(QFile::encodeName(path)) == cached->identity) {
            cached->pass = pass;
            if (readableFile)
                *readableFile = true;
            return cached->entry;
        }
    }
    const FileContents contents = FileContents::read(path, maximumEntrySize);
    if (readableFile)
        *readableFile = contents.wasRead() || contents.outcome == FileContents::Outcome::TooLarge;
    if (!contents.wasRead()) {
        cache.remove(path);
        return nullptr;
    }
    const auto entry = std::make_shared<const DesktopEntry>(parse(contents.bytes));
    cache.insert(path, CachedEntry{contents.identity, entry, pass});
    return entry;
}

QString DesktopEntry::value(const QString& key) const
{
    return m_values.value(key);
}

QStringList DesktopEntry::localeKeySuffixes(const QString& locale)
{
    // lang_COUNTRY.ENCODING@MODIFIER, matched from the most to the least specific form.
    QString rest = locale;
    QString modifier;
    if (const qsizetype at = rest.indexOf(u'@'); at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    if (const qsizetype dot = rest.indexOf(u'.'); dot >= 0)
        rest.truncate(dot);
    QString country;
    if (const qsizetype underscore = rest.indexOf(u'_'); underscore >= 0) {
        country = rest.mid(underscore + 1);
        rest.truncate(underscore);
    }
    const QString& lang = rest;
    if (lang.isEmpty() || lang == u"C" || lang == u"POSIX")
        return {};

    QStringList suffixes;
    if (!country.isEmpty() && !modifier.isEmpty())
        suffixes << lang + u'_' + country + u'@' + modifier;
    if (!country.isEmpty())
        suffixes << lang + u'_' + country;
    if (!modifier.isEmpty())
        suffixes << lang + u'@' + modifier;
    suffixes << lang;
    return suffixes;
}

QString DesktopEntry::localizedValue(const QString& key) const
{
    for (const QString& suffix : localeKeySuffixes(messagesLocale())) {
        const auto found = m_values.constFind(key + u'[' + suffix + u']');
        if (found != m_values.constEnd() && !found->isEmpty())
            return *found;
    }
    return value(key);
}

bool DesktopEntry::isApplication() const
{
    return value(QStringLiteral("Type")) == u"Application";
}

bool DesktopEntry::isHidden() const
{
    return value(QStringLiteral("Hidden")).compare(u"true", Qt::CaseInsensitive) == 0;
}
