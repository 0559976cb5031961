#include "KeyedArchiveView.h"

#include <cstring>

using Kind = KeyedArchive::ArchivedClass::Kind;
using Type = BinaryPropertyListView::Type;

namespace {
bool isCollection(const BinaryPropertyListView::Object& object)
{
    return object.type == Type::Array || object.type == Type::Set;
}

KeyedArchiveView::Instance instance(KeyedArchiveView::Instance::What what,
                                    const BinaryPropertyListView::Object& object)
{
    KeyedArchiveView::Instance instance;
    instance.what = what;
    instance.object = object;
    return instance;
}

bool sameText(QLatin1StringView a, QLatin1StringView b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}
} // namespace

KeyedArchiveView::KeyedArchiveView(QByteArrayView bytes)
    : m_list(bytes)
{
    if (!m_list.open())
        return;
    const std::optional<Object> top = m_list.object(m_list.topObject());
    if (!top || top->type != Type::Dictionary)
        return;
    m_usable = true;
    std::optional<quint64> objects;
    std::optional<quint64> topLevel;
    for (quint64 i = 0; i < top->length && m_usable; ++i) {
        const std::optional<QLatin1StringView> key = asciiKey(m_list.member(*top, i));
        if (key && sameText(*key, QLatin1StringView("$objects")))
            objects = m_list.member(*top, top->length + i);
        else if (key && sameText(*key, QLatin1StringView("$top")))
            topLevel = m_list.member(*top, top->length + i);
    }
    // "$objects" is taken member by member; "$top" is read whole, as KeyedArchive does.
    const std::optional<Object> objectTable = objects ? m_list.object(*objects) : std::nullopt;
    const std::optional<Object> topTable = topLevel ? wellFormed(*topLevel) : std::nullopt;
    if (!objectTable || objectTable->type != Type::Array || !topTable ||
        topTable->type != Type::Dictionary)
        giveUp();
    else {
        m_objects = *objectTable;
        m_top = *topTable;
    }
}

std::optional<BinaryPropertyListView::Object> KeyedArchiveView::wellFormed(quint64 objectIndex)
{
    std::optional<Object> object = m_list.wellFormedObject(objectIndex);
    if (!object)
        giveUp();
    return object;
}

// A property list dictionary's key. Keys in UTF-16 could spell any name too: the view leaves
// them to KeyedArchive.
std::optional<QLatin1StringView> KeyedArchiveView::asciiKey(quint64 keyObject)
{
    const std::optional<Object> key = wellFormed(keyObject);
    if (!key || key->type != Type::AsciiString) {
        giveUp();
        return std::nullopt;
    }
    return m_list.ascii(*key);
}

// The value of a property list dictionary's field; the last one when the key repeats, as in a
// QVariantMap.
std::optional<quint64> KeyedArchiveView::fieldOf(const Object& fields, QLatin1StringView name)
{
    std::optional<quint64> value;
    for (quint64 i = 0; i < fields.length && m_usable; ++i) {
        const std::optional<QLatin1StringView> key = asciiKey(m_list.member(fields, i));
        if (key && sameText(*key, name))
            value = m_list.member(fields, fields.length + i);
    }
    return value;
}

std::optional<BinaryPropertyListView::Object>
KeyedArchiveView::collectionField(const std::optional<quint64>& field)
{
    const std::optional<Object> collection = field ? wellFormed(*field) : std::nullopt;
    if (!collection || !isCollection(*collection)) {
        giveUp();
        return std::nullopt;
    }
    return collection;
}

std::optional<quint64> KeyedArchiveView::topLevelUid(QLatin1StringView key)
{
    if (!m_usable)
        return std::nullopt;
    const std::optional<quint64> value = fieldOf(m_top, key);
    if (!value)
        return std::nullopt;
    const std::optional<Object> reference = wellFormed(*value);
    if (!reference || reference->type != Type::Uid) {
        giveUp();
        return std::nullopt;
    }
    return m_list.uid(*reference);
}

KeyedArchiveView::Instance KeyedArchiveView::resolve(quint64 uid)
{
    if (!m_usable || uid >= m_objects.length) {
        giveUp();
        return {};
    }
    const std::optional<Object> stored = wellFormed(m_list.member(m_objects, uid));
    if (!stored)
        return {};
    if (m_list.asciiEquals(*stored, QLatin1StringView("$null")))
        return instance(Instance::What::Null, *stored);
    if (stored->type == Type::Utf16String)
        giveUp(); // it could spell "$null"
    if (stored->type != Type::Dictionary)
        return instance(Instance::What::Plain, *stored);

    // One pass over the fields for the class and the contents.
    Instance archived = instance(Instance::What::Archived, *stored);
    std::optional<quint64> classField;
    for (quint64 i = 0; i < stored->length && m_usable; ++i) {
        const std::optional<QLatin1StringView> key = asciiKey(m_list.member(*stored, i));
        const quint64 value = m_list.member(*stored, stored->length + i);
        if (!key)
            break;
        if (sameText(*key, QLatin1StringView("$class")))
            classField = value;
        else if (sameText(*key, QLatin1StringView("NS.keys")))
            archived.keys = value;
        else if (sameText(*key, QLatin1StringView("NS.objects")))
            archived.objects = value;
        else if (sameText(*key, QLatin1StringView("NS.data")))
            archived.data = value;
    }
    const std::optional<Object> classReference =
        classField ? wellFormed(*classField) : std::nullopt;
    if (!classReference || classReference->type != Type::Uid) {
        giveUp();
        return {};
    }
    archived.kind = classKind(m_list.uid(*classReference));
    if (archived.kind == Kind::Null)
        archived.what = Instance::What::Null;
    return archived;
}

