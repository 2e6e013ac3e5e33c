#include "TickClock.h"

#include <chrono>
#include <thread>

DWORD CSystemTickClock::Now()
{
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void CSystemTickClock::Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
