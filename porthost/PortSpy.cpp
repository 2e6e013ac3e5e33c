// Ring of the last bytes through the port, tagged by direction.
#include "PortSpy.h"

#include <algorithm>
#include <iterator>

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

void CPortSpy::Reset() noexcept
{
    m_writePosition = 0;
    m_fillCount = 0;
    m_sentCount = 0;
    m_receivedCount = 0;
    std::fill(std::begin(m_bytes), std::end(m_bytes), BYTE(0));
    std::fill(std::begin(m_tags), std::end(m_tags), BYTE(SPY_EMPTY));
}

void CPortSpy::CopyView(int position, BYTE* bytes, BYTE* tags) const noexcept
{
    position = std::clamp(position, 1, VIEW_POSITIONS);
    const int back = std::min(m_fillCount, RING_SIZE - ROW_SIZE * position);
    // The first shown byte, counted forward from the ring's start with wrapping.
    int at = ((m_writePosition - back - VIEW_SIZE) % RING_SIZE + RING_SIZE) % RING_SIZE;
    for (int i = 0; i < VIEW_SIZE; ++i)
    {
        bytes[i] = m_bytes[at];
        tags[i] = m_tags[at];
        at = (at + 1) % RING_SIZE;
    }
}
