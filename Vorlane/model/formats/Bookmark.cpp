#include "Bookmark.h"

#include "FileStatus.h"
#include "FileUrl.h"

#include <QDir>
#include <QFileInfo>
#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
enum RecordType : quint32
{
    StringRecord = 0x0101,
    DataRecord = 0x0201,
    NumberRecordBase = 0x0300,
    ArrayRecord = 0x0601,
    UrlRecord = 0x0901,
};

enum Key : quint32
{
    TargetUrlKey = 0x1003,
    PathComponentsKey = 0x1004,
    VolumePathKey = 0x2002,
    HomeComponentCountKey = 0xc001,
    DisplayNameKey = 0xf017,
};

constexpr quint32 headerMagic = 0x6b6f6f62; // "book", little-endian
constexpr quint32 tableOfContentsMagic = 0xfffffffe;
constexpr quint32 stringKeyFlag = 0x80000000;
constexpr int minimumHeaderSize = 16;
constexpr int tableOfContentsHeaderSize = 20;
constexpr int tableOfContentsEntrySize = 12;
constexpr int recordHeaderSize = 8;
// Real bookmarks chain two or three tables; a long chain is damage or a loop.
constexpr int maximumTablesOfContents = 64;
} // namespace

namespace {
// No file's path holds a NUL; Qt would warn about each such path on standard error.
bool existsOnDisk(const QString& path)
{
    return !path.contains(QChar(0)) && FileStatus::exists(path);
}
} // namespace

// Reads records from the data area (everything after the header), where all offsets point.
class BookmarkParser
{
public:
    explicit BookmarkParser(QByteArrayView area)
        : m_area(area)
    {}

    bool parse(Bookmark& bookmark, QString* error);
    // What Bookmark::parse() and then resolve() would find, without decoding what resolving does
    // not use.
    std::optional<Bookmark::Resolution> resolve(const QString& homeDirectory);

private:
    struct Record
    {
        quint32 type = 0;
        QByteArrayView payload;
    };
    using Components = QVarLengthArray<QByteArrayView, 16>;

    static bool fail(QString* error, const char* reason)
    {
        if (error)
            *error = QString::fromUtf8(reason);
        return false;
    }

    std::optional<quint32> u32(qint64 offset) const
    {
        if (offset < 0 || offset + 4 > m_area.size())
            return std::nullopt;
        quint32 value = 0;
        std::memcpy(&value, m_area.data() + offset, 4);
        return qFromLittleEndian(value);
    }

    std::optional<Record> record(quint32 offset) const
    {
        const std::optional<quint32> length = u32(offset);
        const std::optional<quint32> type = u32(qint64(offset) + 4);
        if (!length || !type)
            return std::nullopt;
        const qint64 start = qint64(offset) + recordHeaderSize;
        if (start + *length > m_area.size())
            return std::nullopt;
        return Record{*type, m_area.sliced(start, *length)};
    }

    std::optional<QString> string(quint32 offset) const
    {
        const std::optional<Record> found = record(offset);
        if (!found || (found->type != StringRecord && found->type != UrlRecord))
            return std::nullopt;
        return QString::fromUtf8(found->payload);
    }

    std::optional<qint64> integer(quint32 offset) const
    {
        const std::optional<Record> found = record(offset);
        if (!found || (found->type & 0xff00) != NumberRecordBase)
            return std::nullopt;
        const QByteArrayView bytes = found->payload;
        switch (bytes.size()) {
        case 1:
            return qint8(bytes[0]);
        case 2:
            return qFromLittleEndian<qint16>(bytes.data());
        case 4:
            return qFromLittleEndian<qint32>(bytes.data());
        case 8:
            return qFromLittleEndian<qint64>(bytes.data());
        default:
            return std::nullopt;
        }
    }

