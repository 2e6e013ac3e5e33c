// Spaces the transactions on one port: 10 ms after the end of the previous one, 100 ms more
// after a failure.
#pragma once

#include "TickClock.h"

constexpr DWORD kTransactionGap = 10;
constexpr DWORD kFailureBackOff = 100;

class CTransactionFrame
{
public:
    explicit CTransactionFrame(CTickClock& clock) : m_clock(clock), m_lastTransaction(clock.NowMicroseconds())
    {
    }

    // Sleeps until the gap after the end of the last transaction has passed, measured to the
    // microsecond: never shorter, and no longer than waking up takes.
    void WaitForGap();
    void Succeeded() { m_lastTransaction = m_clock.NowMicroseconds(); }
    void Failed() { m_lastTransaction = m_clock.NowMicroseconds() + kFailureBackOff * 1000ULL; }

private:
    CTickClock& m_clock;
    ULONGLONG m_lastTransaction; // microseconds
};
