#include "ThumbnailKey.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ThumbnailKeyTest, PathThenWidthByHeightInPoints)
{
    EXPECT_EQ(thumbnailKey(QStringLiteral("/tmp/Report.pdf"), 86, 86),
              QStringLiteral("/tmp/Report.pdf-86.0x86.0"));
    EXPECT_EQ(thumbnailKey(QStringLiteral("/home/u/a b.png"), 172.5, 0.1),
              QStringLiteral("/home/u/a b.png-172.5x0.1"));
}

TEST(ThumbnailKeyTest, NumbersAreTheShortestRoundTripDecimalWithAFractionalDigit)
{
    EXPECT_EQ(thumbnailKeyNumber(86), QStringLiteral("86.0"));
    EXPECT_EQ(thumbnailKeyNumber(172.5), QStringLiteral("172.5"));
    EXPECT_EQ(thumbnailKeyNumber(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(thumbnailKeyNumber(0.0), QStringLiteral("0.0"));
    EXPECT_EQ(thumbnailKeyNumber(1.0 / 3.0), QStringLiteral("0.3333333333333333"));
    EXPECT_EQ(thumbnailKeyNumber(0.1 + 0.2), QStringLiteral("0.30000000000000004"));
    EXPECT_EQ(thumbnailKeyNumber(1e20), QStringLiteral("100000000000000000000.0"));
    EXPECT_EQ(thumbnailKeyNumber(-2.0), QStringLiteral("-2.0"));
    EXPECT_EQ(thumbnailKeyNumber(std::numeric_limits<double>::max()).size(), 311);
}

TEST(ThumbnailKeyTest, EveryNumberReadsBackAsTheSameDouble)
{
    for (const double value : {86.0, 172.5, 0.1, 1.0 / 3.0, 123.456789, 2.0 / 7.0, 1e-7, 4.9e-324})
        EXPECT_EQ(thumbnailKeyNumber(value).toDouble(), value) << value;
}

TEST(ThumbnailKeyTest, ListAndGridSizesOfOneFileAreTwoKeys)
{
    const QString path = QStringLiteral("/tmp/Report.pdf");
    EXPECT_NE(thumbnailKey(path, 86, 86), thumbnailKey(path, 192, 192));
}
