#include "KeyedArchive.h"

#include "BinaryPropertyListReader.h"
#include "PropertyList.h"

#include <QDateTime>
#include <QHash>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <vector>

namespace {
// Every nested object costs a stack frame; real archives are a few levels deep.
constexpr std::size_t maximumArchiveDepth = 256;

bool isA(const QVariant& value, QMetaType type)
{
    return value.metaType() == type;
}

class Decoder
{
public:
    // Deep decoding follows every reference, once per object. Shallow decoding decodes one object
    // and leaves the members of its collections as references for the caller to resolve.
    enum class Mode
    {
        Deep,
        Shallow
    };

    // Decoded objects are remembered in decoded, so that an object shared by many others is
    // decoded once; the shallow resolves of one archive share theirs.
    Decoder(const KeyedArchive::Objects& objects, Mode mode, QHash<quint64, QVariant>& decoded)
        : m_objects(objects)
        , m_mode(mode)
        , m_decoded(decoded)
    {}

    QVariant decodeValue(const QVariant& value)
    {
        if (const std::optional<quint64> uid = PropertyList::uidValue(value))
            return decodeObject(*uid);
        return value;
    }

    const QString& error() const { return m_error; }

private:
    QVariant fail(const QString& reason)
    {
        if (m_error.isEmpty())
            m_error = reason;
        return {};
    }

    bool failed() const { return !m_error.isEmpty(); }

    // Both modes follow references (shallow decoding still decodes dictionary keys and the
    // contents of strings, data, dates, URLs and UUIDs), so both guard against cycles and
    // against nesting deep enough to exhaust the stack.
    QVariant decodeObject(quint64 uid)
    {
        if (failed())
            return {};
        if (uid >= static_cast<quint64>(m_objects.count()))
            return fail(QStringLiteral("The archive refers to object %1, but it holds only %2.")
                            .arg(uid)
                            .arg(m_objects.count()));
        if (const auto known = m_decoded.constFind(uid); known != m_decoded.constEnd())
            return *known;
        if (std::find(m_open.cbegin(), m_open.cend(), uid) != m_open.cend())
            return fail(QStringLiteral("The archive's object %1 refers back to itself.").arg(uid));
        if (m_open.size() >= maximumArchiveDepth)
            return fail(QStringLiteral("The archive is nested too deeply."));

        m_open.push_back(uid);
        QVariant result = decodeStoredOnce(uid);
        m_open.pop_back();
        if (!failed())
            m_decoded.insert(uid, result);
        return result;
    }

    QVariant decodeStoredOnce(quint64 uid)
    {
        QString error;
        const QVariant stored = m_objects.at(uid, &error);
        return error.isEmpty() ? decodeStored(stored) : fail(error);
    }

    QVariant decodeStored(const QVariant& stored)
    {
        if (isA(stored, QMetaType::fromType<QString>()) && stored.toString() == u"$null")
            return {};
        if (!isA(stored, QMetaType::fromType<QVariantMap>()))
            return stored;
        const QVariantMap fields = stored.toMap();
        const QVariant classRef = fields.value(QStringLiteral("$class"));
        const std::optional<quint64> classUid = PropertyList::uidValue(classRef);
        if (!classUid)
            return fail(QStringLiteral("An archived object has no class."));
        const std::optional<KeyedArchive::ArchivedClass> archivedClass =
            m_objects.archivedClass(*classUid);
        if (!archivedClass)
            return fail(QStringLiteral("The archive refers to a class it does not hold."));
        return decodeInstance(*archivedClass, fields);
    }

    QVariant decodeInstance(const KeyedArchive::ArchivedClass& archivedClass,
                            const QVariantMap& fields)
    {
        using Kind = KeyedArchive::ArchivedClass::Kind;
        switch (archivedClass.kind) {
        case Kind::Dictionary:
            return decodeDictionary(fields);
        case Kind::Collection:
            return decodeList(fields.value(QStringLiteral("NS.objects")));
        case Kind::Data:
            return decodeData(fields);
        case Kind::String:
            return decodeString(fields);
        case Kind::Date:
            return decodeDate(fields);
        case Kind::Null:
            return {};
        case Kind::Url:
            return decodeUrl(fields);
        case Kind::Uuid:
            return decodeUuid(fields);
        case Kind::Other:
            break;
        }
        ArchivedObject object{archivedClass.name, {}};
        for (auto field = fields.cbegin(); field != fields.cend() && !failed(); ++field)
            if (field.key() != u"$class")
                object.fields.insert(field.key(), m_mode == Mode::Shallow
                                                      ? field.value()
                                                      : decodeValue(field.value()));
        return QVariant::fromValue(object);
    }

