#include "ControlChannel.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CControlChannel::~CControlChannel()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CControlChannel::Open(const std::string& path, std::string& error)
{
    if (::mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST)
    {
        error = "cannot make the control pipe " + path;
        return false;
    }
    // Read and write: the pipe stays open between writers instead of reporting its end.
    m_fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (m_fd < 0)
        error = "cannot open the control pipe " + path;
    return m_fd >= 0;
}

void CControlChannel::Poll(CDriveLine& drives)
{
    if (m_fd < 0)
        return;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0)
        m_pending.append(buffer, static_cast<size_t>(n));
    size_t end = 0;
    while ((end = m_pending.find('\n')) != std::string::npos)
    {
        const std::string line = m_pending.substr(0, end);
        m_pending.erase(0, end + 1);
        if (!line.empty() && !Apply(line, drives))
            std::fprintf(stderr, "drivesim: control: not a command: %s\n", line.c_str());
    }
}

bool CControlChannel::Apply(const std::string& line, CDriveLine& drives)
{
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "set")
    {
        long word = -1, value = 0;
        std::string rest;
        if (!(words >> word >> value) || (words >> rest) || word < 0 || word > 8192 || value < -32768 ||
            value > 65535 || drives.Drives().empty())
            return false;
        drives.Drives().front().SetParameter(static_cast<int>(word), 2, static_cast<DWORD>(value) & 0xFFFF);
        return true;
    }
    if (command == "fault")
    {
        std::string name, rest;
        if (!(words >> name) || (words >> rest))
            return false;
        ReplyFault fault = ReplyFault::None;
        if (name != "none" && !ParseReplyFault(name, fault))
            return false;
        drives.SetFault(fault);
        return true;
    }
    if (command == "delay")
    {
        long milliseconds = -1;
        std::string rest;
        if (!(words >> milliseconds) || (words >> rest) || milliseconds < 0 || milliseconds > 60000)
            return false;
        drives.SetReplyDelayMs(static_cast<int>(milliseconds));
        return true;
    }
    return false;
}
