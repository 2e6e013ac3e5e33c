// The millisecond tick count that spaces transactions, and sleeping; tests replace it.
#pragma once

#include <framework/WinTypes.h>

class CTickClock
{
public:
    virtual ~CTickClock() = default;
    // Milliseconds since an arbitrary start; wraps after about 49.7 days.
    virtual DWORD Now() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

class CSystemTickClock : public CTickClock
{
public:
    DWORD Now() override;
    void Sleep(DWORD milliseconds) override;
};

// Whether tick a lies before tick b, across the counter's wrap.
constexpr bool TickBefore(DWORD a, DWORD b) noexcept
{
    return static_cast<LONG>(a - b) < 0;
}
