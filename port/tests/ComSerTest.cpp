#include "PortTestSupport.h"

#include <port/ComSer.h>

#include <kernel/Sync.h>
#include <kernel/Time.h>

#include <cstring>
#include <memory>
#include <signal.h>
#include <termios.h>
#include <thread>

using namespace porttest;

namespace
{
unsigned char* Bytes(const char* text)
{
    return reinterpret_cast<unsigned char*>(const_cast<char*>(text));
}
} // namespace

class ComSerTest : public PortTest
{
protected:
    std::string Get(ComSer& port, unsigned short timeout, unsigned long len, int* result = nullptr)
    {
        unsigned char buffer[1024] = {};
        const int ok = port.get(buffer, timeout, len);
        if (result)
            *result = ok;
        return std::string(reinterpret_cast<char*>(buffer), std::strlen(reinterpret_cast<char*>(buffer)));
    }
};

TEST_F(ComSerTest, TheFirstClientStartsTheServerAndBytesTravelBothWays)
{
    ComSer port(Port, 9600, 8, 2, 0);
    ASSERT_TRUE(port.com_ok());
    EXPECT_TRUE(port.put(Bytes("HELLO\r"), 6));
    EXPECT_TRUE(port.put('!'));
    EXPECT_EQ(pty.Read(7), "HELLO\r!");

    pty.Write("abc");
    int result = 0;
    EXPECT_EQ(Get(port, 1000, 3, &result), "abc");
    EXPECT_EQ(result, 1);
    pty.Write("z");
    unsigned char one = 0;
    EXPECT_EQ(port.get(&one), 1);
    EXPECT_EQ(one, 'z');
    pty.Write("y");
    EXPECT_EQ(port.get(), 'y');
}

TEST_F(ComSerTest, ReadsEndAsTheirTimeoutSays)
{
    ComSer port(Port, 19200, 8, 0, 0);
    ASSERT_TRUE(port.com_ok());
    pty.Write("ab");
    Sleep(50);
    int result = 0;
    DWORD start = GetTickCount();
    EXPECT_EQ(Get(port, 0xFFFF, 5, &result), "ab"); // at once with what came, copied though short
    EXPECT_EQ(result, 0);
    EXPECT_LT(GetTickCount() - start, 200u);

    start = GetTickCount();
    EXPECT_EQ(Get(port, 150, 5, &result), "");
    EXPECT_EQ(result, 0);
    EXPECT_GE(GetTickCount() - start, 149u);

    std::thread late(
        [&]
        {
            Sleep(200);
            pty.Write("xyz");
        });
    EXPECT_EQ(Get(port, 0, 3, &result), "xyz"); // no time-out: waits for all
    EXPECT_EQ(result, 1);
    late.join();
}

TEST_F(ComSerTest, PurgeDropsReceivedBytes)
{
    ComSer port(Port, 9600, 8, 0, 0);
    pty.Write("old");
    Sleep(50);
    port.reset();
    pty.Write("new");
    EXPECT_EQ(Get(port, 500, 3), "new");
}

TEST_F(ComSerTest, LineSettingsReachTheTerminal)
{
    ComSer port(Port, 9600, 8, 0, 0);
    port.setline(38400, 8, 2, 2);
    termios settings;
    ASSERT_EQ(tcgetattr(pty.master, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), speed_t(B38400));
    EXPECT_TRUE(settings.c_cflag & CSTOPB);
    unsigned char zero = 0;
    EXPECT_EQ(port.put_property(0x1000, &zero), 1);
    EXPECT_EQ(port.put_property(0x1001, &zero), 0);
}

TEST_F(ComSerTest, TransfersAboveTheDataAreaOrWithoutABufferAreRefused)
{
    ComSer port(Port, 9600, 8, 0, 0);
    EXPECT_EQ(port.put(nullptr, 4), 0);
    EXPECT_EQ(port.get(nullptr, 10, 4), 0);
    EXPECT_EQ(port.get(nullptr), 0);
    std::vector<unsigned char> big(1025, 'q');
    EXPECT_EQ(port.put(big.data(), 1025), 0);
    EXPECT_EQ(port.get(big.data(), 10, 1025), 0);
    EXPECT_EQ(port.put(big.data(), 1024), 1);
    EXPECT_EQ(pty.Read(1024).size(), 1024u);
}

TEST_F(ComSerTest, ClientsContendForTheLockAcrossProcesses)
{
    ComSer port(Port, 9600, 8, 0, 0);
    ASSERT_TRUE(port.com_ok());
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, "Ready");
    PROCESS_INFORMATION other = StartClient("lock-write", "Ready first 400");
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(port.lock(100), 0); // held by the other process
    const DWORD start = GetTickCount();
    ASSERT_EQ(port.lock(3000), 1);
    EXPECT_GE(GetTickCount() - start, 150u);
    EXPECT_TRUE(port.put(Bytes("second"), 6));
    port.unlock();
    EXPECT_EQ(pty.Read(11), "firstsecond"); // the holder's command came before ours
    EXPECT_EQ(kerneltest::ExitCodeAfterEnd(other.hProcess), 0u);
    CloseHandle(other.hProcess);
    CloseHandle(ready);
}

