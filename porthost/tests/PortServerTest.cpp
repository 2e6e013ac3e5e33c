#include <PortServer.h>

#include <KernelTestSupport.h>

#include <kernel/FileMapping.h>
#include <kernel/Process.h>

#include <cstring>
#include <termios.h>
#include <thread>

using namespace kerneltest;

// Plays the clients' side of the block against a server core running on its own thread.
class PortServerTest : public NamespaceTest
{
protected:
    static constexpr BYTE Port = 11;
    static constexpr DWORD FixtureClient = 1; // a process that never ends

    void SetUp() override
    {
        NamespaceTest::SetUp();
        MapSerialPort(Port, pty.device);
        const PortObjectNames names(SERIAL_PORT_PREFIX, Port);
        mapping =
            CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PORT_BLOCK_SIZE, names.map);
        idMapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                      names.serverId);
        command = CreateEvent(nullptr, FALSE, FALSE, names.commandEvent);
        reply = CreateEvent(nullptr, FALSE, FALSE, names.replyEvent);
        mutex = CreateMutex(nullptr, FALSE, names.mutex);
        block = static_cast<PORT_BLOCK*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        ASSERT_TRUE(server.Open(Port));
        worker = std::thread(ServerThreadProc, &server);
        ASSERT_EQ(Send(PORT_CMD_ATTACH, FixtureClient), 1);
    }
    void TearDown() override
    {
        if (!server.LastDetached())
            Send(PORT_CMD_DETACH, FixtureClient);
        worker.join();
        UnmapViewOfFile(block);
        for (HANDLE handle : {mapping, idMapping, command, reply, mutex})
            CloseHandle(handle);
        EXPECT_TRUE(LeftObjects().empty());
        NamespaceTest::TearDown();
    }

    BYTE Send(BYTE cmd, DWORD argument, BYTE resultBefore = 0)
    {
        block->argument = argument;
        block->result = resultBefore;
        block->command = cmd;
        SetEvent(command);
        EXPECT_EQ(WaitForSingleObject(reply, 5000), WAIT_OBJECT_0);
        return block->result;
    }
    BYTE SetLine(DWORD baud, BYTE bits, BYTE parity, BYTE stop)
    {
        block->line.dataBits = bits;
        block->line.parity = parity;
        block->line.stopBits = stop;
        return Send(PORT_CMD_SETLINE, baud);
    }
    std::string Read(DWORD count, WORD timeout, BYTE* result = nullptr)
    {
        block->readTimeout = timeout;
        const BYTE outcome = Send(PORT_CMD_READ, count);
        if (result)
            *result = outcome;
        return std::string(reinterpret_cast<char*>(block->data), block->transferred);
    }
    BYTE Write(const std::string& bytes)
    {
        std::memcpy(block->data, bytes.data(), bytes.size());
        return Send(PORT_CMD_WRITE, static_cast<DWORD>(bytes.size()));
    }

    PseudoTerminal pty;
    CPortServer server;
    std::thread worker;
    HANDLE mapping = nullptr;
    HANDLE idMapping = nullptr;
    HANDLE command = nullptr;
    HANDLE reply = nullptr;
    HANDLE mutex = nullptr;
    PORT_BLOCK* block = nullptr;
};

TEST_F(PortServerTest, LineSettingShowsItsTextAndReachesTheDevice)
{
    EXPECT_EQ(SetLine(9600, 8, 2, 0), 1);
    EXPECT_EQ(server.LineText(), "9600,E,8,1");
    termios settings;
    ASSERT_EQ(tcgetattr(pty.master, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), speed_t(B9600));

    EXPECT_EQ(SetLine(4800, 7, 9, 7), 0); // refused by the device, yet shown
    EXPECT_EQ(server.LineText(), "4800,.,7,.");
    EXPECT_EQ(CPortDevice::FormatLine(19200, 8, 3, 1), "19200,M,8,1.5");
}

TEST_F(PortServerTest, ReadsFollowTheirTimeoutAndTheCacheAfterALineSetting)
{
    ASSERT_EQ(SetLine(9600, 8, 0, 0), 1);
    pty.Write("ab");
    Sleep(50);
    BYTE result = 0;
    EXPECT_EQ(Read(5, PORT_TIMEOUT_IMMEDIATE, &result), "ab");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Read(5, 100, &result), "");
    EXPECT_EQ(result, 1); // a time-out is no failure; the count tells

    ASSERT_EQ(SetLine(9600, 8, 0, 0), 1);
    std::thread late(
        [&]
        {
            Sleep(150);
            pty.Write("xyz");
        });
    EXPECT_EQ(Read(3, PORT_TIMEOUT_UNSET), "xyz"); // keeps the all-zero time-outs: waits for all
    late.join();
}

TEST_F(PortServerTest, TransfersAboveTheDataAreaAreRefused)
{
    EXPECT_EQ(Send(PORT_CMD_READ, 1025, 1), 0);
    EXPECT_EQ(block->transferred, 0u);
    EXPECT_EQ(Send(PORT_CMD_WRITE, 5000, 1), 0);
    EXPECT_EQ(Write("ok"), 1);
    EXPECT_EQ(block->transferred, 2u);
    EXPECT_EQ(pty.Read(2), "ok");
}

TEST_F(PortServerTest, PropertiesBreakAndUnknownCommands)
{
    block->property = PORT_PROPERTY_BREAK;
    EXPECT_EQ(Send(PORT_CMD_PROPERTY, block->argument), 1);
    EXPECT_EQ(Send(PORT_CMD_PROPERTY, 0x1001, 1), 0);
    EXPECT_EQ(Send(PORT_CMD_PURGE, 0), 1);
    EXPECT_EQ(Send(9, 0, 0x5A), 0x5A); // left as it was, yet answered
}

