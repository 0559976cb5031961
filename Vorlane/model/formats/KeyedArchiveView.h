#pragma once

#include "BinaryPropertyListView.h"
#include "KeyedArchive.h"

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QVarLengthArray>

#include <optional>

// Walks a binary keyed archive where it lies, for readers that follow a few references from
// "$top" and want plain data at the end: no value is made of any object on the way.
//
// It follows only archives in the shape archivers write (references as UIDs, text in ASCII,
// dictionaries and collections of the known classes, data inline). Anything else, and anything
// KeyedArchive would report as an error, makes the view give up (isUsable() turns false, and
// the answers after that mean nothing): the caller then reads the archive with KeyedArchive,
// which decodes every shape and says what is wrong. So what the view does answer is what
// KeyedArchive's resolve() would have answered, never more.
class KeyedArchiveView
{
public:
    using Object = BinaryPropertyListView::Object;

    // An object of the archive's table as resolve() would see it: a plain property list value,
    // "$null", or an instance of an archived class.
    struct Instance
    {
        enum class What
        {
            Plain,
            Null,
            Archived
        };
        What what = What::Null;
        KeyedArchive::ArchivedClass::Kind kind = KeyedArchive::ArchivedClass::Kind::Other;
        Object object;
        // The fields archived collections and data keep their contents in.
        std::optional<quint64> keys;
        std::optional<quint64> objects;
        std::optional<quint64> data;
    };

    // Checks the header and finds "$objects" and "$top"; isUsable() says whether it could.
    explicit KeyedArchiveView(QByteArrayView bytes);
    bool isUsable() const { return m_usable; }

    // The UID stored under key in "$top"; none when the key is not there.
    std::optional<quint64> topLevelUid(QLatin1StringView key);
    // The object at uid in "$objects".
    Instance resolve(quint64 uid);
    // The object a stored value (a member of a dictionary or collection) refers to: the UID's
    // instance; a value stored inline is left to the caller as a plain value.
    Instance resolveValue(quint64 objectIndex);

    // The value stored under key in an archived dictionary, as an index of the property list's
    // objects; none when the key is not there. Every key is resolved, as KeyedArchive does.
    std::optional<quint64> dictionaryValue(const Instance& dictionary, QLatin1StringView key);
    // The members of an archived collection, as indexes of the property list's objects.
    QVarLengthArray<quint64, 32> collectionMembers(const Instance& collection);
    // The bytes of an archived data object, or of data stored as a plain value.
    QByteArrayView data(const Instance& data);

private:
    void giveUp() { m_usable = false; }
    std::optional<Object> wellFormed(quint64 objectIndex);
    std::optional<quint64> fieldOf(const Object& fields, QLatin1StringView name);
    KeyedArchive::ArchivedClass::Kind classKind(quint64 classUid);
    KeyedArchive::ArchivedClass::Kind kindOfClassName(const Object& name);
    std::optional<QLatin1StringView> asciiKey(quint64 keyObject);
    std::optional<QLatin1StringView> archivedKey(quint64 keyObject);
    std::optional<Object> collectionField(const std::optional<quint64>& field);

    BinaryPropertyListView m_list;
    bool m_usable = false;
    Object m_objects;
    Object m_top;
    // The kind of each class definition looked up, by UID.
    QVarLengthArray<std::pair<quint64, KeyedArchive::ArchivedClass::Kind>, 8> m_classes;
};
