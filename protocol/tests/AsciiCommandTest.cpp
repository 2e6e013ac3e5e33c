#include <protocol/AsciiCommand.h>

#include <gtest/gtest.h>

#include <deque>

namespace
{
ParAccess Par(int index, ParWidth width, int bit = 0)
{
    return {index >= kFirstMemoryWord ? ParArea::Memory : ParArea::Parameter, index, width, bit};
}

class CTextSource : public CByteSource
{
public:
    explicit CTextSource(const std::string& text) : m_bytes(text.begin(), text.end()) {}
    bool ReadByte(BYTE& byte) override
    {
        if (m_bytes.empty())
            return false;
        byte = static_cast<BYTE>(m_bytes.front());
        m_bytes.pop_front();
        return true;
    }
    size_t Left() const { return m_bytes.size(); }

private:
    std::deque<char> m_bytes;
};
} // namespace

TEST(AsciiCommandTest, CommandsFollowTheAccessWidth)
{
    EXPECT_EQ(BuildAsciiReadCommand(Par(12, ParWidth::Word)), "X12\r");
    EXPECT_EQ(BuildAsciiReadCommand(Par(12, ParWidth::Byte)), "X12\r");
    EXPECT_EQ(BuildAsciiReadCommand(Par(12, ParWidth::DWord)), "XL12\r");
    EXPECT_EQ(BuildAsciiReadCommand(Par(10, ParWidth::Bit, 9)), "B10.9\r");
    EXPECT_EQ(BuildAsciiReadCommand(Par(0x4000, ParWidth::Word)), "X4096\r");
    EXPECT_EQ(BuildAsciiReadCommand(Par(0x4200, ParWidth::DWord)), "XL4608\r");
    EXPECT_EQ(BuildAsciiWriteCommand(Par(12, ParWidth::Word), 65535), "X12=65535\r");
    EXPECT_EQ(BuildAsciiWriteCommand(Par(12, ParWidth::DWord), -5), "XL12=-5\r");
    EXPECT_EQ(BuildAsciiWriteCommand(Par(0, ParWidth::DWord), static_cast<LONG>(0x80000000u)),
              "XL0=-2147483648\r");
    EXPECT_EQ(BuildAsciiWriteCommand(Par(10, ParWidth::Bit, 3), 1), "B10.3=1\r");
    EXPECT_EQ(BuildAsciiWriteCommand(Par(10, ParWidth::Bit, 3), -1), "B10.3=1\r");
    EXPECT_EQ(BuildAsciiWriteCommand(Par(10, ParWidth::Bit, 3), 0), "B10.3=0\r");
}

TEST(AsciiCommandTest, ReplyEndsWhenCarriageReturnAndLineFeedCame)
{
    struct Row
    {
        const char* wire;
        const char* text;
        bool complete;
        size_t left;
    };
    const Row rows[] = {
        {"0\r\n", "0", true, 0},
        {"0\n\r", "0", true, 0},
        {"12\r\nX", "12", true, 1},
        {"1\r2\r\n", "12\r", true, 0}, // only the first CR is dropped
        {"Ok\r", "Ok", false, 0},
        {"", "", false, 0},
        {"123456789012345678901234567890123\r\n", "123456789012345678901234567890", true, 5},
    };
    for (const Row& row : rows)
    {
        CTextSource source(row.wire);
        const AsciiReply reply = ReadAsciiReply(source);
        EXPECT_EQ(reply.text, row.text) << row.wire;
        EXPECT_EQ(reply.complete, row.complete) << row.wire;
        EXPECT_EQ(source.Left(), row.left) << row.wire;
    }
}

TEST(AsciiCommandTest, ValuesParseOnlyWhenWhollyANumber)
{
    struct Row
    {
        const char* text;
        bool whole;
        LONG value;
    };
    const Row rows[] = {
        {"0", true, 0},
        {"-17", true, -17},
        {"+17", true, 17},
        {"  42", true, 42},
        {"4294967295", true, -1},
        {"-2147483648", true, INT32_MIN},
        {"12a", false, 12},
        {"42 ", false, 42},
        {"ERR", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"99999999999", false, 0},
        {"-2147483649", false, 0},
    };
    for (const Row& row : rows)
    {
        LONG value = 7;
        EXPECT_EQ(ParseAsciiValue(row.text, value), row.whole) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
}

TEST(AsciiCommandTest, WriteIsAcknowledgedByOk)
{
    EXPECT_TRUE(IsAsciiWriteAcknowledge({"Ok", true}));
    EXPECT_TRUE(IsAsciiWriteAcknowledge({"Ok done", true}));
    EXPECT_FALSE(IsAsciiWriteAcknowledge({"ERR", true}));
    EXPECT_FALSE(IsAsciiWriteAcknowledge({"O", true}));
    EXPECT_FALSE(IsAsciiWriteAcknowledge({"Ok", false}));
}
