// The traffic record: bytes, tags and counts while switched on, and the hex view's positions.
#include <PortSpy.h>

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace
{
std::vector<BYTE> Bytes(int count, int first)
{
    std::vector<BYTE> bytes(static_cast<size_t>(count));
    std::iota(bytes.begin(), bytes.end(), static_cast<BYTE>(first));
    return bytes;
}

struct View
{
    BYTE bytes[CPortSpy::VIEW_SIZE];
    BYTE tags[CPortSpy::VIEW_SIZE];
};

View At(const CPortSpy& spy, int position)
{
    View view;
    spy.CopyView(position, view.bytes, view.tags);
    return view;
}
} // namespace

TEST(PortSpyTest, RecordsBytesTagsAndCountsOnlyWhileOn)
{
    CPortSpy spy;
    const auto data = Bytes(10, 1);
    spy.Record(10, data.data(), SPY_SENT);
    EXPECT_EQ(spy.SentCount(), 0u);
    EXPECT_EQ(spy.FillCount(), 0);

    spy.SetOn(true);
    spy.Record(4, data.data(), SPY_SENT);
    spy.Record(6, data.data(), SPY_RECEIVED);
    EXPECT_EQ(spy.SentCount(), 4u);
    EXPECT_EQ(spy.ReceivedCount(), 6u);
    EXPECT_EQ(spy.WritePosition(), 10);
    EXPECT_EQ(spy.Tags()[3], SPY_SENT);
    EXPECT_EQ(spy.Tags()[4], SPY_RECEIVED);
    EXPECT_EQ(spy.Bytes()[9], 6);

    spy.SetOn(false);
    spy.Record(10, data.data(), SPY_RECEIVED);
    EXPECT_EQ(spy.ReceivedCount(), 6u);
}

TEST(PortSpyTest, FortyBytesSeenFromPositions64To61)
{
    CPortSpy spy;
    spy.SetOn(true);
    const auto data = Bytes(40, 1); // 1 .. 40
    spy.Record(40, data.data(), SPY_RECEIVED);

    View view = At(spy, 64);
    EXPECT_EQ(view.bytes[95], 40);
    EXPECT_EQ(view.bytes[56], 1);
    EXPECT_EQ(view.tags[55], SPY_EMPTY);
    EXPECT_EQ(At(spy, 63).bytes[95], 24);
    EXPECT_EQ(At(spy, 62).bytes[95], 8);
    for (int position : {61, 40, 1})
    {
        view = At(spy, position);
        for (int i = 0; i < CPortSpy::VIEW_SIZE; ++i)
            ASSERT_EQ(view.tags[i], SPY_EMPTY) << position << " " << i;
    }
}

TEST(PortSpyTest, TheViewWrapsAtTheRingsEnd)
{
    CPortSpy spy;
    spy.SetOn(true);
    const auto first = Bytes(1000, 0);
    spy.Record(1000, first.data(), SPY_SENT);
    const auto second = Bytes(50, 100);
    spy.Record(50, second.data(), SPY_RECEIVED);
    EXPECT_EQ(spy.WritePosition(), 26);
    EXPECT_EQ(spy.FillCount(), CPortSpy::RING_SIZE);

    const View view = At(spy, 64);
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_EQ(view.bytes[46 + i], 100 + i);
        EXPECT_EQ(view.tags[46 + i], SPY_RECEIVED);
    }
    EXPECT_EQ(view.tags[45], SPY_SENT);
    // Position 1 ends 63 rows before the newest byte.
    EXPECT_EQ(At(spy, 1).bytes[95], first[41]);
}

TEST(PortSpyTest, ResetClearsRingsAndCounts)
{
    CPortSpy spy;
    spy.SetOn(true);
    const auto data = Bytes(30, 5);
    spy.Record(30, data.data(), SPY_SENT);
    spy.Reset();
    EXPECT_EQ(spy.SentCount(), 0u);
    EXPECT_EQ(spy.WritePosition(), 0);
    EXPECT_EQ(spy.FillCount(), 0);
    const View view = At(spy, 64);
    for (int i = 0; i < CPortSpy::VIEW_SIZE; ++i)
    {
        ASSERT_EQ(view.bytes[i], 0);
        ASSERT_EQ(view.tags[i], SPY_EMPTY);
    }
    EXPECT_TRUE(spy.IsOn());
}
