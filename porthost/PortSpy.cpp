// Ring of the last bytes through the port, tagged by direction.
#include "PortSpy.h"

#include <algorithm>

void CPortSpy::Record(DWORD count, const BYTE* data, SPY_TAG tag) noexcept
{
    if (!m_on)
        return;
    const int taken = static_cast<int>(std::min<DWORD>(count, RING_SIZE));
    (tag == SPY_SENT ? m_sentCount : m_receivedCount) += count;
    for (int i = 0; i < taken; ++i)
    {
        m_bytes[m_writePosition] = data[i];
        m_tags[m_writePosition] = tag;
        m_writePosition = (m_writePosition + 1) % RING_SIZE;
    }
    m_fillCount = std::min(m_fillCount + taken, RING_SIZE);
}
