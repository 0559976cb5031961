#include "ArchiveWriter.h"

#include "PropertyList.h"

#include <QDateTime>
#include <QHash>
#include <QUuid>

namespace {
class Encoder
{
public:
    explicit Encoder(ArchiveWriter::DataStyle dataStyle)
        : m_dataStyle(dataStyle)
    {
        m_objects.append(QStringLiteral("$null"));
    }

    QVariant reference(const QVariant& value)
    {
        if (value.isNull() && !value.metaType().isValid())
            return uid(0);
        switch (value.metaType().id()) {
        case QMetaType::QVariantMap:
            return encodeDictionary(value.toMap());
        case QMetaType::QVariantList:
            return encodeCollection(value.toList(), "NSArray");
        case QMetaType::QDateTime:
            return encodeDate(value.toDateTime());
        case QMetaType::QByteArray:
            if (m_dataStyle == ArchiveWriter::DataStyle::MutableDataObject)
                return add(QVariantMap{{QStringLiteral("$class"), classReference("NSMutableData")},
                                       {QStringLiteral("NS.data"), value}});
            return add(value);
        default:
            return add(value);
        }
    }

    QVariantList objects() const { return m_objects; }

private:
    static QVariant uid(qsizetype index)
    {
        return QVariant::fromValue(PlistUid{static_cast<quint64>(index)});
    }

    QVariant add(const QVariant& object)
    {
        m_objects.append(object);
        return uid(m_objects.size() - 1);
    }

    QVariant classReference(const char* name)
    {
        const QString className = QString::fromLatin1(name);
        if (const auto found = m_classes.constFind(className); found != m_classes.constEnd())
            return *found;
        const QVariant ref = add(QVariantMap{
            {QStringLiteral("$classname"), className},
            {QStringLiteral("$classes"), QVariantList{className, QStringLiteral("NSObject")}}});
        m_classes.insert(className, ref);
        return ref;
    }

    QVariant encodeDictionary(const QVariantMap& map)
    {
        // Reserve the dictionary's slot first, as the archiver does: parents come before children.
        const QVariant self = add(QVariant());
        QVariantList keys;
        QVariantList values;
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            keys << reference(it.key());
            values << reference(it.value());
        }
        m_objects[static_cast<qsizetype>(self.value<PlistUid>().value)] =
            QVariantMap{{QStringLiteral("$class"), classReference("NSDictionary")},
                        {QStringLiteral("NS.keys"), keys},
                        {QStringLiteral("NS.objects"), values}};
        return self;
    }

    QVariant encodeCollection(const QVariantList& list, const char* className)
    {
        const QVariant self = add(QVariant());
        QVariantList items;
        for (const QVariant& item : list)
            items << reference(item);
        m_objects[static_cast<qsizetype>(self.value<PlistUid>().value)] =
            QVariantMap{{QStringLiteral("$class"), classReference(className)},
                        {QStringLiteral("NS.objects"), items}};
        return self;
    }

    QVariant encodeDate(const QDateTime& date)
    {
        static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        return add(QVariantMap{{QStringLiteral("$class"), classReference("NSDate")},
                               {QStringLiteral("NS.time"), reference.msecsTo(date) / 1000.0}});
    }

    ArchiveWriter::DataStyle m_dataStyle;
    QVariantList m_objects;
    QHash<QString, QVariant> m_classes;
};
} // namespace

QByteArray ArchiveWriter::write(const QVariant& root, PlistWriter::Format format,
                                DataStyle dataStyle)
{
    Encoder encoder(dataStyle);
    const QVariant rootReference = encoder.reference(root);
    const QVariantMap archive{
        {QStringLiteral("$archiver"), QStringLiteral("NSKeyedArchiver")},
        {QStringLiteral("$version"), qint64(100000)},
        {QStringLiteral("$top"), QVariantMap{{QStringLiteral("root"), rootReference}}},
        {QStringLiteral("$objects"), encoder.objects()},
    };
    return PlistWriter::write(archive, format);
}

QByteArray ArchiveWriter::recordFile(const QList<QByteArray>& bookmarks, PlistWriter::Format format)
{
    QVariantList items;
    for (const QByteArray& bookmark : bookmarks)
        items << QVariantMap{
            {QStringLiteral("Bookmark"), bookmark},
            {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
            {QStringLiteral("visibility"), qint64(0)}};
    const QVariantMap root{
        {QStringLiteral("items"), items},
        {QStringLiteral("properties"),
         QVariantMap{{QStringLiteral("com.apple.LSSharedFileList.MaxAmount"), qint64(10)}}}};
    return write(root, format);
}

QByteArray ArchiveWriter::rawArchive(const QVariantList& objects, const QVariant& rootReference)
{
    return PlistWriter::write(QVariantMap{
        {QStringLiteral("$archiver"), QStringLiteral("NSKeyedArchiver")},
        {QStringLiteral("$version"), qint64(100000)},
        {QStringLiteral("$top"), QVariantMap{{QStringLiteral("root"), rootReference}}},
        {QStringLiteral("$objects"), objects},
    });
}
