#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QVarLengthArray>

#include <functional>

// Writes JSON text straight into bytes, laid out as QJsonDocument::Indented lays it out (four
// spaces a level, "key": value), without building a QJsonObject first. Members appear in the
// order written: callers write them sorted, as QJsonObject keeps them.
class IndentedJsonWriter
{
public:
    // Receives the text a piece at a time.
    using Sink = std::function<void(QByteArrayView)>;

    // Keeps the whole text for take().
    IndentedJsonWriter();
    // Hands the text to sink whenever some tens of kilobytes are ready and at the end, so that
    // however long it is, it never all sits in memory.
    explicit IndentedJsonWriter(Sink sink);

    void beginObject();
    void beginObject(QLatin1StringView key);
    void beginArray(QLatin1StringView key);
    // Ends the innermost object or array.
    void end();

    void member(QLatin1StringView key, QStringView value);
    void member(QLatin1StringView key, bool value);
    void member(QLatin1StringView key, qint64 value);
    // A string the caller has as plain ASCII that needs no escape, written between quotes.
    void plainMember(QLatin1StringView key, QByteArrayView plainValue);

    // The text, ending with a line end as QJsonDocument's does; with a sink, its last piece is
    // handed over and the text returned is empty.
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
    // Room for count more bytes, to be written at the pointer returned; commit() then says where
    // the writing ended.
    char* reserve(qsizetype count)
    {
        if (m_capacity - m_size < count)
            grow(count);
        return m_data + m_size;
    }
    void commit(const char* end) { m_size = end - m_data; }
    void grow(qsizetype count);
    void writeString(QStringView text);

    void handOverIfFull();

    Sink m_sink;
    // The text is the first m_size bytes; the rest is room already made.
    QByteArray m_out;
    // m_out's bytes and their number, kept apart from it: they are written at every step.
    char* m_data = nullptr;
    qsizetype m_capacity = 0;
    qsizetype m_size = 0;
    QVarLengthArray<Level, 8> m_levels;
};
