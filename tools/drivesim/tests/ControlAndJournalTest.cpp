// Control commands, the journal of served requests, and the running process with both.
#include <ControlChannel.h>
#include <RequestJournal.h>

#include <protocol/BinaryFrame.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
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
using Lines = std::vector<std::string>;

Bytes Text(const std::string& text)
{
    return {text.begin(), text.end()};
}

Bytes Request(int word, ParWidth width, int bit = 0)
{
    ParAccess access;
    access.index = word;
    access.width = width;
    access.bit = bit;
    return BuildBinaryReadRequest(0, access);
}
} // namespace

TEST(ControlChannelTest, SetsWordsAndFaults)
{
    CDriveLine line({0, 3});
    EXPECT_TRUE(CControlChannel::Apply("set 75 1", line));
    EXPECT_TRUE(CControlChannel::Apply("set 3 -1", line));
    EXPECT_EQ(line.Drive(0)->Parameter(75, 2), 1u);
    EXPECT_EQ(line.Drive(0)->Parameter(3, 2), 0xFFFFu);
    EXPECT_EQ(line.Drive(3)->Parameter(75, 2), 0u) << "the first drive only";
    EXPECT_TRUE(CControlChannel::Apply("fault silent", line));
    EXPECT_TRUE(line.Receive(Text("X75\r")).empty());
    EXPECT_TRUE(CControlChannel::Apply("fault none", line));
    EXPECT_EQ(line.Receive(Text("X75\r")), Text("1\r\n"));
    EXPECT_TRUE(CControlChannel::Apply("delay 400", line));
    EXPECT_EQ(line.ReplyDelayMs(), 400);
    EXPECT_TRUE(CControlChannel::Apply("delay 0", line));
    EXPECT_EQ(line.ReplyDelayMs(), 0);
    for (const char* bad : {"set 75", "set x 1", "set 9000 1", "set 1 70000", "set 1 2 3", "fault loud",
                            "reset", "delay", "delay -1", "delay 60001", "delay 5 5", ""})
        EXPECT_FALSE(CControlChannel::Apply(bad, line)) << bad;
}

TEST(RequestJournalTest, ALinePerServedRequest)
{
    CDriveLine line({0});
    Lines lines;
    line.SetJournal([&lines](const ServedRequest& r) { lines.push_back(CRequestJournal::Line(r)); });
    line.Drive(0)->SetParameter(33, 2, 250);
    line.Receive(Request(33, ParWidth::Word));
    line.Receive(Request(84, ParWidth::DWord));
    ParAccess bit;
    bit.index = 42;
    bit.width = ParWidth::Bit;
    bit.bit = 11;
    line.Receive(BuildBinaryWriteRequest(0, bit, 1));
    ParAccess word;
    word.index = 33;
    line.Receive(BuildBinaryWriteRequest(0, word, 300));
    line.Receive(Text("X33\r"));
    line.Receive(Text("B42.2=1\r"));
    line.SetFault(ReplyFault::Silent);
    line.Receive(Text("X33\r"));
    EXPECT_EQ(lines, (Lines{"read 33 16 250", "read 84 32 0", "write 42.11 1 1", "write 33 16 300",
                            "read 33 16 300", "write 42.2 1 1"}));
}