TEST_F(ComSerTest, TheServerEndsAtTheLastDetachAndLeavesNoObject)
{
    auto first = std::make_unique<ComSer>(Port, 9600, 8, 0, 0);
    auto second = std::make_unique<ComSer>(Port, 9600, 8, 0, 0); // the same process attached twice
    ASSERT_TRUE(first->com_ok() && second->com_ok());
    EXPECT_EQ(second->setcom(Port), 1);
    HANDLE server = ServerProcess();
    ASSERT_NE(server, nullptr);
    first.reset();
    EXPECT_EQ(WaitForSingleObject(server, 300), WAIT_TIMEOUT);
    EXPECT_TRUE(second->put('k'));
    second.reset();
    EXPECT_EQ(WaitForSingleObject(server, 5000), WAIT_OBJECT_0);
    CloseHandle(server);
    EXPECT_TRUE(NothingLeftWithin(60000));
}

TEST_F(ComSerTest, AClientKilledHoldingTheLockDoesNotHangTheOthers)
{
    ComSer port(Port, 9600, 8, 0, 0);
    ASSERT_TRUE(port.com_ok());
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, "Ready");
    PROCESS_INFORMATION killed = StartClient("hold-lock", "Ready");
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    HANDLE server = ServerProcess();
    kill(static_cast<pid_t>(killed.dwProcessId), SIGKILL);
    ASSERT_EQ(WaitForSingleObject(killed.hProcess, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(port.lock(3000), 1);
    EXPECT_TRUE(port.put(Bytes("alive"), 5));
    port.unlock();
    EXPECT_EQ(pty.Read(5), "alive");
    port.close();
    EXPECT_EQ(WaitForSingleObject(server, 5000), WAIT_OBJECT_0); // the killed client is not waited for
    CloseHandle(server);
    CloseHandle(killed.hProcess);
    CloseHandle(ready);
    EXPECT_TRUE(NothingLeftWithin(60000));
}

TEST_F(ComSerTest, AClientThatDidNotStartTheServerSeesItsEnd)
{
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, "Ready");
    PROCESS_INFORMATION starter = StartClient("hold-open", "Ready");
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    ComSer port(Port, 9600, 8, 0, 0);
    ASSERT_TRUE(port.com_ok());
    HANDLE server = ServerProcess();
    ASSERT_NE(server, nullptr);
    kill(static_cast<pid_t>(ServerId()), SIGKILL);
    WaitForSingleObject(server, 5000);
    const DWORD start = GetTickCount();
    EXPECT_EQ(port.put('x'), 0); // not the last success read again
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_FALSE(port.com_ok());
    kill(static_cast<pid_t>(starter.dwProcessId), SIGKILL);
    WaitForSingleObject(starter.hProcess, 5000);
    CloseHandle(starter.hProcess);
    CloseHandle(server);
    CloseHandle(ready);
}

TEST_F(ComSerTest, AServerThatCannotOpenTheDeviceFailsTheOpen)
{
    kerneltest::MapSerialPort(Port, "/nonexistent/tty");
    ComSer port(Port, 9600, 8, 0, 0);
    EXPECT_FALSE(port.com_ok());
    EXPECT_EQ(port.put('x'), 0);
    port.close();
    EXPECT_TRUE(NothingLeftWithin(60000));
}

TEST_F(ComSerTest, OperationsOnAClosedClientFail)
{
    ComSer port;
    EXPECT_EQ(port.setcom(0), 1); // a fresh client holds port 0
    EXPECT_FALSE(port.com_ok());
    unsigned char byte = 0;
    EXPECT_EQ(port.get(&byte), 0);
    EXPECT_EQ(port.put('x'), 0);
    EXPECT_EQ(port.lock(10), 0);
    EXPECT_EQ(port.put_property(0x1000, &byte), 0);
    EXPECT_EQ(port.get_msg(nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(port.flush(), 1);
}

TEST_F(ComSerTest, ABlockLeftWithoutAServerIsGivenUp)
{
    const PortObjectNames names(SERIAL_PORT_PREFIX, Port);
    HANDLE mapping =
        CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PORT_BLOCK_SIZE, names.map);
    const DWORD start = GetTickCount();
    ComSer port(Port, 9600, 8, 0, 0); // finds the block, so starts no server
    EXPECT_FALSE(port.com_ok());
    EXPECT_LT(GetTickCount() - start, 5000u);
    port.close();
    CloseHandle(mapping);
    EXPECT_TRUE(NothingLeftWithin(60000));
}

TEST_F(ComSerTest, AClientFindingTheBlockWithoutItsServerStartsANewOne)
{
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, "Ready");
    PROCESS_INFORMATION other = StartClient("hold-open", "Ready");
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    HANDLE killed = ServerProcess();
    ASSERT_NE(killed, nullptr);
    kill(static_cast<pid_t>(ServerId()), SIGKILL);
    ASSERT_EQ(WaitForSingleObject(killed, 5000), WAIT_OBJECT_0);
    // The other client still holds the block; every reconnect finds it without a server.
    for (const char* text : {"first", "again"})
    {
        ComSer port(Port, 9600, 8, 0, 0);
        ASSERT_TRUE(port.com_ok()) << text;
        EXPECT_TRUE(port.put(Bytes(text), 5));
        EXPECT_EQ(pty.Read(5), text);
        HANDLE server = ServerProcess();
        port.close();
        EXPECT_EQ(WaitForSingleObject(server, 5000), WAIT_OBJECT_0); // its last client detached
        CloseHandle(server);
    }
    kill(static_cast<pid_t>(other.dwProcessId), SIGKILL);
    WaitForSingleObject(other.hProcess, 5000);
    CloseHandle(other.hProcess);
    CloseHandle(killed);
    CloseHandle(ready);
}
