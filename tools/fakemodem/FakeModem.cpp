// A modem on a pseudo-terminal: the host dials through its slave end, the far end is a second device.
#include "FakeModem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace
{

constexpr int PollMilliseconds = 50;
// While no host holds the terminal the master reports a hang-up at once; this paces the loop.
constexpr auto NoHostPause = std::chrono::milliseconds(10);

bool MakeRaw(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    const speed_t speed = ::cfgetospeed(&settings);
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, speed);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

std::string Reason(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

CFakeModem::CFakeModem(ModemBehaviour behaviour, std::string linePath)
    : m_linePath(std::move(linePath)), m_dialogue(behaviour)
{
}

CFakeModem::~CFakeModem()
{
    if (m_line >= 0)
        ::close(m_line);
    if (m_master >= 0)
        ::close(m_master);
}

bool CFakeModem::Open(std::string& error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
    {
        error = Reason("pseudo-terminal");
        return false;
    }
    const char* slave = ::ptsname(m_master);
    if (slave == nullptr)
    {
        error = Reason("pseudo-terminal name");
        return false;
    }
    m_devicePath = slave;
    // The host's own open sets the line; raw from the start keeps early bytes from being echoed.
    const int slaveFd = ::open(slave, O_RDWR | O_NOCTTY);
    const bool raw = slaveFd >= 0 && MakeRaw(slaveFd);
    if (slaveFd >= 0)
        ::close(slaveFd);
    if (!raw)
    {
        error = Reason("pseudo-terminal settings");
        return false;
    }
    if (m_linePath.empty())
        return true;
    m_line = ::open(m_linePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_line < 0 || (::isatty(m_line) && !MakeRaw(m_line)))
    {
        error = Reason(m_linePath.c_str());
        return false;
    }
    return true;
}

bool CFakeModem::Run(const std::atomic<bool>& stop, std::string& error)
{
    while (!stop)
    {
        const Poll result = ServeOnce(error);
        if (result == Poll::Failed)
            return false;
        if (result == Poll::Idle)
            std::this_thread::sleep_for(NoHostPause);
    }
    return true;
}

CFakeModem::Poll CFakeModem::ServeOnce(std::string& error)
{
    pollfd fds[2] = {{m_master, POLLIN, 0}, {m_line, POLLIN, 0}};
    const nfds_t count = m_line >= 0 ? 2 : 1;
    if (::poll(fds, count, PollMilliseconds) < 0)
    {
        if (errno == EINTR)
            return Poll::Served;
        error = Reason("poll");
        return Poll::Failed;
    }
    char buffer[512];
    if (count == 2 && (fds[1].revents & POLLIN))
    {
        const ssize_t n = ::read(m_line, buffer, sizeof buffer);
        // What the far end sends while no call is up goes nowhere.
        if (n > 0 && Connected() && !WriteAll(m_master, std::string(buffer, static_cast<size_t>(n))))
        {
            error = Reason("write to the host");
            return Poll::Failed;
        }
    }
    if (fds[0].revents & POLLIN)
    {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
        {
            m_hostPresent = true;
            const std::string bytes(buffer, static_cast<size_t>(n));
            std::string answer;
            std::vector<std::string> newCommands;
            {
                const std::lock_guard<std::mutex> guard(m_mutex);
                if (m_dialogue.Connected())
                {
                    if (m_line >= 0 && !WriteAll(m_line, bytes))
                    {
                        error = Reason("write to the line");
                        return Poll::Failed;
                    }
                }
                else
                {
                    const size_t before = m_dialogue.Commands().size();
                    answer = m_dialogue.Receive(bytes);
                    newCommands.assign(m_dialogue.Commands().begin() + static_cast<std::ptrdiff_t>(before),
                                       m_dialogue.Commands().end());
                }
            }
            if (m_onCommand)
                for (const std::string& command : newCommands)
                    m_onCommand(command);
            if (!answer.empty() && !WriteAll(m_master, answer))
            {
                error = Reason("write to the host");
                return Poll::Failed;
            }
            return Poll::Served;
        }
    }
    if (fds[0].revents & (POLLHUP | POLLERR))
    {
        // The host closed the port: that is the only hang-up it gives.
        if (m_hostPresent)
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            m_dialogue.HangUp();
            m_hostPresent = false;
        }
        return Poll::Idle;
    }
    return Poll::Served;
}

bool CFakeModem::WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno == EAGAIN)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        else if (n < 0 && errno != EINTR)
            return false;
    }
    return true;
}

std::vector<std::string> CFakeModem::Commands() const
{
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_dialogue.Commands();
}

bool CFakeModem::Connected() const
{
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_dialogue.Connected();
}
