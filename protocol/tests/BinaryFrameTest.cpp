#include <protocol/BinaryFrame.h>
#include <protocol/DeviceLinkError.h>

#include <gtest/gtest.h>

#include <deque>

namespace
{
using Bytes = std::vector<BYTE>;

ParAccess Par(int index, ParWidth width, int bit = 0)
{
    return {index >= kFirstMemoryWord ? ParArea::Memory : ParArea::Parameter, index, width, bit};
}

class CListSource : public CByteSource
{
public:
    explicit CListSource(Bytes bytes) : m_bytes(bytes.begin(), bytes.end()) {}
    bool ReadByte(BYTE& byte) override
    {
        if (m_bytes.empty())
            return false;
        byte = m_bytes.front();
        m_bytes.pop_front();
        return true;
    }

private:
    std::deque<BYTE> m_bytes;
};

struct RequestRow
{
    const char* what;
    Bytes frame;
    Bytes expected;
};
} // namespace

TEST(BinaryFrameTest, RequestsAreBuiltByteForByte)
{
    const RequestRow rows[] = {
        {"parameter 63: the low address byte 0x7E is stuffed, the checksum ignores the zero",
         BuildBinaryReadRequest(0, Par(63, ParWidth::Word)),
         {0x7E, 0x80, 0x02, 0x7E, 0x00, 0x00}},
        {"drive 30 reads with command byte 0x9E",
         BuildBinaryReadRequest(30, Par(1, ParWidth::Byte)),
         {0x7E, 0x9E, 0x01, 0x02, 0xA1}},
        {"byte address bits 12..8 sit above the length",
         BuildBinaryReadRequest(1, Par(300, ParWidth::DWord)),
         {0x7E, 0x81, 0x14, 0x58, 0xED}},
        {"memory word 0x4001 has byte address 2",
         BuildBinaryReadRequest(0, Par(0x4001, ParWidth::Word)),
         {0x7E, 0x40, 0x02, 0x02, 0x44}},
        {"bit 3 reads one byte, bit 9 two",
         BuildBinaryReadRequest(0, Par(10, ParWidth::Bit, 3)),
         {0x7E, 0x80, 0x01, 0x14, 0x95}},
        {"bit 9 of parameter 10 set: byte address 21, AND 0xFD, OR 0x02",
         BuildBinaryWriteRequest(0, Par(10, ParWidth::Bit, 9), 1),
         {0x7E, 0xC0, 0x02, 0x15, 0xFD, 0x02, 0xD6}},
        {"a bit value other than 0 sets only that bit",
         BuildBinaryWriteRequest(0, Par(10, ParWidth::Bit, 2), 0xFFFF),
         {0x7E, 0xC0, 0x02, 0x14, 0xFB, 0x04, 0xD5}},
        {"bit cleared",
         BuildBinaryWriteRequest(0, Par(10, ParWidth::Bit, 0), 0),
         {0x7E, 0xC0, 0x02, 0x14, 0xFE, 0x00, 0xD4}},
        {"32-bit write sends the value lowest byte first",
         BuildBinaryWriteRequest(1, Par(5, ParWidth::DWord), 0x12345678),
         {0x7E, 0xA1, 0x04, 0x0A, 0x78, 0x56, 0x34, 0x12, 0xC3}},
        {"a data byte 0x7E is stuffed",
         BuildBinaryWriteRequest(0, Par(2, ParWidth::Word), 0x017E),
         {0x7E, 0xA0, 0x02, 0x04, 0x7E, 0x00, 0x01, 0x25}},
        {"memory write",
         BuildBinaryWriteRequest(2, Par(0x4000, ParWidth::Word), 0xBEEF),
         {0x7E, 0x62, 0x02, 0x00, 0xEF, 0xBE, 0x11}},
        {"drive 30 writing memory has command byte 0x7E, stuffed",
         BuildBinaryWriteRequest(30, Par(0x4000, ParWidth::Word), 0),
         {0x7E, 0x7E, 0x00, 0x02, 0x00, 0x00, 0x00, 0x80}},
    };
    for (const RequestRow& row : rows)
        EXPECT_EQ(row.frame, row.expected) << row.what;
}

