#include "PortTestSupport.h"

#include <port/ComModem.h>

#include <kernel/Sync.h>

#include <atomic>
#include <cstring>
#include <thread>

using namespace porttest;

// Stands in for the modem server: answers line commands, connecting only the number "good".
class ComModemTest : public PortTest
{
protected:
    void SetUp() override
    {
        PortTest::SetUp();
        const PortObjectNames names(MODEM_PORT_PREFIX, Port);
        mapping =
            CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PORT_BLOCK_SIZE, names.map);
        idMapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                      names.serverId);
        command = CreateEvent(nullptr, FALSE, FALSE, names.commandEvent);
        reply = CreateEvent(nullptr, FALSE, FALSE, names.replyEvent);
        mutex = CreateMutex(nullptr, FALSE, names.mutex);
        block = static_cast<PORT_BLOCK*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        serverId = static_cast<DWORD*>(MapViewOfFile(idMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        *serverId = GetCurrentProcessId();
        server = std::thread([this] { Serve(); });
    }
    void TearDown() override
    {
        stop = true;
        SetEvent(command);
        server.join();
        UnmapViewOfFile(block);
        UnmapViewOfFile(serverId);
        for (HANDLE handle : {mapping, idMapping, command, reply, mutex})
            CloseHandle(handle);
        EXPECT_TRUE(LeftObjects().empty());
        PortTest::TearDown();
    }

    void Serve()
    {
        while (WaitForSingleObject(command, INFINITE) == WAIT_OBJECT_0 && !stop)
        {
            if (block->command == PORT_CMD_SETLINE)
            {
                dialled = ReadDialNumber(*block).str();
                baud = block->argument;
                block->result = dialled == "good" ? 1 : 0;
            }
            else if (block->command == PORT_CMD_ATTACH || block->command == PORT_CMD_DETACH)
            {
                attachments += block->command == PORT_CMD_ATTACH ? 1 : -1;
                block->result = 1;
            }
            SetEvent(reply);
        }
    }

    HANDLE mapping = nullptr;
    HANDLE idMapping = nullptr;
    HANDLE command = nullptr;
    HANDLE reply = nullptr;
    HANDLE mutex = nullptr;
    PORT_BLOCK* block = nullptr;
    DWORD* serverId = nullptr;
    std::thread server;
    std::atomic<bool> stop = false;
    std::atomic<int> attachments = 0;
    std::string dialled;
    DWORD baud = 0;
};

TEST_F(ComModemTest, AConnectedModemStaysOpenWithItsNumberInTheBlock)
{
    ComModem modem(Port, 19200, 8, 0, 0, "good");
    EXPECT_TRUE(modem.com_ok());
    EXPECT_EQ(dialled, "good");
    EXPECT_EQ(baud, 19200u);
    EXPECT_EQ(attachments, 1);
    modem.close();
    EXPECT_EQ(attachments, 0);
}

TEST_F(ComModemTest, AModemThatDoesNotConnectIsClosedAtOnce)
{
    ComModem modem(Port, 9600, 8, 0, 0, "busy");
    EXPECT_FALSE(modem.com_ok());
    EXPECT_EQ(attachments, 0);
}

TEST_F(ComModemTest, TheDialNumberStaysWithinItsField)
{
    const std::string longNumber(200, '7');
    ComModem modem(Port, 9600, 8, 0, 0, longNumber.c_str());
    EXPECT_EQ(dialled, std::string(127, '7'));
    const auto* bytes = reinterpret_cast<const BYTE*>(block);
    EXPECT_EQ(bytes[PORT_DIAL_OFFSET + 127], 0);

    std::memset(block, 'x', PORT_BLOCK_SIZE); // a block without a terminator
    EXPECT_EQ(ReadDialNumber(*block).GetLength(), 127);
}
