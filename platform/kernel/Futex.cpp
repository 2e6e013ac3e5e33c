// futex_waitv and futex wake on words that may live in memory shared between processes.
#include "Futex.h"

#include <cerrno>
#include <climits>

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tvsk::kernel
{

Deadline::Deadline(DWORD milliseconds) noexcept : m_infinite(milliseconds == INFINITE), m_time{}
{
    if (m_infinite)
        return;
    clock_gettime(CLOCK_MONOTONIC, &m_time);
    m_time.tv_sec += milliseconds / 1000;
    m_time.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (m_time.tv_nsec >= 1000000000L)
    {
        m_time.tv_sec += 1;
        m_time.tv_nsec -= 1000000000L;
    }
}

bool Deadline::Passed() const noexcept
{
    return !m_infinite && Remaining() == 0;
}

DWORD Deadline::Remaining(DWORD cap) const noexcept
{
    if (m_infinite)
        return cap;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long left =
        (m_time.tv_sec - now.tv_sec) * 1000LL + (m_time.tv_nsec - now.tv_nsec + 999999L) / 1000000L;
    if (left <= 0)
        return 0;
    return left < static_cast<long long>(cap) ? static_cast<DWORD>(left) : cap;
}

bool FutexWaitAny(const FutexWaiter* waiters, unsigned count, const timespec* deadline) noexcept
{
    futex_waitv vector[MAXIMUM_WAIT_OBJECTS] = {};
    for (unsigned i = 0; i < count && i < MAXIMUM_WAIT_OBJECTS; ++i)
    {
        vector[i].val = waiters[i].expected;
        vector[i].uaddr = reinterpret_cast<std::uintptr_t>(waiters[i].word);
        vector[i].flags = FUTEX_32;
    }
    const long rc = syscall(SYS_futex_waitv, vector, count, 0, deadline, CLOCK_MONOTONIC);
    return rc >= 0 || errno != ETIMEDOUT;
}

void FutexWakeAll(FutexWord* word) noexcept
{
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(word), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

} // namespace tvsk::kernel