    QVariantList decodeListOrFail(const QVariant& stored)
    {
        if (!isA(stored, QMetaType::fromType<QVariantList>())) {
            fail(QStringLiteral("An archived collection has no list of objects."));
            return {};
        }
        const QVariantList references = stored.toList();
        if (m_mode == Mode::Shallow)
            return references;
        QVariantList decoded;
        decoded.reserve(references.size());
        for (const QVariant& reference : references) {
            decoded.append(decodeValue(reference));
            if (failed())
                return {};
        }
        return decoded;
    }

    QVariant decodeList(const QVariant& stored) { return decodeListOrFail(stored); }

    // Keys are always decoded: a dictionary is of no use without them.
    QVariantList decodeKeys(const QVariant& stored)
    {
        QVariantList keys = decodeListOrFail(stored);
        if (m_mode == Mode::Shallow)
            for (QVariant& key : keys)
                key = decodeValue(key);
        return keys;
    }

    QVariant decodeDictionary(const QVariantMap& fields)
    {
        const QVariantList keys = decodeKeys(fields.value(QStringLiteral("NS.keys")));
        const QVariantList values = decodeListOrFail(fields.value(QStringLiteral("NS.objects")));
        if (failed())
            return {};
        if (keys.size() != values.size())
            return fail(QStringLiteral("An archived dictionary has %1 keys for %2 values.")
                            .arg(keys.size())
                            .arg(values.size()));
        QVariantMap map;
        for (qsizetype i = 0; i < keys.size(); ++i)
            map.insert(keys.at(i).toString(), values.at(i));
        return map;
    }

    QVariant decodeData(const QVariantMap& fields)
    {
        const QVariant data = decodeValue(fields.value(QStringLiteral("NS.data")));
        if (!isA(data, QMetaType::fromType<QByteArray>()))
            return fail(QStringLiteral("An archived data object holds no bytes."));
        return data;
    }

    QVariant decodeString(const QVariantMap& fields)
    {
        const QVariant text = decodeValue(fields.value(QStringLiteral("NS.string")));
        if (isA(text, QMetaType::fromType<QString>()))
            return text;
        const QVariant bytes = decodeValue(fields.value(QStringLiteral("NS.bytes")));
        if (isA(bytes, QMetaType::fromType<QByteArray>()))
            return QString::fromUtf8(bytes.toByteArray());
        return fail(QStringLiteral("An archived string holds no text."));
    }

    QVariant decodeDate(const QVariantMap& fields)
    {
        bool isNumber = false;
        const double seconds =
            decodeValue(fields.value(QStringLiteral("NS.time"))).toDouble(&isNumber);
        if (!isNumber)
            return fail(QStringLiteral("An archived date holds no time."));
        const std::optional<QDateTime> date = PropertyList::dateFromReferenceSeconds(seconds);
        return date ? QVariant(*date) : fail(QStringLiteral("An archived date is out of range."));
    }

    QVariant decodeUrl(const QVariantMap& fields)
    {
        const QVariant base = decodeValue(fields.value(QStringLiteral("NS.base")));
        const QVariant relative = decodeValue(fields.value(QStringLiteral("NS.relative")));
        if (failed() || !isA(relative, QMetaType::fromType<QString>()))
            return fail(QStringLiteral("An archived URL holds no text."));
        const QUrl url(relative.toString());
        if (isA(base, QMetaType::fromType<QUrl>()))
            return base.toUrl().resolved(url);
        return url;
    }

    QVariant decodeUuid(const QVariantMap& fields)
    {
        const QByteArray bytes =
            decodeValue(fields.value(QStringLiteral("NS.uuidbytes"))).toByteArray();
        if (bytes.size() != 16)
            return fail(QStringLiteral("An archived UUID does not hold 16 bytes."));
        return QUuid::fromRfc4122(bytes);
    }

    const KeyedArchive::Objects& m_objects;
    Mode m_mode;
    QHash<quint64, QVariant>& m_decoded;
    // The objects being decoded, outermost first.
    std::vector<quint64> m_open;
    QString m_error;
};
} // namespace

KeyedArchive::ArchivedClass::Kind KeyedArchive::kindOfClassNamed(QAnyStringView className)
{
    using Kind = ArchivedClass::Kind;
    static constexpr std::pair<QLatin1StringView, Kind> kinds[]{
        {QLatin1StringView("NSDictionary"), Kind::Dictionary},
        {QLatin1StringView("NSMutableDictionary"), Kind::Dictionary},
        {QLatin1StringView("NSArray"), Kind::Collection},
        {QLatin1StringView("NSMutableArray"), Kind::Collection},
        {QLatin1StringView("NSSet"), Kind::Collection},
        {QLatin1StringView("NSMutableSet"), Kind::Collection},
        {QLatin1StringView("NSOrderedSet"), Kind::Collection},
        {QLatin1StringView("NSMutableOrderedSet"), Kind::Collection},
        {QLatin1StringView("NSData"), Kind::Data},
        {QLatin1StringView("NSMutableData"), Kind::Data},
        {QLatin1StringView("NSString"), Kind::String},
        {QLatin1StringView("NSMutableString"), Kind::String},
        {QLatin1StringView("NSDate"), Kind::Date},
        {QLatin1StringView("NSNull"), Kind::Null},
        {QLatin1StringView("NSURL"), Kind::Url},
        {QLatin1StringView("NSUUID"), Kind::Uuid},
    };
    for (const auto& [name, kind] : kinds)
        if (QAnyStringView::equal(className, name))
            return kind;
    return Kind::Other;
}