KeyedArchiveView::Instance KeyedArchiveView::resolveValue(quint64 objectIndex)
{
    const std::optional<Object> value = wellFormed(objectIndex);
    if (!value)
        return {};
    if (value->type == Type::Uid)
        return resolve(m_list.uid(*value));
    return instance(Instance::What::Plain, *value);
}

// What the class definition at classUid makes of its instances: its name or, failing that, the
// first of its superclasses with a plain equivalent.
Kind KeyedArchiveView::classKind(quint64 classUid)
{
    for (const auto& [uid, kind] : m_classes)
        if (uid == classUid)
            return kind;
    if (classUid >= m_objects.length) {
        giveUp();
        return Kind::Other;
    }
    const std::optional<Object> definition = wellFormed(m_list.member(m_objects, classUid));
    if (!definition || definition->type != Type::Dictionary) {
        giveUp();
        return Kind::Other;
    }
    const std::optional<quint64> nameField = fieldOf(*definition, QLatin1StringView("$classname"));
    const std::optional<Object> name = nameField ? wellFormed(*nameField) : std::nullopt;
    if (!name) {
        giveUp();
        return Kind::Other;
    }
    Kind kind = kindOfClassName(*name);
    const std::optional<quint64> chainField = fieldOf(*definition, QLatin1StringView("$classes"));
    if (kind == Kind::Other && chainField) {
        const std::optional<Object> chain = wellFormed(*chainField);
        if (!chain || !isCollection(*chain))
            giveUp();
        for (quint64 i = 0; m_usable && kind == Kind::Other && i < chain->length; ++i)
            if (const std::optional<Object> superclass = wellFormed(m_list.member(*chain, i)))
                kind = kindOfClassName(*superclass);
    }
    if (m_usable)
        m_classes.append({classUid, kind});
    return kind;
}

// Names in ASCII only: KeyedArchive would make text of names stored otherwise.
Kind KeyedArchiveView::kindOfClassName(const Object& name)
{
    if (name.type != Type::AsciiString) {
        giveUp();
        return Kind::Other;
    }
    return KeyedArchive::kindOfClassNamed(m_list.ascii(name));
}

std::optional<quint64> KeyedArchiveView::dictionaryValue(const Instance& dictionary,
                                                         QLatin1StringView key)
{
    const std::optional<Object> keys = collectionField(dictionary.keys);
    const std::optional<Object> values = keys ? collectionField(dictionary.objects) : std::nullopt;
    if (!values || keys->length != values->length) {
        giveUp();
        return std::nullopt;
    }
    std::optional<quint64> value;
    for (quint64 i = 0; i < keys->length && m_usable; ++i) {
        const std::optional<QLatin1StringView> text = archivedKey(m_list.member(*keys, i));
        if (text && sameText(*text, key))
            value = m_list.member(*values, i);
    }
    return value;
}

// An archived dictionary's key: a reference to its text ("$null" being the empty text).
std::optional<QLatin1StringView> KeyedArchiveView::archivedKey(quint64 keyObject)
{
    const std::optional<Object> reference = wellFormed(keyObject);
    if (!reference || reference->type != Type::Uid) {
        giveUp();
        return std::nullopt;
    }
    const Instance text = resolve(m_list.uid(*reference));
    if (text.what == Instance::What::Null)
        return QLatin1StringView();
    if (text.what != Instance::What::Plain || text.object.type != Type::AsciiString) {
        giveUp();
        return std::nullopt;
    }
    return m_list.ascii(text.object);
}

QVarLengthArray<quint64, 32> KeyedArchiveView::collectionMembers(const Instance& collection)
{
    QVarLengthArray<quint64, 32> members;
    const std::optional<Object> list = collectionField(collection.objects);
    for (quint64 i = 0; list && i < list->length; ++i)
        members.append(m_list.member(*list, i));
    return members;
}

QByteArrayView KeyedArchiveView::data(const Instance& data)
{
    if (data.what == Instance::What::Plain && data.object.type == Type::Data)
        return m_list.bytes(data.object);
    const std::optional<Object> bytes =
        data.what == Instance::What::Archived && data.kind == Kind::Data && data.data
            ? wellFormed(*data.data)
            : std::nullopt;
    if (!bytes || bytes->type != Type::Data) {
        giveUp();
        return {};
    }
    return m_list.bytes(*bytes);
}
