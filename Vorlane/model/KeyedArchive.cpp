#include "KeyedArchive.h"

#include "PropertyList.h"

#include <QDateTime>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>

#include <vector>

namespace {
// Every nested object costs a stack frame; real archives are a few levels deep.
constexpr int maximumDepth = 256;

bool isA(const QVariant& value, QMetaType type)
{
    return value.metaType() == type;
}

class Decoder
{
public:
    explicit Decoder(const QVariantList& objects)
        : m_objects(objects)
        , m_decoded(static_cast<size_t>(objects.size()))
        , m_states(static_cast<size_t>(objects.size()), State::Undecoded)
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

    QVariant decodeObject(quint64 uid)
    {
        if (failed())
            return {};
        if (uid >= static_cast<quint64>(m_objects.size()))
            return fail(QStringLiteral("The archive refers to object %1, but it holds only %2.")
                            .arg(uid)
                            .arg(m_objects.size()));
        if (m_states[uid] == State::Decoded)
            return m_decoded[uid];
        if (m_states[uid] == State::Decoding)
            return fail(QStringLiteral("The archive's object %1 refers back to itself.").arg(uid));
        if (m_depth >= maximumDepth)
            return fail(QStringLiteral("The archive is nested too deeply."));

        m_states[uid] = State::Decoding;
        ++m_depth;
        QVariant result = decodeStored(m_objects.at(static_cast<qsizetype>(uid)));
        --m_depth;
        m_states[uid] = State::Decoded;
        m_decoded[uid] = result;
        return result;
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
        const QStringList classes = classChain(*classUid);
        if (failed())
            return {};
        return decodeInstance(classes, fields);
    }

    // The class name followed by its superclasses, as "$classes" lists them.
    QStringList classChain(quint64 uid)
    {
        if (uid >= static_cast<quint64>(m_objects.size())) {
            fail(QStringLiteral("The archive refers to a class it does not hold."));
            return {};
        }
        const QVariantMap definition = m_objects.at(static_cast<qsizetype>(uid)).toMap();
        const QVariant name = definition.value(QStringLiteral("$classname"));
        if (!isA(name, QMetaType::fromType<QString>())) {
            fail(QStringLiteral("An archived class has no name."));
            return {};
        }
        QStringList chain{name.toString()};
        for (const QVariant& superclass : definition.value(QStringLiteral("$classes")).toList())
            if (isA(superclass, QMetaType::fromType<QString>()) && superclass != name)
                chain << superclass.toString();
        return chain;
    }

    QVariant decodeInstance(const QStringList& classes, const QVariantMap& fields)
    {
        for (const QString& className : classes) {
            if (className == u"NSDictionary" || className == u"NSMutableDictionary")
                return decodeDictionary(fields);
            if (className == u"NSArray" || className == u"NSMutableArray" ||
                className == u"NSSet" || className == u"NSMutableSet" ||
                className == u"NSOrderedSet" || className == u"NSMutableOrderedSet")
                return decodeList(fields.value(QStringLiteral("NS.objects")));
            if (className == u"NSData" || className == u"NSMutableData")
                return decodeData(fields);
            if (className == u"NSString" || className == u"NSMutableString")
                return decodeString(fields);
            if (className == u"NSDate")
                return decodeDate(fields);
            if (className == u"NSNull")
                return {};
            if (className == u"NSURL")
                return decodeUrl(fields);
            if (className == u"NSUUID")
                return decodeUuid(fields);
        }
        ArchivedObject object{classes.first(), {}};
        for (auto field = fields.cbegin(); field != fields.cend() && !failed(); ++field)
            if (field.key() != u"$class")
                object.fields.insert(field.key(), decodeValue(field.value()));
        return QVariant::fromValue(object);
    }

    QVariantList decodeListOrFail(const QVariant& stored)
    {
        if (!isA(stored, QMetaType::fromType<QVariantList>())) {
            fail(QStringLiteral("An archived collection has no list of objects."));
            return {};
        }
        QVariantList decoded;
        const QVariantList references = stored.toList();
        decoded.reserve(references.size());
        for (const QVariant& reference : references) {
            decoded.append(decodeValue(reference));
            if (failed())
                return {};
        }
        return decoded;
    }

    QVariant decodeList(const QVariant& stored) { return decodeListOrFail(stored); }

    QVariant decodeDictionary(const QVariantMap& fields)
    {
        const QVariantList keys = decodeListOrFail(fields.value(QStringLiteral("NS.keys")));
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

    const QVariantList& m_objects;
    enum class State : quint8
    {
        Undecoded,
        Decoding,
        Decoded
    };
    std::vector<QVariant> m_decoded;
    std::vector<State> m_states;
    int m_depth = 0;
    QString m_error;
};
} // namespace

KeyedArchive::KeyedArchive(QVariantList objects, QVariantMap top)
    : m_objects(std::move(objects))
    , m_top(std::move(top))
{}

std::optional<KeyedArchive> KeyedArchive::open(QByteArrayView bytes, QString* error)
{
    QString parseError;
    const std::optional<QVariant> plist = PropertyList::parse(bytes, &parseError);
    if (!plist) {
        *error = parseError;
        return std::nullopt;
    }
    const QVariantMap archive = plist->toMap();
    const QVariant objects = archive.value(QStringLiteral("$objects"));
    const QVariant top = archive.value(QStringLiteral("$top"));
    if (!isA(objects, QMetaType::fromType<QVariantList>()) ||
        !isA(top, QMetaType::fromType<QVariantMap>())) {
        *error = QStringLiteral("The data isn't in the keyed archive format.");
        return std::nullopt;
    }
    return KeyedArchive(objects.toList(), top.toMap());
}

QVariant KeyedArchive::decodeTopLevelObject(const QString& name, QString* error) const
{
    Decoder decoder(m_objects);
    QVariant value = decoder.decodeValue(m_top.value(name));
    *error = decoder.error();
    return decoder.error().isEmpty() ? value : QVariant();
}
