#include "TransactionFrame.h"

void CTransactionFrame::WaitForGap()
{
    m_clock.SleepUntil(m_lastTransaction + kTransactionGap * 1000ULL);
}
