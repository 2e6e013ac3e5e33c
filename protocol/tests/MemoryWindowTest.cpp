#include "VrnSerTestFixture.h"

#include <protocol/MemoryWindow.h>

class MemoryWindowTest : public VrnSerFixture
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 64; ++i)
            Drive().SetMemoryByte(0x100 + i, static_cast<BYTE>(0xA0 + i));
    }
    std::vector<BYTE> Memory(int from, int count)
    {
        std::vector<BYTE> bytes;
        for (int i = 0; i < count; ++i)
            bytes.push_back(Drive().MemoryByte(from + i));
        return bytes;
    }
    HRESULT Read(LONG address, std::vector<BYTE>& bytes)
    {
        return vrnser->ReadMemory(address, static_cast<LONG>(bytes.size()),
                                  reinterpret_cast<SHORT*>(bytes.data()));
    }
    HRESULT Write(LONG address, std::vector<BYTE> bytes)
    {
        return vrnser->WriteMemory(address, static_cast<LONG>(bytes.size()),
                                   reinterpret_cast<SHORT*>(bytes.data()));
    }
};

TEST_F(MemoryWindowTest, BlocksOfAnyStartAndLengthReadBack)
{
    for (const char* settings : {"VrnSer:0,200#COM:1,9600,E,8,1", "VrnSer:1000,200#COM:1,9600,E,8,1"})
    {
        ASSERT_EQ(Init(settings), S_OK);
        for (int start = 0x100; start < 0x104; ++start)
            for (int length = 0; length <= 9; ++length)
            {
                std::vector<BYTE> bytes(static_cast<size_t>(length), 0x55);
                ASSERT_EQ(Read(start, bytes), S_OK) << settings << " " << start << "+" << length;
                EXPECT_EQ(bytes, Memory(start, length)) << settings << " " << start << "+" << length;
            }
    }
}

TEST_F(MemoryWindowTest, BlocksOfAnyLengthAreWrittenAndTheByteAfterKept)
{
    for (const char* settings : {"VrnSer:0,200#COM:1,9600,E,8,1", "VrnSer:1000,200#COM:1,9600,E,8,1"})
    {
        ASSERT_EQ(Init(settings), S_OK);
        for (bool oneShot : {false, true})
            for (int length = 1; length <= 9; ++length)
            {
                SetUp();
                std::vector<BYTE> block;
                for (int i = 0; i < length; ++i)
                    block.push_back(static_cast<BYTE>(0x10 + i));
                if (oneShot)
                {
                    ASSERT_EQ(vrnser->Packet(PKT_MEM_ONCE, nullptr, 0, nullptr, nullptr), S_OK);
                }
                const BYTE after = Drive().MemoryByte(0x102 + length);
                ASSERT_EQ(Write(0x102, block), S_OK) << settings << " length " << length;
                EXPECT_EQ(Memory(0x102, length), block)
                    << settings << " length " << length << " once " << oneShot;
                EXPECT_EQ(Drive().MemoryByte(0x102 + length), after) << settings << " length " << length;
                EXPECT_EQ(Drive().MemoryByte(0x101), 0xA1);
            }
    }
}

TEST_F(MemoryWindowTest, TheOneShotFlagServesOneWrite)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    ASSERT_EQ(vrnser->Packet(PKT_MEM_ONCE, nullptr, 0, nullptr, nullptr), S_OK);
    const int before = line.FramesServed();
    ASSERT_EQ(Write(0x100, {1, 2, 3, 4}), S_OK);
    EXPECT_EQ(line.FramesServed() - before, 4) << "address, write bit, strobe, one double word";
    EXPECT_TRUE(Drive().ParameterBit(kWindowControlPar, kWindowStrobeBit));
    const int middle = line.FramesServed();
    ASSERT_EQ(Write(0x100, {1, 2, 3, 4}), S_OK);
    EXPECT_EQ(line.FramesServed() - middle, 5) << "address, write bit, strobe cleared, two words";
    EXPECT_FALSE(Drive().ParameterBit(kWindowControlPar, kWindowStrobeBit));
    EXPECT_TRUE(Drive().ParameterBit(kWindowControlPar, kWindowWriteBit));
}

TEST_F(MemoryWindowTest, RefusedArgumentsSendNothing)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    EXPECT_EQ(Write(0x101, {1, 2}), VRNSER_E_TRANSFER);
    EXPECT_EQ(vrnser->ReadMemory(0x100, -1, nullptr), E_INVALIDARG);
    EXPECT_EQ(vrnser->WriteMemory(0x100, 4, nullptr), E_POINTER);
    EXPECT_TRUE(Port().writes.empty());
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(MemoryWindowTest, TheFirstFailingStepEndsTheBlock)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    line.SetFault(ReplyFault::Silent);
    std::vector<BYTE> bytes(8);
    EXPECT_EQ(Read(0x100, bytes), VRNSER_E_TRANSFER);
    EXPECT_EQ(Port().writes.size(), 1u);
    EXPECT_EQ(ErrorCode(), DLE_NO_REPLY);
}
