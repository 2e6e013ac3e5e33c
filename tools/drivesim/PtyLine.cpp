#include "PtyLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{
speed_t SpeedOf(DWORD baud)
{
    switch (baud)
    {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

void ApplySettings(termios& t, const LineSettings& s)
{
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= (s.dataBits == 7 ? CS7 : CS8) | CLOCAL | CREAD;
    if (s.parity != 'N')
        t.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
    if (s.stopBits == 2)
        t.c_cflag |= CSTOPB;
    cfsetispeed(&t, SpeedOf(s.baud));
    cfsetospeed(&t, SpeedOf(s.baud));
}
} // namespace

bool ParseLineSettings(const std::string& text, LineSettings& settings)
{
    char parity = 0;
    unsigned long baud = 0;
    int dataBits = 0, stopBits = 0;
    if (std::sscanf(text.c_str(), "%lu,%c,%d,%d", &baud, &parity, &dataBits, &stopBits) != 4)
        return false;
    if (SpeedOf(static_cast<DWORD>(baud)) == B0 || (parity != 'N' && parity != 'E' && parity != 'O') ||
        (dataBits != 7 && dataBits != 8) || (stopBits != 1 && stopBits != 2))
        return false;
    settings = {static_cast<DWORD>(baud), parity, dataBits, stopBits};
    return true;
}

CPtyLine::~CPtyLine()
{
    if (!m_link.empty())
        ::unlink(m_link.c_str());
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool CPtyLine::Open(const std::string& linkPath, const LineSettings& settings, std::string& error)
{
    m_settings = settings;
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
    {
        error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* slaveName = ::ptsname(m_master);
    m_slave = slaveName ? ::open(slaveName, O_RDWR | O_NOCTTY) : -1;
    termios t{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &t) != 0)
    {
        error = std::string("slave terminal: ") + std::strerror(errno);
        return false;
    }
    ApplySettings(t, settings);
    ::unlink(linkPath.c_str());
    if (::tcsetattr(m_slave, TCSANOW, &t) != 0 || ::symlink(slaveName, linkPath.c_str()) != 0)
    {
        error = linkPath + ": " + std::strerror(errno);
        return false;
    }
    m_link = linkPath;
    return true;
}

std::vector<BYTE> CPtyLine::Read(int timeoutMs)
{
    pollfd p{m_master, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return {};
    BYTE buffer[512];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n <= 0)
        return {};
    return {buffer, buffer + n};
}

bool CPtyLine::Write(const std::vector<BYTE>& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool CPtyLine::LineMatches() const
{
    termios t{};
    if (::tcgetattr(m_slave, &t) != 0)
        return false;
    termios expected{};
    ApplySettings(expected, m_settings);
    // The pseudo-terminal driver keeps every line at 8 bits without parity: only the baud rate
    // and the stop bits of the host's setting reach this side.
    const tcflag_t lineBits = CSTOPB;
    return cfgetispeed(&t) == cfgetispeed(&expected) && cfgetospeed(&t) == cfgetospeed(&expected) &&
           (t.c_cflag & lineBits) == (expected.c_cflag & lineBits);
}