    // The path components, an array of strings; none if the array or any element is not what
    // it should be. The components may all point at one record, so their size is checked before
    // any is decoded: a path no file system could hold (PATH_MAX bytes with its terminating
    // zero) is damage.
    std::optional<Components> componentBytes(quint32 offset, QString* error) const
    {
        const std::optional<Record> found = record(offset);
        if (!found || found->type != ArrayRecord || found->payload.size() % 4 != 0) {
            fail(error, "The bookmark's path is damaged.");
            return std::nullopt;
        }
        Components components;
        qint64 pathLength = 0;
        for (qsizetype at = 0; at < found->payload.size(); at += 4) {
            const quint32 elementOffset = qFromLittleEndian<quint32>(found->payload.data() + at);
            const std::optional<Record> element = record(elementOffset);
            if (!element || (element->type != StringRecord && element->type != UrlRecord)) {
                fail(error, "The bookmark's path is damaged.");
                return std::nullopt;
            }
            pathLength += 1 + element->payload.size(); // "/" and the component
            if (pathLength >= PATH_MAX) {
                fail(error, "The bookmark's path is longer than a path can be.");
                return std::nullopt;
            }
            components.append(element->payload);
        }
        return components;
    }

    std::optional<QStringList> pathComponents(quint32 offset, QString* error) const
    {
        const std::optional<Components> components = componentBytes(offset, error);
        if (!components)
            return std::nullopt;
        QStringList strings;
        strings.reserve(components->size());
        for (const QByteArrayView component : *components)
            strings << QString::fromUtf8(component);
        return strings;
    }

    // A table of contents: record offsets by key, a few dozen at most.
    using Table = QVarLengthArray<std::pair<quint32, quint32>, 32>;
    Table readTable(quint32 offset, quint32* next, QString* error);
    bool readFirstTable(Table* entries, quint32* offset, quint32* next, QString* error);

    static std::optional<quint32> find(const Table& table, quint32 key)
    {
        for (const auto& [entryKey, offset] : table)
            if (entryKey == key)
                return offset;
        return std::nullopt;
    }

    QByteArrayView m_area;
};

BookmarkParser::Table BookmarkParser::readTable(quint32 offset, quint32* next, QString* error)
{
    const std::optional<quint32> magic = u32(qint64(offset) + 4);
    const std::optional<quint32> nextOffset = u32(qint64(offset) + 12);
    const std::optional<quint32> count = u32(qint64(offset) + 16);
    if (!magic || *magic != tableOfContentsMagic || !nextOffset || !count) {
        fail(error, "The bookmark's table of contents is damaged.");
        return {};
    }
    // The table's own size field is not trustworthy (some writers get it wrong): bound the
    // entries by the data instead.
    const qint64 entriesStart = qint64(offset) + tableOfContentsHeaderSize;
    if (entriesStart + qint64(*count) * tableOfContentsEntrySize > m_area.size()) {
        fail(error, "The bookmark's table of contents runs past its end.");
        return {};
    }
    Table entries;
    for (quint32 i = 0; i < *count; ++i) {
        const qint64 entry = entriesStart + qint64(i) * tableOfContentsEntrySize;
        // A key met again is kept too: find() answers with its first entry all the same.
        const quint32 key = *u32(entry);
        if (!(key & stringKeyFlag))
            entries.append({key, *u32(entry + 4)});
    }
    *next = *nextOffset;
    return entries;
}

bool BookmarkParser::readFirstTable(Table* entries, quint32* offset, quint32* next, QString* error)
{
    const std::optional<quint32> firstTable = u32(0);
    if (!firstTable)
        return fail(error, "The bookmark has no table of contents.");
    QString tableError;
    *entries = readTable(*firstTable, next, &tableError);
    if (!tableError.isEmpty()) {
        if (error)
            *error = tableError;
        return false;
    }
    *offset = *firstTable;
    return true;
}

