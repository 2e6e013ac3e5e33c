// Serial devices: exclusive raw open, transfers with time-outs as poll loops, purge and break.
#include <kernel/Serial.h>

#include "Futex.h"
#include "KernelObject.h"
#include "SerialLine.h"
#include "SerialPortMap.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tvsk::kernel
{
namespace
{

class SerialDevice : public KernelObject
{
public:
    explicit SerialDevice(int fd) : m_fd(fd) {}
    ~SerialDevice() override
    {
        ioctl(m_fd, TIOCNXCL); // the flag outlives this descriptor while the line's other end is open
        close(m_fd);
    }
    int Fd() const noexcept { return m_fd; }

    COMMTIMEOUTS Timeouts() const
    {
        std::lock_guard guard(m_lock);
        return m_timeouts;
    }
    void SetTimeouts(const COMMTIMEOUTS& timeouts)
    {
        std::lock_guard guard(m_lock);
        m_timeouts = timeouts;
    }

private:
    int m_fd;
    mutable std::mutex m_lock;
    COMMTIMEOUTS m_timeouts;
};

// Waits until fd is ready for events or the milliseconds pass; false on time-out.
bool WaitReady(int fd, short events, DWORD milliseconds, int& error)
{
    pollfd descriptor = {fd, events, 0};
    const Deadline deadline(milliseconds);
    for (;;)
    {
        const int rc = poll(&descriptor, 1, static_cast<int>(deadline.Remaining(INT32_MAX)));
        if (rc > 0)
            return true;
        if (rc == 0)
            return false;
        if (errno != EINTR)
        {
            error = errno;
            return false;
        }
    }
}

DWORD TotalTimeout(DWORD multiplier, DWORD constant, DWORD bytes)
{
    if (multiplier == 0 && constant == 0)
        return INFINITE;
    const unsigned long long total = static_cast<unsigned long long>(multiplier) * bytes + constant;
    return static_cast<DWORD>(std::min<unsigned long long>(total, INFINITE - 1));
}

BOOL ReadWithTimeouts(const SerialDevice& device, BYTE* buffer, DWORD wanted, DWORD& got)
{
    const COMMTIMEOUTS timeouts = device.Timeouts();
    const bool returnAtOnce = timeouts.ReadIntervalTimeout == MAXDWORD &&
                              timeouts.ReadTotalTimeoutMultiplier == 0 &&
                              timeouts.ReadTotalTimeoutConstant == 0;
    const Deadline total(
        TotalTimeout(timeouts.ReadTotalTimeoutMultiplier, timeouts.ReadTotalTimeoutConstant, wanted));
    const bool intervalLimited = timeouts.ReadIntervalTimeout != 0 && !returnAtOnce;
    while (got < wanted)
    {
        const ssize_t n = read(device.Fd(), buffer + got, wanted - got);
        if (n > 0)
        {
            got += static_cast<DWORD>(n);
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            return FailWithErrno(n == 0 ? EIO : errno);
        if (errno == EINTR)
            continue;
        if (returnAtOnce)
            break;
        DWORD wait = total.Remaining();
        if (got > 0 && intervalLimited)
            wait = std::min(wait, timeouts.ReadIntervalTimeout);
        int error = 0;
        if (!WaitReady(device.Fd(), POLLIN, wait, error))
        {
            if (error != 0)
                return FailWithErrno(error);
            break;
        }
    }
    return TRUE;
}

BOOL WriteWithTimeouts(const SerialDevice& device, const BYTE* buffer, DWORD wanted, DWORD& done)
{
    const COMMTIMEOUTS timeouts = device.Timeouts();
    const Deadline total(
        TotalTimeout(timeouts.WriteTotalTimeoutMultiplier, timeouts.WriteTotalTimeoutConstant, wanted));
    while (done < wanted)
    {
        const ssize_t n = write(device.Fd(), buffer + done, wanted - done);
        if (n > 0)
        {
            done += static_cast<DWORD>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return FailWithErrno(errno);
        int error = 0;
        if (!WaitReady(device.Fd(), POLLOUT, total.Remaining(), error))
        {
            if (error != 0)
                return FailWithErrno(error);
            break;
        }
    }
    return TRUE;
}

// The slave end of a pseudo-terminal (major numbers 136 to 143).
bool IsPseudoTerminal(int fd)
{
    struct stat status
    {
    };
    return fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) && major(status.st_rdev) >= 136 &&
           major(status.st_rdev) <= 143;
}

// DTR and RTS where the device has modem lines (pseudo-terminals have none).
bool SetModemLines(int fd, const DCB& dcb)
{
    int raise = 0;
    int lower = 0;
    (dcb.fDtrControl == DTR_CONTROL_DISABLE ? lower : raise) |= TIOCM_DTR;
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE)
        (dcb.fRtsControl == RTS_CONTROL_DISABLE ? lower : raise) |= TIOCM_RTS;
    if (ioctl(fd, TIOCMBIS, &raise) == 0 && ioctl(fd, TIOCMBIC, &lower) == 0)
        return true;
    return errno == ENOTTY || errno == EINVAL || FailWithErrno(errno);
}

void ModemLinesToDcb(int fd, DCB& dcb)
{
    int lines = 0;
    if (ioctl(fd, TIOCMGET, &lines) != 0)
        return;
    dcb.fDtrControl = (lines & TIOCM_DTR) ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE)
        dcb.fRtsControl = (lines & TIOCM_RTS) ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
}

int OpenExclusive(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        FailWithErrno(errno);
        return -1;
    }
    termios settings;
    int error = 0;
    if (tcgetattr(fd, &settings) != 0)
        error = ENOTTY;
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno;
    if (error == 0)
    {
        // Keeps other programs off a real line; root ignores it, hence the lock. A pseudo-terminal
        // would keep the flag after a killed holder and refuse the next ordinary user's open.
        if (!IsPseudoTerminal(fd))
            ioctl(fd, TIOCEXCL);
        MakeRaw(settings);
        if (tcsetattr(fd, TCSANOW, &settings) != 0)
            error = errno;
    }
    if (error != 0)
    {
        close(fd);
        FailWithErrno(error);
        return -1;
    }
    return fd;
}

