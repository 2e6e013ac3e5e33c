#include "KernelTestSupport.h"

#include <csignal>

#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace kerneltest;

class SerialTest : public NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        ASSERT_FALSE(pty.device.empty());
        MapSerialPort(12, pty.device);
        port =
            CreateFile("\\\\.\\COM12", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(port, INVALID_HANDLE_VALUE);
    }
    void TearDown() override
    {
        CloseHandle(port);
        NamespaceTest::TearDown();
    }

    void SetReadTimeouts(DWORD interval, DWORD constant)
    {
        COMMTIMEOUTS timeouts;
        timeouts.ReadIntervalTimeout = interval;
        timeouts.ReadTotalTimeoutConstant = constant;
        ASSERT_TRUE(SetCommTimeouts(port, &timeouts));
    }

    std::string ReadPort(DWORD count)
    {
        char buffer[64] = {};
        DWORD got = 0;
        EXPECT_TRUE(ReadFile(port, buffer, count, &got, nullptr));
        return std::string(buffer, got);
    }

    PseudoTerminal pty;
    HANDLE port = INVALID_HANDLE_VALUE;
};

TEST_F(SerialTest, BytesTravelRawBothWays)
{
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(port, "a\nb\r", 4, &written, nullptr));
    EXPECT_EQ(written, 4u);
    EXPECT_EQ(pty.Read(4), "a\nb\r");
    pty.Write("x\ry\n");
    EXPECT_EQ(ReadPort(4), "x\ry\n"); // no echo, no line editing
}

TEST_F(SerialTest, ReadWaitsAsItsTimeoutsSay)
{
    SetReadTimeouts(MAXDWORD, 0);
    pty.Write("ab");
    Sleep(50);
    const DWORD start = GetTickCount();
    EXPECT_EQ(ReadPort(10), "ab");
    EXPECT_LT(GetTickCount() - start, 50u);

    SetReadTimeouts(100, 100);
    pty.Write("cd");
    const DWORD timed = GetTickCount();
    EXPECT_EQ(ReadPort(10), "cd");
    EXPECT_GE(GetTickCount() - timed, 99u);

    SetReadTimeouts(0, 0);
    pty.Write("e");
    std::thread late(
        [&]
        {
            Sleep(100);
            pty.Write("fg");
        });
    EXPECT_EQ(ReadPort(3), "efg");
    late.join();
}

TEST_F(SerialTest, PurgeDropsWhatWasReceived)
{
    SetReadTimeouts(MAXDWORD, 0);
    pty.Write("stale");
    Sleep(50);
    EXPECT_TRUE(PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR));
    EXPECT_EQ(ReadPort(10), "");
}

TEST_F(SerialTest, LineSettingsReachTheTerminal)
{
    DCB dcb;
    ASSERT_TRUE(GetCommState(port, &dcb));
    dcb.BaudRate = 19200;
    dcb.StopBits = TWOSTOPBITS;
    dcb.Parity = MARKPARITY;
    ASSERT_TRUE(SetCommState(port, &dcb));
    termios settings;
    ASSERT_EQ(tcgetattr(pty.master, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), speed_t(B19200));
    EXPECT_TRUE(settings.c_cflag & CSTOPB);

    dcb.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(port, &dcb));
    dcb.BaudRate = 9600;
    dcb.Parity = 5;
    EXPECT_FALSE(SetCommState(port, &dcb));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(SetCommBreak(port));
    EXPECT_TRUE(ClearCommBreak(port));
}

TEST_F(SerialTest, APortIsOpenedOnlyOnce)
{
    EXPECT_EQ(CreateFile("COM12", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(CreateFile("COM256", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFile("LPT1", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

// Ordinary users meet what root does not: a line another holder left must open again.
TEST_F(SerialTest, APortClosedOrLeftByAKilledHolderOpensAgain)
{
    const auto open = []
    { return CreateFile("COM12", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr); };
    CloseHandle(port);
    port = open();
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    CloseHandle(port);
    port = INVALID_HANDLE_VALUE;
    const pid_t holder = fork();
    if (holder == 0)
    {
        if (open() != INVALID_HANDLE_VALUE)
            raise(SIGKILL); // ends holding the line
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(holder, &status, 0), holder);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the holder could not open the line";
    port = open();
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
}