bool BookmarkParser::parse(Bookmark& bookmark, QString* error)
{
    quint32 firstTable = 0;
    quint32 next = 0;
    Table entries;
    if (!readFirstTable(&entries, &firstTable, &next, error))
        return false;
    QString tableError;
    bookmark.m_tableOfContentsCount = 1;
    QVarLengthArray<quint32, 4> seen{firstTable};
    while (next != 0 && !seen.contains(next) && seen.size() < maximumTablesOfContents) {
        seen.append(next);
        quint32 following = 0;
        readTable(next, &following, &tableError);
        if (!tableError.isEmpty())
            break;
        ++bookmark.m_tableOfContentsCount;
        next = following;
    }

    if (const std::optional<quint32> path = find(entries, PathComponentsKey)) {
        std::optional<QStringList> components = pathComponents(*path, error);
        if (!components)
            return false;
        bookmark.m_components = std::move(*components);
        bookmark.m_hasPath = true;
    }
    if (const std::optional<quint32> url = find(entries, TargetUrlKey))
        bookmark.m_targetUrl = string(*url).value_or(QString());
    if (const std::optional<quint32> volume = find(entries, VolumePathKey))
        bookmark.m_volumePath = string(*volume).value_or(QString());
    if (const std::optional<quint32> name = find(entries, DisplayNameKey))
        bookmark.m_displayName = string(*name).value_or(QString());
    if (const std::optional<quint32> home = find(entries, HomeComponentCountKey)) {
        const std::optional<qint64> count = integer(*home);
        if (count && *count >= 0 && *count <= bookmark.m_components.size())
            bookmark.m_homeComponentCount = static_cast<int>(*count);
    }
    return true;
}

namespace {
bool isAscii(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<uchar>(c) < 0x80; });
}

// start, then the components with "/" between them, each decoded as QString::fromUtf8() would.
// Paths in ASCII, nearly all of them, are widened in place.
QString joinedPath(QStringView start, const QByteArrayView* components, qsizetype count)
{
    const bool ascii = std::all_of(components, components + count, isAscii);
    qsizetype length = start.size();
    for (qsizetype i = 0; i < count; ++i)
        length += (i > 0 ? 1 : 0) + components[i].size();
    if (!ascii) {
        QString path = start.toString();
        for (qsizetype i = 0; i < count; ++i)
            path += (i > 0 ? QStringLiteral("/") : QString()) + QString::fromUtf8(components[i]);
        return path;
    }
    QString path(length, Qt::Uninitialized);
    QChar* out = std::copy(start.begin(), start.end(), path.data());
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            *out++ = u'/';
        for (const char c : components[i])
            *out++ = QLatin1Char(c);
    }
    return path;
}

bool isRelativeStep(QByteArrayView component)
{
    return component == QByteArrayView("..") || component == QByteArrayView(".");
}
} // namespace

std::optional<Bookmark::Resolution> BookmarkParser::resolve(const QString& homeDirectory)
{
    Table entries;
    quint32 firstTable = 0;
    quint32 next = 0;
    if (!readFirstTable(&entries, &firstTable, &next, nullptr))
        return std::nullopt;
    const std::optional<quint32> pathRecord = find(entries, PathComponentsKey);
    std::optional<Components> components =
        pathRecord ? componentBytes(*pathRecord, nullptr) : std::nullopt;
    if (!components)
        return std::nullopt;

    // As Bookmark::resolve(): the stored path, joined with its volume when relative.
    QString path = joinedPath(u"/", components->data(), components->size());
    if (std::any_of(components->cbegin(), components->cend(), isRelativeStep)) {
        const std::optional<quint32> volume = find(entries, VolumePathKey);
        const QString volumePath = volume ? string(*volume).value_or(QString()) : QString();
        path = QDir::cleanPath(volumePath + path);
    }
    if (existsOnDisk(path))
        return Bookmark::Resolution{FileUrl::fromLocalFile(path), false};

    // Then the same path below this home, when the bookmark says where its home ended.
    const std::optional<quint32> home = find(entries, HomeComponentCountKey);
    const std::optional<qint64> homeCount = home ? integer(*home) : std::nullopt;
    if (!homeCount || *homeCount <= 0 || *homeCount > components->size() || homeDirectory.isEmpty())
        return std::nullopt;
    const QByteArrayView* belowHome = components->data() + *homeCount;
    const qsizetype belowCount = components->size() - *homeCount;
    if (std::any_of(belowHome, belowHome + belowCount,
                    [](QByteArrayView c) { return c == QByteArrayView(".."); }))
        return std::nullopt;
    const QString moved = QDir::cleanPath(joinedPath(homeDirectory + u'/', belowHome, belowCount));
    if (belowCount > 0 && existsOnDisk(moved))
        return Bookmark::Resolution{FileUrl::fromLocalFile(moved), true};
    return std::nullopt;
}