TEST_F(PortServerTest, AClientAttachedTwiceNeedsTwoDetaches)
{
    const DWORD self = GetCurrentProcessId();
    EXPECT_EQ(Send(PORT_CMD_ATTACH, self), 1);
    EXPECT_EQ(server.ClientCount(), 2);
    EXPECT_EQ(Send(PORT_CMD_DETACH, 424242), 0);
    EXPECT_FALSE(server.LastDetached());
    EXPECT_EQ(Send(PORT_CMD_DETACH, self), 1);
    EXPECT_FALSE(server.LastDetached());
    EXPECT_EQ(server.DetachClient(FixtureClient), 1); // through the block, as a client does
    EXPECT_TRUE(server.LastDetached());
}

TEST_F(PortServerTest, EndingWithoutClientsWaitsForTheLastOne)
{
    server.EndWithoutClients();
    EXPECT_FALSE(server.LastDetached()) << "a client is attached";
    EXPECT_EQ(Send(PORT_CMD_ATTACH, GetCurrentProcessId()), 1);
    EXPECT_EQ(Send(PORT_CMD_DETACH, GetCurrentProcessId()), 1);
    EXPECT_EQ(server.ClientCount(), 1);
    server.EndWithoutClients();
    EXPECT_FALSE(server.LastDetached());
}

TEST_F(PortServerTest, ClientsWhoseProcessEndedAreForgotten)
{
    PROCESS_INFORMATION ended;
    ASSERT_TRUE(
        CreateProcess("/bin/true", "true", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &ended));
    WaitForSingleObject(ended.hProcess, 5000);
    EXPECT_EQ(Send(PORT_CMD_ATTACH, ended.dwProcessId), 1);
    EXPECT_EQ(Send(PORT_CMD_ATTACH, GetCurrentProcessId()), 1);
    EXPECT_EQ(Send(PORT_CMD_DETACH, GetCurrentProcessId()), 1);
    EXPECT_EQ(server.ClientCount(), 1); // the ended one is gone with this detach
    CloseHandle(ended.hProcess);
}

TEST_F(PortServerTest, TheSpyRecordsOnlyWhileSwitchedOn)
{
    EXPECT_EQ(Write("quiet"), 1);
    EXPECT_EQ(server.Spy().SentCount(), 0u);
    EXPECT_FALSE(server.Spy().IsOn());
    server.Spy().SetOn(true);
    EXPECT_EQ(Write("tx"), 1);
    pty.Write("rx!");
    Sleep(50);
    EXPECT_EQ(Read(3, 500), "rx!");
    const CPortSpy& spy = server.Spy();
    EXPECT_EQ(spy.SentCount(), 2u);
    EXPECT_EQ(spy.ReceivedCount(), 3u);
    EXPECT_EQ(spy.FillCount(), 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(spy.Bytes()), 5), "txrx!");
    EXPECT_EQ(spy.Tags()[1], SPY_SENT);
    EXPECT_EQ(spy.Tags()[2], SPY_RECEIVED);
}

TEST(PortSpyTest, TheRingWrapsAndFillsUpToItsSize)
{
    CPortSpy spy;
    spy.SetOn(true);
    std::vector<BYTE> bytes(1000, 0x11);
    spy.Record(1000, bytes.data(), SPY_SENT);
    bytes.assign(1024, 0x22);
    spy.Record(30, bytes.data(), SPY_RECEIVED);
    EXPECT_EQ(spy.WritePosition(), 6);
    EXPECT_EQ(spy.FillCount(), 1024);
    EXPECT_EQ(spy.Bytes()[5], 0x22);
    EXPECT_EQ(spy.Bytes()[6], 0x11);
    spy.Record(5000, bytes.data(), SPY_RECEIVED); // a count past the ring takes the ring only
    EXPECT_EQ(spy.WritePosition(), 6);
    EXPECT_EQ(spy.ReceivedCount(), 5030u);
}

class PortServerOpenTest : public NamespaceTest
{
};

TEST_F(PortServerOpenTest, PortNumbersAreReducedToEightBitsAndFromTenNamedAsDevices)
{
    EXPECT_EQ(PortNumberArgument("266"), 10);
    EXPECT_EQ(PortNumberArgument("3"), 3);
    EXPECT_EQ(PortNumberArgument(nullptr), 0);
    PseudoTerminal nine;
    PseudoTerminal ten;
    MapSerialPort(9, nine.device);
    MapSerialPort(10, ten.device);
    CPortDevice first;
    CPortDevice second;
    EXPECT_TRUE(first.Open(9));
    EXPECT_TRUE(second.Open(10));
}

TEST_F(PortServerOpenTest, MissingObjectsOrDeviceFailTheOpen)
{
    MapSerialPort(3, "/nonexistent/tty");
    CPortServer server;
    EXPECT_FALSE(server.Open(3));
    const PortObjectNames names(SERIAL_PORT_PREFIX, 3);
    HANDLE mutex = CreateMutex(nullptr, FALSE, names.mutex);
    HANDLE command = CreateEvent(nullptr, FALSE, FALSE, names.commandEvent);
    HANDLE reply = CreateEvent(nullptr, FALSE, FALSE, names.replyEvent);
    HANDLE mapping =
        CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PORT_BLOCK_SIZE, names.map);
    HANDLE id = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, names.serverId);
    CPortServer withObjects;
    EXPECT_FALSE(withObjects.Open(3)); // the device is missing
    for (HANDLE handle : {mutex, command, reply, mapping, id})
        CloseHandle(handle);
}
