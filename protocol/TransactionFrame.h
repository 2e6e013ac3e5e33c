// Spaces the transactions on one port: 10 ms after the end of the previous one, 100 ms more
// after a failure.
#pragma once

#include "TickClock.h"

constexpr DWORD kTransactionGap = 10;
constexpr DWORD kFailureBackOff = 100;

class CTransactionFrame
{
public:
    explicit CTransactionFrame(CTickClock& clock) : m_clock(clock), m_lastTransaction(clock.Now()) {}

    // Sleeps a millisecond at a time until the gap after the last transaction has passed.
    void WaitForGap();
    void Succeeded() { m_lastTransaction = m_clock.Now(); }
    void Failed() { m_lastTransaction = m_clock.Now() + kFailureBackOff; }

private:
    CTickClock& m_clock;
    DWORD m_lastTransaction;
};