namespace {
// The data area of a bookmark (everything after its header), once the header is found sound.
std::optional<QByteArrayView> dataArea(QByteArrayView data, QString* error)
{
    auto fail = [error](const char* reason) -> std::optional<QByteArrayView> {
        if (error)
            *error = QString::fromUtf8(reason);
        return std::nullopt;
    };
    if (data.size() < minimumHeaderSize)
        return fail("The data is too short to be a bookmark.");
    const quint32 magic = qFromLittleEndian<quint32>(data.data());
    const quint32 declaredSize = qFromLittleEndian<quint32>(data.data() + 4);
    const quint32 declaredHeaderSize = qFromLittleEndian<quint32>(data.data() + 12);
    if (magic != headerMagic)
        return fail("The data is not a bookmark.");
    if (declaredSize > static_cast<quint64>(data.size()))
        return fail("The bookmark is shorter than its header says.");
    if (declaredHeaderSize < minimumHeaderSize || declaredHeaderSize >= declaredSize)
        return fail("The bookmark's header is damaged.");
    return data.sliced(declaredHeaderSize, declaredSize - declaredHeaderSize);
}
} // namespace

std::optional<Bookmark> Bookmark::parse(QByteArrayView data, QString* error)
{
    const std::optional<QByteArrayView> area = dataArea(data, error);
    if (!area)
        return std::nullopt;
    Bookmark bookmark;
    BookmarkParser parser(*area);
    if (!parser.parse(bookmark, error))
        return std::nullopt;
    return bookmark;
}

QString Bookmark::targetPath() const
{
    return m_hasPath ? u'/' + m_components.join(u'/') : QString();
}

std::optional<Bookmark::Resolution> Bookmark::resolve(const QString& homeDirectory) const
{
    if (!m_hasPath)
        return std::nullopt;
    QString path = targetPath();
    // Paths stored relative to their volume ("..") only make sense joined with it.
    if (m_components.contains(QStringLiteral("..")) || m_components.contains(QStringLiteral(".")))
        path = QDir::cleanPath(m_volumePath + path);
    if (existsOnDisk(path))
        return Resolution{FileUrl::fromLocalFile(path), false};

    if (m_homeComponentCount && *m_homeComponentCount > 0 && !homeDirectory.isEmpty()) {
        const QStringList belowHome = m_components.mid(*m_homeComponentCount);
        // Never let the fallback climb out of the home folder.
        if (belowHome.contains(QStringLiteral("..")))
            return std::nullopt;
        const QString moved = QDir::cleanPath(homeDirectory + u'/' + belowHome.join(u'/'));
        if (!belowHome.isEmpty() && existsOnDisk(moved))
            return Resolution{FileUrl::fromLocalFile(moved), true};
    }
    return std::nullopt;
}

std::optional<Bookmark::Resolution> Bookmark::resolve(QByteArrayView data,
                                                      const QString& homeDirectory)
{
    const std::optional<QByteArrayView> area = dataArea(data, nullptr);
    return area ? BookmarkParser(*area).resolve(homeDirectory) : std::nullopt;
}
