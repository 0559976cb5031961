#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QVarLengthArray>

// Writes JSON text straight into bytes, laid out as QJsonDocument::Indented lays it out (four
// spaces a level, "key": value), without building a QJsonObject first. Members appear in the
// order written: callers write them sorted, as QJsonObject keeps them.
class IndentedJsonWriter
{
public:
    void beginObject();
    void beginObject(QLatin1StringView key);
    void beginArray(QLatin1StringView key);
    // Ends the innermost object or array.
    void end();

    void member(QLatin1StringView key, const QString& value);
    void member(QLatin1StringView key, bool value);
    void member(QLatin1StringView key, qint64 value);

    // The text, ending with a line end as QJsonDocument's does.
    QByteArray take();

private:
    struct Level
    {
        char closing;
        bool hasItems;
    };

    void beginItem();
    void writeKey(QLatin1StringView key);
    void open(char opening, char closing);
    void indent(qsizetype depth);
    void writeString(QStringView text);

    QByteArray m_out;
    QVarLengthArray<Level, 8> m_levels;
};
