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
    // Microseconds since an arbitrary start, for spacing transactions; by default the ticks seen
    // so far (in whole milliseconds, counted on across the tick counter's wrap).
    virtual ULONGLONG NowMicroseconds()
    {
        const DWORD now = Now();
        if (m_ticksSeen)
            m_ticks += static_cast<DWORD>(now - m_lastTick);
        m_ticksSeen = true;
        m_lastTick = now;
        return m_ticks * 1000;
    }
    // Sleeps until NowMicroseconds() has reached time; by default a tick at a time.
    virtual void SleepUntil(ULONGLONG time)
    {
        while (NowMicroseconds() < time)
            Sleep(1);
    }

private:
    bool m_ticksSeen = false;
    DWORD m_lastTick = 0;
    ULONGLONG m_ticks = 0;
};

class CSystemTickClock : public CTickClock
{
public:
    DWORD Now() override;
    void Sleep(DWORD milliseconds) override;
    ULONGLONG NowMicroseconds() override;
    // Wakes at the time itself, not at the next whole millisecond after it.
    void SleepUntil(ULONGLONG time) override;
};
