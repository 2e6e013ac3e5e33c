#include <graphctl/TraceBuffer.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{

TraceBuffer ResetBuffer(long dim)
{
    TraceBuffer buffer;
    buffer.SetDim(dim);
    return buffer;
}

void AddValues(TraceBuffer& buffer, std::vector<double> values, std::vector<double> times = {})
{
    buffer.Add(static_cast<long>(values.size()), values.data(), times.empty() ? nullptr : times.data());
}

} // namespace

TEST(TraceBufferTest, FirstSampleAfterResetLandsInSlotZero)
{
    TraceBuffer buffer = ResetBuffer(1000);
    EXPECT_EQ(buffer.WritePosition(), 1000);
    EXPECT_EQ(buffer.Value(0), TraceBuffer::kEmptyMark);
    AddValues(buffer, {7.0});
    EXPECT_EQ(buffer.WritePosition(), 0);
    EXPECT_EQ(buffer.Value(0), 7.0);
    EXPECT_EQ(buffer.SamplesNum(), 1);
}

TEST(TraceBufferTest, SampleAfterAFullBufferOverwritesSlotZero)
{
    TraceBuffer buffer = ResetBuffer(1000);
    std::vector<double> values(1001);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<double>(i);
    AddValues(buffer, values);
    EXPECT_EQ(buffer.Value(0), 1000.0);
    EXPECT_EQ(buffer.SamplesNum(), 1000);
    EXPECT_EQ(buffer.TotalAdded(), 1001u);
    EXPECT_EQ(buffer.Value(buffer.OldestSlot()), 1.0);
}

TEST(TraceBufferTest, GivenTimesAreCutAndAutomaticTimesFollowThePeriod)
{
    TraceBuffer buffer = ResetBuffer(10);
    AddValues(buffer, {1.0}, {1.9});
    EXPECT_EQ(buffer.Time(0), 1.0);

    buffer.Reset();
    AddValues(buffer, {1, 2, 3});
    EXPECT_EQ(buffer.Time(0), 0.0);
    EXPECT_EQ(buffer.Time(1), 1.0);
    EXPECT_EQ(buffer.Time(2), 2.0);

    buffer.Reset();
    buffer.SetSamplePeriod(0.5);
    AddValues(buffer, {1, 2, 3});
    EXPECT_EQ(buffer.Time(1), 0.5);
    EXPECT_EQ(buffer.Time(2), 1.0);
}

TEST(TraceBufferTest, SampleFromTimeTakesTheNearerNeighbour)
{
    TraceBuffer buffer = ResetBuffer(10);
    AddValues(buffer, {10, 20, 30});
    EXPECT_EQ(buffer.SampleFromTime(1.4), 20.0);
    EXPECT_EQ(buffer.SampleFromTime(1.5), 30.0);
    EXPECT_EQ(buffer.SampleFromTime(-1), 0.0);
    EXPECT_EQ(buffer.SampleFromTime(9), 30.0);
    EXPECT_EQ(buffer.AgeNearTime(1.4), 1);
    EXPECT_EQ(buffer.AgeNearTime(1.5), 0);
    EXPECT_EQ(buffer.AgeNearTime(-1), -1);
}

TEST(TraceBufferTest, AnEmptyBufferHasNoExtentAndNoTime)
{
    TraceBuffer buffer = ResetBuffer(4);
    double values[8] = {};
    // Right after a reset the write position equals the capacity: nothing may be read past it.
    EXPECT_EQ(buffer.CopySlots(8, 0, values, nullptr), 4);
    EXPECT_EQ(buffer.TotalTime(), 0.0);
    EXPECT_EQ(buffer.SampleFromTime(0), 0.0);
}

TEST(TraceBufferTest, CopySlotsReadsRawSlotsUpToTheWritePosition)
{
    TraceBuffer buffer = ResetBuffer(5);
    AddValues(buffer, {1, 2, 3});
    double values[5] = {-1, -1, -1, -1, -1};
    double times[5] = {};
    EXPECT_EQ(buffer.CopySlots(5, -3, values, times), 3);
    EXPECT_EQ(values[2], 3.0);
    EXPECT_EQ(values[3], -1.0);
    EXPECT_EQ(times[2], 2.0);
    EXPECT_EQ(buffer.CopySlots(0, 0, values, times), 0);
    EXPECT_EQ(buffer.CopySlots(2, 3, values, times), 0);
}

TEST(TraceBufferTest, TotalTimeSpansTheHeldSamples)
{
    TraceBuffer buffer = ResetBuffer(3);
    AddValues(buffer, {1, 2, 3, 4, 5});
    EXPECT_EQ(buffer.TotalTime(), 2.0);
    EXPECT_EQ(buffer.Time(buffer.OldestSlot()), 2.0);
}

TEST(TraceBufferTest, CapacityBelowOneIsRefused)
{
    TraceBuffer buffer = ResetBuffer(3);
    AddValues(buffer, {1});
    EXPECT_FALSE(buffer.SetDim(0));
    EXPECT_FALSE(buffer.SetDim(-5));
    EXPECT_EQ(buffer.Dim(), 3);
    EXPECT_EQ(buffer.SamplesNum(), 1);
}