TEST(BinaryFrameTest, ReadRepliesAreJudged)
{
    struct Row
    {
        const char* what;
        int driveAddress;
        ParAccess access;
        Bytes reply;
        int error;
        DWORD value;
    };
    const Row rows[] = {
        {"16-bit value",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x20, 0x02, 0x0A, 0x34, 0x12, 0x72},
         DLE_OK,
         0x1234},
        {"one idle byte before the start",
         0,
         Par(5, ParWidth::Word),
         {0xFF, 0x7E, 0x20, 0x02, 0x0A, 0x34, 0x12, 0x72},
         DLE_OK,
         0x1234},
        {"two idle bytes",
         0,
         Par(5, ParWidth::Word),
         {0xFF, 0xFF, 0x7E, 0x20, 0x02, 0x0A, 0x34, 0x12, 0x72},
         DLE_NO_REPLY,
         0},
        {"drive 30 replies 0x3E",
         30,
         Par(1, ParWidth::Byte),
         {0x7E, 0x3E, 0x01, 0x02, 0x99, 0xDA},
         DLE_OK,
         0x99},
        {"stuffed data byte",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x20, 0x02, 0x0A, 0x7E, 0x00, 0x00, 0xAA},
         DLE_OK,
         0x7E},
        {"stuffing missing",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x20, 0x02, 0x0A, 0x7E, 0x01, 0x00, 0xAA},
         DLE_NO_REPLY,
         0},
        {"reply cut short", 0, Par(5, ParWidth::Word), {0x7E, 0x20, 0x02, 0x0A, 0x34}, DLE_NO_REPLY, 0},
        {"no start byte", 0, Par(5, ParWidth::Word), {0x20, 0x02, 0x0A, 0x34, 0x12, 0x72}, DLE_NO_REPLY, 0},
        {"checksum wrong",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x20, 0x02, 0x0A, 0x34, 0x12, 0x73},
         DLE_CHECKSUM,
         0},
        {"another parameter's reply fails",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x20, 0x02, 0x0C, 0x34, 0x12, 0x74},
         DLE_BAD_REPLY,
         0},
        {"another drive's reply fails",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x21, 0x02, 0x0A, 0x34, 0x12, 0x73},
         DLE_BAD_REPLY,
         0},
        {"a request echoed back fails",
         0,
         Par(5, ParWidth::Word),
         {0x7E, 0x80, 0x02, 0x0A, 0x34, 0x12, 0xD2},
         DLE_BAD_REPLY,
         0},
        {"bit 9 from the little-endian word",
         0,
         Par(10, ParWidth::Bit, 9),
         {0x7E, 0x20, 0x02, 0x14, 0x00, 0x02, 0x38},
         DLE_OK,
         1},
        {"bit 8 clear", 0, Par(10, ParWidth::Bit, 8), {0x7E, 0x20, 0x02, 0x14, 0xFF, 0x02, 0x37}, DLE_OK, 0},
        {"32-bit value",
         0,
         Par(5, ParWidth::DWord),
         {0x7E, 0x20, 0x04, 0x0A, 0x78, 0x56, 0x34, 0x12, 0x42},
         DLE_OK,
         0x12345678},
    };
    for (const Row& row : rows)
    {
        CListSource source(row.reply);
        DWORD value = 0xDEAD;
        EXPECT_EQ(ReadBinaryReply(source, row.driveAddress, row.access, value), row.error) << row.what;
        EXPECT_EQ(value, row.value) << row.what;
    }
}

TEST(BinaryFrameTest, WriteAcknowledgesAreJudged)
{
    struct Row
    {
        const char* what;
        Bytes reply;
        int error;
    };
    const Row rows[] = {
        {"own address", {0x7E, 0x23}, DLE_OK},
        {"idle byte first", {0xFF, 0x7E, 0x23}, DLE_OK},
        {"another address", {0x7E, 0x24}, DLE_OTHER_ADDRESS},
        {"nothing", {}, DLE_NO_REPLY},
        {"start byte only", {0x7E}, DLE_NO_REPLY},
        {"a 0x7E reply byte needs its stuffing", {0x7E, 0x7E}, DLE_NO_REPLY},
    };
    for (const Row& row : rows)
    {
        CListSource source(row.reply);
        EXPECT_EQ(ReadBinaryAcknowledge(source, 3), row.error) << row.what;
    }
}