std::optional<KeyedArchive::ArchivedClass> KeyedArchive::Objects::archivedClass(quint64 uid) const
{
    if (const auto known = m_classes.constFind(uid); known != m_classes.constEnd())
        return *known;
    QString error;
    const QVariantMap definition =
        uid < static_cast<quint64>(count()) ? at(uid, &error).toMap() : QVariantMap();
    const QVariant name = definition.value(QStringLiteral("$classname"));
    if (!error.isEmpty() || !isA(name, QMetaType::fromType<QString>()))
        return std::nullopt;
    ArchivedClass archivedClass{ArchivedClass::Kind::Other, name.toString()};
    QVariantList chain{name};
    chain += definition.value(QStringLiteral("$classes")).toList();
    for (const QVariant& className : chain) {
        archivedClass.kind = kindOfClassNamed(className.toString());
        if (archivedClass.kind != ArchivedClass::Kind::Other)
            break;
    }
    m_classes.insert(uid, archivedClass);
    return archivedClass;
}

qsizetype KeyedArchive::Objects::count() const
{
    return m_reader ? m_indices.size() : m_list.size();
}

QVariant KeyedArchive::Objects::at(quint64 uid, QString* error) const
{
    const qsizetype index = static_cast<qsizetype>(uid);
    return m_reader ? m_reader->readObject(m_indices.at(index), error) : m_list.at(index);
}

std::optional<KeyedArchive> KeyedArchive::open(QByteArrayView bytes, QString* error)
{
    KeyedArchive archive;
    if (BinaryPropertyListReader::looksLikeBinary(bytes)) {
        if (!archive.openBinary(bytes, error))
            return std::nullopt;
        return archive;
    }
    const std::optional<QVariant> plist = PropertyList::parse(bytes, error);
    if (!plist)
        return std::nullopt;
    const QVariantMap root = plist->toMap();
    const QVariant objects = root.value(QStringLiteral("$objects"));
    const QVariant top = root.value(QStringLiteral("$top"));
    if (!isA(objects, QMetaType::fromType<QVariantList>()) ||
        !isA(top, QMetaType::fromType<QVariantMap>())) {
        *error = notAnArchive();
        return std::nullopt;
    }
    archive.m_objects.m_list = objects.toList();
    archive.m_top = top.toMap();
    return archive;
}

// Binary archives are read lazily: only the objects a caller reaches are ever parsed.
bool KeyedArchive::openBinary(QByteArrayView bytes, QString* error)
{
    m_bytes = bytes.toByteArray();
    auto reader = std::make_shared<BinaryPropertyListReader>(m_bytes);
    if (!reader->open(error))
        return false;
    const auto members = reader->dictionaryMembers(reader->topObject(), error);
    if (!members)
        return false;
    std::optional<quint64> objects;
    std::optional<quint64> top;
    for (const auto& [key, index] : *members) {
        if (key == u"$objects")
            objects = index;
        else if (key == u"$top")
            top = index;
    }
    const std::optional<QList<quint64>> indices =
        objects ? reader->arrayMembers(*objects, error) : std::nullopt;
    const QVariant topValue = top ? reader->readObject(*top, error) : QVariant();
    if (!indices || !isA(topValue, QMetaType::fromType<QVariantMap>())) {
        *error = notAnArchive();
        return false;
    }
    m_objects.m_reader = std::move(reader);
    m_objects.m_indices = *indices;
    m_top = topValue.toMap();
    return true;
}

QString KeyedArchive::notAnArchive()
{
    return QStringLiteral("The data isn't in the keyed archive format.");
}

QVariant KeyedArchive::topLevelReference(const QString& key) const
{
    return m_top.value(key);
}

QVariant KeyedArchive::decodeTopLevelObject(const QString& name, QString* error) const
{
    QHash<quint64, QVariant> decoded;
    Decoder decoder(m_objects, Decoder::Mode::Deep, decoded);
    QVariant value = decoder.decodeValue(m_top.value(name));
    *error = decoder.error();
    return decoder.error().isEmpty() ? value : QVariant();
}

QVariant KeyedArchive::resolve(const QVariant& value, QString* error) const
{
    Decoder decoder(m_objects, Decoder::Mode::Shallow, m_objects.m_resolved);
    QVariant resolved = decoder.decodeValue(value);
    *error = decoder.error();
    return decoder.error().isEmpty() ? resolved : QVariant();
}