template <class Action> BOOL WithDevice(HANDLE file, Action action) noexcept
{
    auto device = FindHandleOf<SerialDevice>(file);
    return device ? action(*device) : FALSE;
}

} // namespace
} // namespace tvsk::kernel

using namespace tvsk::kernel;

HANDLE CreateFile(const char* fileName, DWORD, DWORD shareMode, SECURITY_ATTRIBUTES*,
                  DWORD creationDisposition, DWORD, HANDLE)
{
    const int port = SerialPortNumber(fileName);
    if (port < 0 || shareMode != 0 || creationDisposition != OPEN_EXISTING)
    {
        SetLastError(port < 0 ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = SerialDevicePath(port);
    if (path.empty())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const int fd = OpenExclusive(path);
    return fd < 0 ? INVALID_HANDLE_VALUE : AddHandle(std::make_shared<SerialDevice>(fd));
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, OVERLAPPED* overlapped)
{
    if (bytesRead)
        *bytesRead = 0;
    if (overlapped || (!buffer && bytesToRead > 0))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithDevice(file,
                      [&](const SerialDevice& device)
                      {
                          DWORD got = 0;
                          const BOOL ok =
                              ReadWithTimeouts(device, static_cast<BYTE*>(buffer), bytesToRead, got);
                          if (bytesRead)
                              *bytesRead = got;
                          return ok;
                      });
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped)
{
    if (bytesWritten)
        *bytesWritten = 0;
    if (overlapped || (!buffer && bytesToWrite > 0))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithDevice(file,
                      [&](const SerialDevice& device)
                      {
                          DWORD done = 0;
                          const BOOL ok =
                              WriteWithTimeouts(device, static_cast<const BYTE*>(buffer), bytesToWrite, done);
                          if (bytesWritten)
                              *bytesWritten = done;
                          return ok;
                      });
}

BOOL GetCommState(HANDLE file, DCB* dcb) noexcept
{
    return WithDevice(file,
                      [&](const SerialDevice& device)
                      {
                          termios settings;
                          if (!dcb || tcgetattr(device.Fd(), &settings) != 0)
                              return FailWithErrno(dcb ? errno : EINVAL);
                          SettingsToDcb(settings, *dcb);
                          ModemLinesToDcb(device.Fd(), *dcb);
                          return TRUE;
                      });
}

BOOL SetCommState(HANDLE file, const DCB* dcb) noexcept
{
    return WithDevice(file,
                      [&](const SerialDevice& device)
                      {
                          termios settings;
                          if (!dcb || tcgetattr(device.Fd(), &settings) != 0)
                              return FailWithErrno(dcb ? errno : EINVAL);
                          if (!DcbToSettings(*dcb, settings))
                              return FALSE;
                          // A pseudo-terminal keeps no parity; the C library reports the dropped bit as a
                          // failure although everything else was set.
                          if (tcsetattr(device.Fd(), TCSANOW, &settings) != 0 &&
                              !(errno == EINVAL && IsPseudoTerminal(device.Fd())))
                              return FailWithErrno(errno);
                          return SetModemLines(device.Fd(), *dcb) ? TRUE : FALSE;
                      });
}

BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts) noexcept
{
    return WithDevice(file,
                      [&](const SerialDevice& device)
                      {
                          if (!timeouts)
                              return FailWithErrno(EINVAL);
                          *timeouts = device.Timeouts();
                          return TRUE;
                      });
}

BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts) noexcept
{
    return WithDevice(file,
                      [&](SerialDevice& device)
                      {
                          if (!timeouts)
                              return FailWithErrno(EINVAL);
                          device.SetTimeouts(*timeouts);
                          return TRUE;
                      });
}

BOOL PurgeComm(HANDLE file, DWORD flags) noexcept
{
    return WithDevice(file,
                      [&](const SerialDevice& device)
                      {
                          const bool input = flags & PURGE_RXCLEAR;
                          const bool output = flags & PURGE_TXCLEAR;
                          if (!input && !output)
                              return TRUE; // nothing is ever pending to abort: transfers are not overlapped
                          const int queue = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
                          return tcflush(device.Fd(), queue) == 0 ? TRUE : FailWithErrno(errno);
                      });
}

BOOL SetCommBreak(HANDLE file) noexcept
{
    return WithDevice(file, [](const SerialDevice& device)
                      { return ioctl(device.Fd(), TIOCSBRK) == 0 ? TRUE : FailWithErrno(errno); });
}

BOOL ClearCommBreak(HANDLE file) noexcept
{
    return WithDevice(file, [](const SerialDevice& device)
                      { return ioctl(device.Fd(), TIOCCBRK) == 0 ? TRUE : FailWithErrno(errno); });
}
