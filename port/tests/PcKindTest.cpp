#include "PortKindTestSupport.h"

#include <port/ComPC.h>

#include <kernel/Kernel.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

using namespace porttest;

namespace
{

// The program that keeps a "PC.MAP<n>" block: answers attach, detach, write and read, unless silent.
class PcPeer
{
public:
    explicit PcPeer(int number)
    {
        const std::string n = std::to_string(number);
        mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, pc_block::Size,
                                    ("PC.MAP" + n).c_str());
        command = CreateEvent(nullptr, FALSE, FALSE, ("PC.EVEC" + n).c_str());
        reply = CreateEvent(nullptr, FALSE, FALSE, ("PC.EVER" + n).c_str());
        mutex = CreateMutex(nullptr, FALSE, ("PC.MTX" + n).c_str());
        view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, pc_block::Size);
        worker = std::thread([this] { Serve(); });
    }
    ~PcPeer()
    {
        stop = true;
        worker.join();
        UnmapViewOfFile(view);
        for (HANDLE h : {mapping, command, reply, mutex})
            CloseHandle(h);
    }

    std::atomic<bool> silent{false};
    std::atomic<int> commands{0};

private:
    void Serve()
    {
        const BlockView block(view, pc_block::Size);
        while (!stop)
        {
            if (WaitForSingleObject(command, 20) != WAIT_OBJECT_0)
                continue;
            ++commands;
            if (silent)
                continue;
            if (block.U8(block::Command) == PC_CMD_WRITE)
                std::memcpy(kept, block.Bytes(pc_block::Data), sizeof kept);
            if (block.U8(block::Command) == PC_CMD_READ)
                std::memcpy(block.Bytes(pc_block::Data), kept, sizeof kept);
            block.SetU8(block::Result, 1);
            SetEvent(reply);
        }
    }

    HANDLE mapping;
    HANDLE command;
    HANDLE reply;
    HANDLE mutex;
    void* view;
    unsigned char kept[pc_block::DataCapacity] = {};
    std::atomic<bool> stop{false};
    std::thread worker;
};

long MillisecondsOf(auto&& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count());
}

} // namespace

class PcKindTest : public FakeServerTest
{
};

TEST_F(PcKindTest, WithoutTheOtherProgramsBlockTheOpenFailsAtOnce)
{
    long took = MillisecondsOf(
        []
        {
            ComPC pc(3);
            EXPECT_FALSE(pc.com_ok());
        });
    EXPECT_LT(took, 400);
    EXPECT_FALSE(ObjectExists("PC.MAP3")) << "the block made by the attempt is gone again";
}

TEST_F(PcKindTest, BytesGoThroughTheKeptBlock)
{
    PcPeer peer(259 & 0xFF);
    ComPC pc(259);
    ASSERT_TRUE(pc.com_ok()) << "the number is cut to 8 bits";
    unsigned char text[] = "to the peer";
    ASSERT_EQ(pc.put(text, sizeof text), 1);
    unsigned char back[sizeof text] = {};
    ASSERT_EQ(pc.get(back, 0, sizeof back), 1);
    EXPECT_STREQ(reinterpret_cast<char*>(back), "to the peer");
    std::vector<unsigned char> over(513);
    EXPECT_EQ(pc.put(over.data(), 513), 0);
    EXPECT_EQ(pc.put('c'), 0) << "single bytes are not offered";
    EXPECT_EQ(pc.flush(), 1);
}

TEST_F(PcKindTest, ASilentPeerCostsHalfASecondThenTwentyMilliseconds)
{
    PcPeer peer(5);
    ComPC pc(5);
    ASSERT_TRUE(pc.com_ok());
    peer.silent = true;
    unsigned char byte = 1;
    const long first = MillisecondsOf([&] { EXPECT_EQ(pc.put(&byte, 1), 0); });
    const long next = MillisecondsOf([&] { EXPECT_EQ(pc.put(&byte, 1), 0); });
    EXPECT_GE(first, 480);
    EXPECT_LT(first, 1500);
    EXPECT_LT(next, 300);
    peer.silent = false;
    EXPECT_EQ(pc.put(&byte, 1), 1) << "a reply brings back the longer wait";
}
