#include "TransactionFrame.h"

void CTransactionFrame::WaitForGap()
{
    const DWORD earliest = m_lastTransaction + kTransactionGap;
    while (TickBefore(m_clock.Now(), earliest))
        m_clock.Sleep(1);
}
