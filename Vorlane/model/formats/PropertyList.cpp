#include "PropertyList.h"

#include "BinaryPropertyListReader.h"
#include "XmlPropertyListReader.h"

#include <QFile>

std::optional<QVariant> PropertyList::parse(QByteArrayView bytes, QString* error)
{
    if (bytes.size() < 8 || bytes.size() > maximumFileSize) {
        if (error)
            *error = QStringLiteral("The data isn't a property list.");
        return std::nullopt;
    }
    if (BinaryPropertyListReader::looksLikeBinary(bytes))
        return BinaryPropertyListReader(bytes).read(error);
    return XmlPropertyListReader(bytes).read(error);
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

std::optional<QDateTime> PropertyList::dateFromReferenceSeconds(double seconds)
{
    // About ±300,000 years: far beyond any real date, well inside what QDateTime holds.
    if (!(seconds > -1e13 && seconds < 1e13))
        return std::nullopt;
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return reference.addMSecs(static_cast<qint64>(seconds * 1000.0));
}
