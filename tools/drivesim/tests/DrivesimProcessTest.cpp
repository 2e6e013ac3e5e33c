#include <PtyLine.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
extern char** environ;

namespace
{
using Bytes = std::vector<BYTE>;
const Bytes kReadParameter5{0x7E, 0x80, 0x02, 0x0A, 0x8C};
} // namespace

// A drivesim process on its own terminal, and the host end opened as a serial port would be.
class DrivesimProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tvsk_drivesim_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        link = (dir / "ttyDrive").string();
    }
    void TearDown() override
    {
        if (host >= 0)
            ::close(host);
        if (pid > 0)
        {
            ::kill(pid, SIGTERM);
            int status = 0;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link goes with the process";
        }
        fs::remove_all(dir);
    }
    void Start(std::vector<std::string> options)
    {
        std::vector<std::string> args{DRIVESIM, "--link", link};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ASSERT_EQ(::posix_spawn(&pid, DRIVESIM, nullptr, nullptr, argv.data(), environ), 0);
        for (int i = 0; i < 6000 && !fs::exists(link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(fs::exists(link));
    }
    void OpenHost(speed_t speed, tcflag_t frame)
    {
        if (host >= 0)
            ::close(host);
        host = ::open(link.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(host, 0);
        termios t{};
        ASSERT_EQ(::tcgetattr(host, &t), 0);
        ::cfmakeraw(&t);
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
        t.c_cflag |= frame | CLOCAL | CREAD;
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
        ASSERT_EQ(::tcsetattr(host, TCSANOW, &t), 0);
    }
    Bytes Transact(const Bytes& request, int waitMs)
    {
        EXPECT_EQ(::write(host, request.data(), request.size()), static_cast<ssize_t>(request.size()));
        Bytes reply;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        while (std::chrono::steady_clock::now() < end)
        {
            pollfd p{host, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            BYTE buffer[64];
            const ssize_t n = ::read(host, buffer, sizeof buffer);
            if (n > 0)
                reply.insert(reply.end(), buffer, buffer + n);
        }
        return reply;
    }

    fs::path dir;
    std::string link;
    pid_t pid = -1;
    int host = -1;
};

TEST_F(DrivesimProcessTest, AnswersOnItsTerminalWithTheParameterFileDefaults)
{
    Start({"--par", TVSK_TEST_DATA_DIR "/sample.par", "--line", "19200,N,8,1"});
    OpenHost(B19200, CS8);
    EXPECT_EQ(Transact({0x7E, 0x80, 0x02, 0x14, 0x96}, 300),
              (Bytes{0x7E, 0x20, 0x02, 0x14, 0xDC, 0x05, 0x17}));
    EXPECT_EQ(Transact({'X', '1', '0', '\r'}, 300), (Bytes{'1', '5', '0', '0', '\r', '\n'}));
}

TEST_F(DrivesimProcessTest, StaysSilentOnAnotherLineSetting)
{
    Start({});
    OpenHost(B19200, CS8);
    EXPECT_TRUE(Transact(kReadParameter5, 300).empty());
    OpenHost(B9600, CS8 | CSTOPB);
    EXPECT_TRUE(Transact(kReadParameter5, 300).empty());
    OpenHost(B9600, CS8);
    EXPECT_EQ(Transact(kReadParameter5, 300).size(), 7u);
}

TEST_F(DrivesimProcessTest, DelaysItsRepliesWhenTold)
{
    Start({"--delay", "400", "--address", "2"});
    OpenHost(B9600, CS8);
    EXPECT_TRUE(Transact(kReadParameter5, 200).empty()) << "address 0 is not played";
    const Bytes read{0x7E, 0x82, 0x02, 0x0A, 0x8E};
    EXPECT_TRUE(Transact(read, 200).empty());
    EXPECT_EQ(Transact({}, 400).size(), 7u);
}

TEST(PtyLineTest, LineSettingsParse)
{
    LineSettings s;
    EXPECT_TRUE(ParseLineSettings("115200,O,7,2", s));
    EXPECT_EQ(s.baud, 115200u);
    EXPECT_EQ(s.parity, 'O');
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.stopBits, 2);
    for (const char* bad : {"4800,E,8,1", "9600,e,8,1", "9600,E,6,1", "9600,E,8,3", "9600,E,8"})
        EXPECT_FALSE(ParseLineSettings(bad, s)) << bad;
}
