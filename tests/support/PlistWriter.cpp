#include "PlistWriter.h"

#include "PropertyList.h"

#include <QDateTime>

#include <cstdlib>
#include <plist/plist.h>

namespace {
plist_t toNode(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), toNode(it.value()));
        return dict;
    }
    case QMetaType::QVariantList: {
        plist_t array = plist_new_array();
        for (const QVariant& item : value.toList())
            plist_array_append_item(array, toNode(item));
        return array;
    }
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), static_cast<uint64_t>(bytes.size()));
    }
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::Double:
        return plist_new_real(value.toDouble());
    case QMetaType::QDateTime: {
        static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        const qint64 ms = reference.msecsTo(value.toDateTime());
        return plist_new_date(static_cast<int32_t>(ms / 1000),
                              static_cast<int32_t>(ms % 1000) * 1000);
    }
    default:
        if (value.metaType() == QMetaType::fromType<PlistUid>())
            return plist_new_uid(value.value<PlistUid>().value);
        return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    }
}
} // namespace

QByteArray PlistWriter::write(const QVariant& value, Format format)
{
    plist_t root = toNode(value);
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == Format::Binary)
        plist_to_bin(root, &bytes, &length);
    else
        plist_to_xml(root, &bytes, &length);
    QByteArray result(bytes, static_cast<qsizetype>(length));
    std::free(bytes);
    plist_free(root);
    return result;
}
