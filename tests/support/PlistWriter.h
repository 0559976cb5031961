#pragma once

#include <QByteArray>
#include <QVariant>

// Writes Qt values as property lists, the inverse of PropertyList: QVariantMap, QVariantList,
// QString, QByteArray, QDateTime, qint64/int, double, bool and PlistUid.
class PlistWriter
{
public:
    enum class Format
    {
        Binary,
        Xml
    };

    static QByteArray write(const QVariant& value, Format format = Format::Binary);
};
