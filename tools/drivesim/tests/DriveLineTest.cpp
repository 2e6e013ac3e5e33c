#include <DriveLine.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
using Bytes = std::vector<BYTE>;

Bytes Text(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::string Reply(CDriveLine& line, const std::string& command)
{
    const Bytes reply = line.Receive(Text(command));
    return {reply.begin(), reply.end()};
}
} // namespace

class DriveLineTest : public testing::Test
{
protected:
    CDriveLine line{{0, 30}};
};

TEST_F(DriveLineTest, BinaryReadsAreAnsweredByteForByte)
{
    line.Drive(0)->SetParameter(63, 2, 0x017E);
    EXPECT_EQ(line.Receive(Bytes{0x7E, 0x80, 0x02, 0x7E, 0x00, 0x00}),
              (Bytes{0x7E, 0x20, 0x02, 0x7E, 0x00, 0x7E, 0x00, 0x01, 0x1F}));
    line.Drive(30)->SetParameter(1, 2, 0x99);
    EXPECT_EQ(line.Receive(Bytes{0x7E, 0x9E, 0x01, 0x02, 0xA1}), (Bytes{0x7E, 0x3E, 0x01, 0x02, 0x99, 0xDA}));
}

TEST_F(DriveLineTest, BinaryWritesChangeTheDriveAndAreAcknowledged)
{
    EXPECT_EQ(line.Receive(Bytes{0x7E, 0xA0, 0x04, 0x0A, 0x78, 0x56, 0x34, 0x12, 0xC2}), (Bytes{0x7E, 0x20}));
    EXPECT_EQ(line.Drive(0)->Parameter(5, 4), 0x12345678u);
    EXPECT_EQ(line.Receive(Bytes{0x7E, 0xC0, 0x02, 0x15, 0xFD, 0x02, 0xD6}), (Bytes{0x7E, 0x20}));
    EXPECT_TRUE(line.Drive(0)->ParameterBit(10, 9));
    EXPECT_EQ(line.Receive(Bytes{0x7E, 0x7E, 0x00, 0x02, 0x00, 0xEF, 0xBE, 0x2D}), (Bytes{0x7E, 0x3E}));
    EXPECT_EQ(line.Drive(30)->MemoryByte(0), 0xEF);
}

TEST_F(DriveLineTest, FramesMayArriveInPiecesAfterNoise)
{
    const Bytes frame{0x7E, 0xA0, 0x02, 0x04, 0x7E, 0x00, 0x01, 0x25};
    Bytes reply;
    for (BYTE b : Bytes{0x7E, 0x13})
        line.Receive(Bytes{b});
    for (BYTE b : frame)
    {
        const Bytes piece = line.Receive(Bytes{b});
        reply.insert(reply.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(reply, (Bytes{0x7E, 0x20}));
    EXPECT_EQ(line.Drive(0)->Parameter(2, 2), 0x017Eu);
}

TEST_F(DriveLineTest, TheDrivesStaySilentOnWrongAddressesAndChecksums)
{
    EXPECT_TRUE(line.Receive(Bytes{0x7E, 0x85, 0x02, 0x0A, 0x91}).empty());
    EXPECT_TRUE(line.Receive(Bytes{0x7E, 0x80, 0x02, 0x0A, 0x8D}).empty());
    EXPECT_EQ(line.FramesServed(), 0);
    EXPECT_EQ(line.Receive(Bytes{0x7E, 0x80, 0x02, 0x0A, 0x8C}).size(), 7u);
}

TEST_F(DriveLineTest, FaultsChangeTheReplies)
{
    line.Drive(0)->SetParameter(5, 2, 0x1234);
    const Bytes request{0x7E, 0x80, 0x02, 0x0A, 0x8C};
    line.SetFault(ReplyFault::Corrupt);
    EXPECT_EQ(line.Receive(request), (Bytes{0x7E, 0x20, 0x02, 0x0A, 0x34, 0x12, 0x73}));
    line.SetFault(ReplyFault::WrongHeader);
    EXPECT_EQ(line.Receive(request), (Bytes{0x7E, 0x20, 0x02, 0x0C, 0x34, 0x12, 0x74}));
    line.SetFault(ReplyFault::Silent);
    EXPECT_TRUE(line.Receive(request).empty());
    EXPECT_EQ(Reply(line, "X5\r"), "");
}

TEST_F(DriveLineTest, AsciiCommandsAreServedByTheFirstDrive)
{
    EXPECT_EQ(Reply(line, "X5=-2\r"), "Ok\r\n");
    EXPECT_EQ(line.Drive(0)->Parameter(5, 2), 0xFFFEu);
    EXPECT_EQ(Reply(line, "X5\r"), "-2\r\n");
    EXPECT_EQ(Reply(line, "XL6=305419896\r"), "Ok\r\n");
    EXPECT_EQ(Reply(line, "XL6\r"), "305419896\r\n");
    EXPECT_EQ(Reply(line, "B10.9=1\r"), "Ok\r\n");
    EXPECT_EQ(Reply(line, "B10.9\r"), "1\r\n");
    EXPECT_EQ(Reply(line, "X4097=513\r"), "Ok\r\n");
    EXPECT_EQ(line.Drive(0)->MemoryByte(2), 0x01);
    EXPECT_EQ(line.Drive(0)->MemoryByte(3), 0x02);
    for (const char* bad : {"Y5\r", "X\r", "X5=\r", "B10\r", "B10.16\r", "X9000\r", "X5x\r", "B4096.1\r"})
        EXPECT_EQ(Reply(line, bad), "ERR\r\n") << bad;
    line.SetFault(ReplyFault::Corrupt);
    EXPECT_EQ(Reply(line, "X5\r"), "-2x\r\n");
}

TEST_F(DriveLineTest, TheMemoryWindowMovesThroughTheMemory)
{
    CSimulatedDrive& drive = *line.Drive(0);
    for (int i = 0; i < 8; ++i)
        drive.SetMemoryByte(0x200 + i, static_cast<BYTE>(i + 1));
    EXPECT_EQ(Reply(line, "XL396=512\r"), "Ok\r\n");
    EXPECT_EQ(drive.WindowAddress(), 0x200u);
    EXPECT_EQ(Reply(line, "XL391\r"), "67305985\r\n");
    EXPECT_EQ(Reply(line, "X391\r"), "1541\r\n");
    EXPECT_EQ(Reply(line, "X393=-1\r"), "Ok\r\n");
    EXPECT_EQ(drive.MemoryByte(0x206), 0xFF);
    EXPECT_EQ(drive.WindowAddress(), 0x208u);
}
