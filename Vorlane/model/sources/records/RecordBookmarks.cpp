#include "RecordBookmarks.h"

#include "KeyedArchive.h"
#include "KeyedArchiveView.h"

namespace {
using Kind = KeyedArchive::ArchivedClass::Kind;
using Instance = KeyedArchiveView::Instance;
using What = Instance::What;

template <typename T>
bool isA(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<T>();
}

bool isArchived(const Instance& instance, Kind kind)
{
    return instance.what == What::Archived && instance.kind == kind;
}

bool isPlainData(const Instance& instance)
{
    return instance.what == What::Plain &&
           instance.object.type == BinaryPropertyListView::Type::Data;
}

// Values KeyedArchive resolves without fault to something that is not a dictionary (or not
// data): "$null", plain values and objects of classes without a plain equivalent. Plain
// dictionaries are not among them: stored inline they are used as they are.
bool isInertValue(const Instance& instance)
{
    return instance.what == What::Null || isArchived(instance, Kind::Other) ||
           (instance.what == What::Plain &&
            instance.object.type != BinaryPropertyListView::Type::Dictionary);
}

// The bookmark data of one item; none when the item has none. Sets unusual for what the view
// leaves to KeyedArchive.
std::optional<QByteArray> bookmarkOfItem(KeyedArchiveView& archive, quint64 member, bool* unusual)
{
    const Instance item = archive.resolveValue(member);
    if (!isArchived(item, Kind::Dictionary)) {
        *unusual = *unusual || !isInertValue(item);
        return std::nullopt;
    }
    const std::optional<quint64> value =
        archive.dictionaryValue(item, QLatin1StringView("Bookmark"));
    if (!value)
        return std::nullopt;
    const Instance bookmark = archive.resolveValue(*value);
    if (isPlainData(bookmark) || isArchived(bookmark, Kind::Data))
        return archive.data(bookmark).toByteArray();
    *unusual = *unusual || !isInertValue(bookmark);
    return std::nullopt;
}
} // namespace

RecordBookmarks RecordBookmarks::read(QByteArrayView bytes)
{
    if (std::optional<RecordBookmarks> inPlace = readInPlace(bytes))
        return std::move(*inPlace);
    return readThroughArchive(bytes);
}

// The record's path, top → root → items → each item's "Bookmark", taken straight from the bytes.
std::optional<RecordBookmarks> RecordBookmarks::readInPlace(QByteArrayView bytes)
{
    KeyedArchiveView archive(bytes);
    const std::optional<quint64> rootUid = archive.topLevelUid(QLatin1StringView("root"));
    const Instance root = rootUid ? archive.resolve(*rootUid) : Instance{};
    if (!archive.isUsable())
        return std::nullopt;
    if (root.what == What::Null)
        return RecordBookmarks{};
    if (!isArchived(root, Kind::Dictionary))
        return std::nullopt;
    const std::optional<quint64> itemsValue =
        archive.dictionaryValue(root, QLatin1StringView("items"));
    if (!archive.isUsable())
        return std::nullopt;
    if (!itemsValue)
        return RecordBookmarks{};
    const Instance items = archive.resolveValue(*itemsValue);
    if (!isArchived(items, Kind::Collection))
        return std::nullopt;
    const QVarLengthArray<quint64, 32> members = archive.collectionMembers(items);
    if (!archive.isUsable())
        return std::nullopt;
    if (members.isEmpty())
        return RecordBookmarks{Items::Empty, {}, {}};

    RecordBookmarks record{Items::Listed, {}, {}};
    record.bookmarks.reserve(members.size());
    bool unusual = false;
    for (const quint64 member : members) {
        std::optional<QByteArray> bookmark = bookmarkOfItem(archive, member, &unusual);
        if (unusual || !archive.isUsable())
            return std::nullopt;
        if (bookmark)
            record.bookmarks.append(std::move(*bookmark));
    }
    return record;
}

RecordBookmarks RecordBookmarks::readThroughArchive(QByteArrayView bytes)
{
    QString error;
    const std::optional<KeyedArchive> archive = KeyedArchive::open(bytes, &error);
    if (!archive)
        return {Items::NotListed, {}, error};
    // Only the items and their bookmarks are decoded; the rest of the record is never read.
    const QVariant root =
        archive->resolve(archive->topLevelReference(QStringLiteral("root")), &error);
    if (error.isEmpty() && !root.isNull() && !isA<QVariantMap>(root))
        error = QStringLiteral("The archive's root object is not a dictionary.");
    const QVariant items =
        error.isEmpty() ? archive->resolve(root.toMap().value(QStringLiteral("items")), &error)
                        : QVariant();
    if (!isA<QVariantList>(items))
        return {Items::NotListed, {}, error};
    const QVariantList elements = items.toList();
    if (elements.isEmpty())
        return {Items::Empty, {}, {}};

    RecordBookmarks record{Items::Listed, {}, {}};
    for (const QVariant& reference : elements) {
        const QVariant element = archive->resolve(reference, &error);
        const QVariant bookmark =
            isA<QVariantMap>(element)
                ? archive->resolve(element.toMap().value(QStringLiteral("Bookmark")), &error)
                : QVariant();
        if (!error.isEmpty()) {
            // A damaged archive: keep what was decoded before the damage.
            record.error = error;
            break;
        }
        if (isA<QByteArray>(bookmark))
            record.bookmarks.append(bookmark.toByteArray());
    }
    return record;
}
