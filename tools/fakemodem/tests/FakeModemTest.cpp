// The fake modem's dialogue and its pass-through between two pseudo-terminals.
#include <tools/fakemodem/FakeModem.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace
{

std::string Printable(const std::string& text)
{
    std::string out;
    for (const char c : text)
        out += c == '\r' ? std::string("<CR>") : c == '\n' ? std::string("<LF>") : std::string(1, c);
    return out;
}

TEST(ModemDialogueTest, AnswersEachLineAndEchoesWhileEchoIsOn)
{
    const struct
    {
        const char* sent;
        const char* answer;
    } rows[] = {
        {"ATZ0\r\n", "ATZ0\r\r\nOK\r\n\n"},
        {"ATE1\r\n", "ATE1\r\r\nOK\r\n\n"},
        // The echo stops with the line that turns it off: the server reads "ATE0OK".
        {"ATE0\r\n", "ATE0\r\r\nOK\r\n"},
        {"AT&F\r\n", "\r\nOK\r\n"},
        {"hello\r", "\r\nERROR\r\n"},
        {"\r\n", ""},
        {"ATD\"12,34;\r\n", "\r\nCONNECT 9600\r\n"},
    };
    CModemDialogue dialogue{ModemBehaviour{}};
    for (const auto& row : rows)
        EXPECT_EQ(Printable(dialogue.Receive(row.sent)), Printable(row.answer)) << Printable(row.sent);
    EXPECT_TRUE(dialogue.Connected());
    EXPECT_EQ(dialogue.Commands(),
              (std::vector<std::string>{"ATZ0", "ATE1", "ATE0", "AT&F", "hello", "ATD\"12,34;"}));

    dialogue.HangUp();
    EXPECT_FALSE(dialogue.Connected());
    EXPECT_EQ(Printable(dialogue.Receive("AT\r")), Printable("AT\r\r\nOK\r\n")) << "echo is on again";
}

TEST(ModemDialogueTest, DialAnswersFollowTheBehaviour)
{
    using Dial = ModemBehaviour::DialAnswer;
    const struct
    {
        ModemBehaviour behaviour;
        const char* answer;
        bool connected;
    } rows[] = {
        {{Dial::Connect, true}, "\r\nCONNECT 9600\r\n", true},
        {{Dial::NoCarrier, true}, "\r\nNO CARRIER\r\n", false},
        {{Dial::Silence, true}, "", false},
        {{Dial::Connect, false}, "", false},
    };
    for (const auto& row : rows)
    {
        CModemDialogue dialogue(row.behaviour);
        dialogue.Receive("ATE0\r");
        EXPECT_EQ(Printable(dialogue.Receive("ATD5551234\r\n")), Printable(row.answer));
        EXPECT_EQ(dialogue.Connected(), row.connected);
    }
}

// One end of a pseudo-terminal opened raw, as a serial port user would have it.
class Terminal
{
public:
    explicit Terminal(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY)) { MakeRaw(); }
    explicit Terminal(int fd) : m_fd(fd) {}
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    ~Terminal() { Close(); }

    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool IsOpen() const { return m_fd >= 0; }
    void Write(const std::string& bytes)
    {
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Reads until expected bytes came or the time passed (a generous one where they are due).
    std::string Read(size_t expected, std::chrono::milliseconds time = std::chrono::seconds(60))
    {
        std::string out;
        const auto until = std::chrono::steady_clock::now() + time;
        while (out.size() < expected && std::chrono::steady_clock::now() < until)
        {
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, 50) > 0 && (fd.revents & POLLIN))
            {
                char buffer[256];
                const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                if (n > 0)
                    out.append(buffer, static_cast<size_t>(n));
            }
        }
        return out;
    }

private:
    void MakeRaw()
    {
        termios settings{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0)
        {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    int m_fd;
};

TEST(FakeModemTest, PassesDataToTheLineOnlyWhileConnectedAndHangsUpWhenTheHostCloses)
{
    const int lineMaster = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(lineMaster, 0);
    ASSERT_EQ(::grantpt(lineMaster), 0);
    ASSERT_EQ(::unlockpt(lineMaster), 0);
    Terminal drive(lineMaster);

    CFakeModem modem(ModemBehaviour{}, ::ptsname(lineMaster));
    std::string error;
    ASSERT_TRUE(modem.Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread server([&] { modem.Run(stop, error); });

    {
        Terminal host(modem.DevicePath());
        ASSERT_TRUE(host.IsOpen());
        host.Write("ATE0\r\n");
        EXPECT_EQ(Printable(host.Read(11)), Printable("ATE0\r\r\nOK\r\n"));
        host.Write("ATD1234\r\n");
        EXPECT_EQ(Printable(host.Read(16)), Printable("\r\nCONNECT 9600\r\n"));
        EXPECT_TRUE(drive.Read(1, std::chrono::seconds(1)).empty()) << "the dial line stays with the modem";

        host.Write(std::string("\x7E\x80\x00\x02", 4));
        EXPECT_EQ(drive.Read(4), std::string("\x7E\x80\x00\x02", 4));
        drive.Write("OK-from-drive");
        EXPECT_EQ(host.Read(13), "OK-from-drive");
    }

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (modem.Connected() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(modem.Connected()) << "closing the port is the hang-up";

    Terminal again(modem.DevicePath());
    again.Write("AT\r");
    EXPECT_EQ(Printable(again.Read(9)), Printable("AT\r\r\nOK\r\n"));

    stop = true;
    server.join();
    EXPECT_EQ(modem.Commands(), (std::vector<std::string>{"ATE0", "ATD1234", "AT"}));
}

} // namespace
