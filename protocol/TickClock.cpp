#include "TickClock.h"

#include <kernel/Time.h>

#include <cerrno>
#include <ctime>

DWORD CSystemTickClock::Now()
{
    return GetTickCount();
}

void CSystemTickClock::Sleep(DWORD milliseconds)
{
    ::Sleep(milliseconds);
}

ULONGLONG CSystemTickClock::NowMicroseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<ULONGLONG>(now.tv_sec) * 1000000ULL + static_cast<ULONGLONG>(now.tv_nsec) / 1000ULL;
}

void CSystemTickClock::SleepUntil(ULONGLONG time)
{
    const timespec until = {static_cast<time_t>(time / 1000000ULL),
                            static_cast<long>(time % 1000000ULL) * 1000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR)
    {
    }
}