// drivesim with a control pipe and a journal, its host end opened as a port would be.
class DrivesimControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tvsk_drivesim_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        link = (dir / "ttyDrive").string();
        pipe = (dir / "control").string();
        journal = (dir / "journal.txt").string();
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
        }
        fs::remove_all(dir);
    }
    void Start(std::vector<std::string> options)
    {
        std::vector<std::string> args{DRIVESIM, "--link", link, "--control", pipe, "--journal", journal};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ASSERT_EQ(::posix_spawn(&pid, DRIVESIM, nullptr, nullptr, argv.data(), environ), 0);
        for (int i = 0; i < 200 && !fs::exists(link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(fs::exists(link));
        host = ::open(link.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(host, 0);
        termios t{};
        ASSERT_EQ(::tcgetattr(host, &t), 0);
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ASSERT_EQ(::tcsetattr(host, TCSANOW, &t), 0);
    }
    void Control(const std::string& line)
    {
        std::ofstream out(pipe);
        out << line << "\n";
    }
    // Sends the request and collects whatever comes for waitMs.
    Bytes Transact(const Bytes& request, int waitMs)
    {
        if (!request.empty())
        {
            EXPECT_EQ(::write(host, request.data(), request.size()), static_cast<ssize_t>(request.size()));
        }
        Bytes reply;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        while (std::chrono::steady_clock::now() < end)
        {
            pollfd p{host, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0)
                continue;
            BYTE buffer[512];
            const ssize_t n = ::read(host, buffer, sizeof buffer);
            if (n > 0)
                reply.insert(reply.end(), buffer, buffer + n);
        }
        return reply;
    }
    Lines JournalLines()
    {
        std::ifstream in(journal);
        Lines lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    fs::path dir;
    std::string link, pipe, journal;
    pid_t pid = -1;
    int host = -1;
};

TEST_F(DrivesimControlTest, ControlLinesTakeEffectWhileRunningAndTheJournalFollows)
{
    Start({"--par", TVSK_SAMPLE_DATA_DIR "/TK20/TK20.par"});
    EXPECT_EQ(Transact(Text("X167\r"), 200), Text("2050\r\n")) << "the identification code of the sample";
    Control("set 75 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Transact(Text("X75\r"), 200), Text("1\r\n"));
    Control("fault silent");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(Transact(Text("X75\r"), 200).empty());
    Control("fault none");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Transact(Request(75, ParWidth::Word), 200).size(), 7u);
    EXPECT_EQ(JournalLines(), (Lines{"read 167 16 2050", "read 75 16 1", "read 75 16 1"}));
}

TEST_F(DrivesimControlTest, StreamRunsAtItsRateAndStopsBeforeTheNextFrame)
{
    Start({});
    const Bytes started = Transact(Text("B42.11=1\r"), 1000);
    ASSERT_GE(started.size(), 4u);
    ASSERT_EQ(Bytes(started.begin(), started.begin() + 4), Text("Ok\r\n"))
        << "acknowledged before the first frame";
    const size_t frames = (started.size() - 4) / 4;
    EXPECT_EQ((started.size() - 4) % 4, 0u);
    EXPECT_GE(frames, 200u);
    EXPECT_LE(frames, 250u);
    for (size_t i = 4; i + 4 <= started.size(); i += 4)
    {
        ASSERT_TRUE((started[i] & 1) && !(started[i + 2] & 1) && !(started[i + 3] & 1)) << "frame at " << i;
    }

    const Bytes stopping = Transact(Text("B42.11=0\r"), 300);
    ASSERT_GE(stopping.size(), 4u);
    EXPECT_EQ(Bytes(stopping.end() - 4, stopping.end()), Text("Ok\r\n"))
        << "nothing after the acknowledgement";
    EXPECT_TRUE(Transact({}, 100).empty());
}

TEST_F(DrivesimControlTest, BinaryStartIsAnsweredByTheStreamAloneAndMotionMovesTheMonitorWords)
{
    Start({"--motion", "8"});
    ParAccess bit;
    bit.index = 42;
    bit.width = ParWidth::Bit;
    bit.bit = 11;
    const Bytes started = Transact(BuildBinaryWriteRequest(0, bit, 1), 100);
    ASSERT_GE(started.size(), 8u);
    EXPECT_TRUE((started[0] & 1) && !(started[2] & 1)) << "the first bytes are a frame, no acknowledgement";
    EXPECT_EQ(started.size() % 4, 0u);
    Transact(BuildBinaryWriteRequest(0, bit, 0), 100);
    const Bytes position = Transact(Text("XL84\r"), 100);
    const long counts = std::stol(std::string(position.begin(), position.end()));
    EXPECT_GT(counts, 8 * 40) << "the position moved all along";
}
