#include "InotifyEvent.h"

#include "InotifyEventBuffer.h"

#include <gtest/gtest.h>

namespace {
std::vector<InotifyEvent> decode(const QByteArray& bytes)
{
    return InotifyEvent::decode(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TEST(InotifyEventTest, DecodesEventsWithAndWithoutNames)
{
    const auto events = decode(InotifyEventBuffer()
                                   .add(3, IN_MOVED_FROM, "a.sfl3.tmp", 77)
                                   .add(3, IN_MOVED_TO, "a.sfl3", 77)
                                   .add(4, IN_DELETE_SELF)
                                   .bytes());
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].wd, 3);
    EXPECT_EQ(events[0].mask, std::uint32_t(IN_MOVED_FROM));
    EXPECT_EQ(events[0].cookie, 77u);
    EXPECT_EQ(events[0].name, QStringLiteral("a.sfl3.tmp"));
    EXPECT_EQ(events[1].name, QStringLiteral("a.sfl3"));
    EXPECT_EQ(events[2].wd, 4);
    EXPECT_TRUE(events[2].name.isEmpty());
}

TEST(InotifyEventTest, DecodesQueueOverflow)
{
    const auto events = decode(InotifyEventBuffer().add(-1, IN_Q_OVERFLOW).bytes());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].wd, -1);
    EXPECT_EQ(events[0].mask, std::uint32_t(IN_Q_OVERFLOW));
}

TEST(InotifyEventTest, EmptyBufferHasNoEvents)
{
    EXPECT_TRUE(decode(QByteArray()).empty());
    EXPECT_TRUE(InotifyEvent::decode(nullptr, 0).empty());
}

TEST(InotifyEventTest, CutHeaderEndsDecoding)
{
    QByteArray bytes = InotifyEventBuffer().add(1, IN_CREATE, "a.sfl3").add(1, IN_DELETE).bytes();
    bytes.chop(3);
    const auto events = decode(bytes);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, QStringLiteral("a.sfl3"));
}

TEST(InotifyEventTest, NameRunningPastTheEndEndsDecoding)
{
    const auto events = decode(InotifyEventBuffer()
                                   .add(1, IN_CREATE, "kept.sfl3")
                                   .addRaw(1, IN_CREATE, 0, 4096, "short")
                                   .bytes());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, QStringLiteral("kept.sfl3"));
}

TEST(InotifyEventTest, HugeLengthDoesNotWrapAround)
{
    const auto events =
        decode(InotifyEventBuffer().addRaw(1, IN_CREATE, 0, 0xFFFFFFFFu, "x").bytes());
    EXPECT_TRUE(events.empty());
}

TEST(InotifyEventTest, NameWithoutTerminatorUsesItsWholeLength)
{
    const auto events =
        decode(InotifyEventBuffer().addRaw(2, IN_CLOSE_WRITE, 0, 6, "b.sfl3").bytes());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, QStringLiteral("b.sfl3"));
}

TEST(InotifyEventTest, NameIsDecodedFromTheFileSystemEncoding)
{
    const auto events = decode(
        InotifyEventBuffer().add(2, IN_CREATE, QStringLiteral("Résumé.sfl3").toUtf8()).bytes());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, QStringLiteral("Résumé.sfl3"));
}

TEST(InotifyEventTest, UnalignedBufferDecodes)
{
    const QByteArray records = InotifyEventBuffer().add(5, IN_CREATE, "c.sfl3").bytes();
    const QByteArray shifted = QByteArray(1, 'x') + records;
    const auto events =
        InotifyEvent::decode(shifted.constData() + 1, static_cast<std::size_t>(records.size()));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].wd, 5);
    EXPECT_EQ(events[0].name, QStringLiteral("c.sfl3"));
}

TEST(InotifyEventTest, TrailingBytesShorterThanAHeaderAreIgnored)
{
    const QByteArray bytes = InotifyEventBuffer().add(1, IN_DELETE, "d.sfl3").bytes() + "\x01\x02";
    EXPECT_EQ(decode(bytes).size(), 1u);
}
} // namespace
