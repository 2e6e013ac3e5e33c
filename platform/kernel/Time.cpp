// Tick count and sleep on the monotonic clock.
#include <kernel/Time.h>

#include <cerrno>
#include <ctime>

DWORD GetTickCount() noexcept
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<unsigned long long>(now.tv_sec) * 1000ULL +
                              static_cast<unsigned long long>(now.tv_nsec) / 1000000ULL);
}

void Sleep(DWORD milliseconds) noexcept
{
    timespec wanted = {static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wanted, &wanted) != 0 && errno == EINTR)
    {
    }
}
