#include "TickClock.h"

#include <kernel/Time.h>

DWORD CSystemTickClock::Now()
{
    return GetTickCount();
}

void CSystemTickClock::Sleep(DWORD milliseconds)
{
    ::Sleep(milliseconds);
}
