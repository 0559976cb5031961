#include "PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <memory>
#include <plist/plist.h>

namespace {
// Deeper nesting than this is no record of ours and would only exhaust the stack.
constexpr int maximumDepth = 512;

struct PlistDeleter
{
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPointer = std::unique_ptr<void, PlistDeleter>;

const QDateTime& referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return date;
}

QVariant convert(plist_t node, int depth, bool* tooDeep);

QVariant convertDictionary(plist_t node, int depth, bool* tooDeep)
{
    QVariantMap map;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iter, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), convert(value, depth + 1, tooDeep));
        free(key);
    }
    free(iter);
    return map;
}

QVariant convertArray(plist_t node, int depth, bool* tooDeep)
{
    QVariantList list;
    const uint32_t size = plist_array_get_size(node);
    list.reserve(size);
    for (uint32_t i = 0; i < size; ++i)
        list.append(convert(plist_array_get_item(node, i), depth + 1, tooDeep));
    return list;
}

QVariant convert(plist_t node, int depth, bool* tooDeep)
{
    if (depth > maximumDepth) {
        *tooDeep = true;
        return {};
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return static_cast<qint64>(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return text ? QString::fromUtf8(text, static_cast<qsizetype>(length)) : QString();
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return bytes ? QByteArray(bytes, static_cast<qsizetype>(length)) : QByteArray();
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return referenceDate().addMSecs(qint64(seconds) * 1000 + microseconds / 1000);
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariant::fromValue(PlistUid{value});
    }
    case PLIST_ARRAY:
        return convertArray(node, depth, tooDeep);
    case PLIST_DICT:
        return convertDictionary(node, depth, tooDeep);
    default:
        return {};
    }
}
} // namespace

std::optional<QVariant> PropertyList::parse(QByteArrayView bytes, QString* error)
{
    auto fail = [error](const char* reason) -> std::optional<QVariant> {
        if (error)
            *error = QString::fromUtf8(reason);
        return std::nullopt;
    };
    if (bytes.size() < 8 || bytes.size() > maximumFileSize)
        return fail("The data isn't a property list.");

    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    const PlistPointer owner(root);
    if (!root)
        return fail("The data couldn't be read because it isn't in the correct format.");

    bool tooDeep = false;
    QVariant value = convert(root, 0, &tooDeep);
    if (tooDeep)
        return fail("The property list is nested too deeply.");
    return value;
}

std::optional<QVariant> PropertyList::readFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumFileSize) {
        if (error)
            *error = QStringLiteral("The file couldn't be opened.");
        return std::nullopt;
    }
    return parse(file.readAll(), error);
}

std::optional<quint64> PropertyList::uidValue(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<PlistUid>())
        return value.value<PlistUid>().value;
    if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
        const QVariantMap map = value.toMap();
        const QVariant uid = map.value(QStringLiteral("CF$UID"));
        if (map.size() == 1 && uid.metaType() == QMetaType::fromType<qint64>() &&
            uid.toLongLong() >= 0)
            return static_cast<quint64>(uid.toLongLong());
    }
    return std::nullopt;
}
