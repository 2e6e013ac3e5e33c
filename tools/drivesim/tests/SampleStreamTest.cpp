// The sample stream: frames as the oscilloscope decodes them, the motion model, the monitor words,
// and the stream bit switching the line.
#include <DriveLine.h>
#include <SampleStream.h>

#include <protocol/BinaryFrame.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
using Bytes = std::vector<BYTE>;

struct Decoded
{
    int counter;
    int value;
    bool din0;
    bool din1;
};

// The host's reading of an aligned frame: sync word first.
bool Decode(const Bytes& frame, Decoded& out)
{
    if (frame.size() != 4)
        return false;
    const int sync = frame[0] | frame[1] << 8;
    const int data = frame[2] | frame[3] << 8;
    if (!(sync & 1) || (data & 0x101))
        return false;
    out.counter = sync >> 1;
    const int value = ((data >> 2) & 0xF80) + ((data >> 1) & 0x7F);
    out.value = value > 0x7FF ? value - 0x1000 : value;
    out.din0 = (data >> 14) & 1;
    out.din1 = (data >> 15) & 1;
    return true;
}

Bytes Text(const std::string& text)
{
    return {text.begin(), text.end()};
}

Bytes BitWrite(int word, int bit, bool on)
{
    ParAccess access;
    access.index = word;
    access.width = ParWidth::Bit;
    access.bit = bit;
    return BuildBinaryWriteRequest(0, access, on ? 1 : 0);
}
} // namespace

TEST(SampleStreamTest, FramesCarryTheCounterStepTheCurrentRampAndTheInputs)
{
    CSampleStream stream(8);
    Decoded previous{};
    stream.Advance();
    ASSERT_TRUE(Decode(stream.Frame(), previous));
    int din0Changes = 0;
    int din1Changes = 0;
    for (int i = 0; i < 400; ++i)
    {
        stream.Advance();
        Decoded now{};
        ASSERT_TRUE(Decode(stream.Frame(), now)) << "frame " << i;
        EXPECT_EQ((now.counter - previous.counter) & 0x7FFF, 8);
        EXPECT_TRUE(now.value == previous.value + 4 || (previous.value == 400 && now.value == -400))
            << now.value;
        din0Changes += now.din0 != previous.din0;
        din1Changes += now.din1 != previous.din1;
        previous = now;
    }
    EXPECT_EQ(din0Changes, 401 / 61);
    EXPECT_EQ(din1Changes, 401 / 122);
}

TEST(SampleStreamTest, CounterWrapsAtFifteenBits)
{
    CSampleStream stream(1000);
    Decoded first{}, later{};
    for (int i = 0; i < 32; ++i)
        stream.Advance();
    ASSERT_TRUE(Decode(stream.Frame(), first));
    stream.Advance();
    ASSERT_TRUE(Decode(stream.Frame(), later));
    EXPECT_EQ(first.counter, 32000);
    EXPECT_EQ(later.counter, (33000) & 0x7FFF);
}

TEST(SampleStreamTest, StrayByteLeadsEveryNthFrame)
{
    CSampleStream stream(8, 3);
    EXPECT_EQ(stream.Frame().size(), 4u);
    EXPECT_EQ(stream.Frame().size(), 4u);
    const Bytes third = stream.Frame();
    ASSERT_EQ(third.size(), 5u);
    Decoded decoded{};
    EXPECT_TRUE(Decode(Bytes(third.begin() + 1, third.end()), decoded));
}

TEST(SampleStreamTest, MonitorWordsFollowTheModel)
{
    CSimulatedDrive drive(0);
    CSampleStream stream(8);
    for (int i = 0; i < 10; ++i)
        stream.Advance();
    stream.WriteMonitorWords(drive);
    EXPECT_EQ(drive.Parameter(80, 2), static_cast<DWORD>(std::lround(8 * 0.4470348358154297)));
    EXPECT_EQ(static_cast<SHORT>(drive.Parameter(81, 2)), stream.Value() * 20);
    EXPECT_EQ(drive.Parameter(84, 4), 80u);
}

TEST(StreamBitTest, BinaryWriteStartingTheStreamIsNotAcknowledgedClearingIs)
{
    CDriveLine line({0});
    EXPECT_FALSE(line.Streaming());
    EXPECT_TRUE(line.Receive(BitWrite(42, 11, true)).empty());
    EXPECT_TRUE(line.Streaming());
    EXPECT_TRUE(line.Drive(0)->ParameterBit(42, 11));
    EXPECT_EQ(line.Receive(BitWrite(42, 11, false)), (Bytes{0x7E, 0x20}));
    EXPECT_FALSE(line.Streaming());
    EXPECT_EQ(line.Receive(BitWrite(42, 2, true)), (Bytes{0x7E, 0x20})) << "other bits are plain writes";
}

TEST(StreamBitTest, AsciiWriteIsAcknowledgedAndAnotherBitCanBeChosen)
{
    CDriveLine line({0});
    line.SetStreamBit((3u << 16) + 91);
    EXPECT_EQ(line.Receive(Text("B42.11=1\r")), Text("Ok\r\n"));
    EXPECT_FALSE(line.Streaming());
    EXPECT_EQ(line.Receive(Text("B91.3=1\r")), Text("Ok\r\n"));
    EXPECT_TRUE(line.Streaming());
}
