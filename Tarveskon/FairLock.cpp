#include "FairLock.h"

void CFairLock::lock()
{
    std::unique_lock guard(m_state);
    const std::thread::id self = std::this_thread::get_id();
    if (m_depth > 0 && m_holder == self)
    {
        ++m_depth;
        return;
    }
    const std::uint64_t ticket = m_nextTicket++;
    m_turnChanged.wait(guard, [&] { return m_serving == ticket; });
    m_holder = self;
    m_depth = 1;
}

void CFairLock::unlock()
{
    std::lock_guard guard(m_state);
    if (--m_depth > 0)
        return;
    m_holder = std::thread::id();
    ++m_serving;
    m_turnChanged.notify_all();
}

bool CFairLock::IsWantedByAnother() const
{
    std::lock_guard guard(m_state);
    const std::uint64_t waiting = m_nextTicket - m_serving;
    return m_holder == std::this_thread::get_id() ? waiting > 1 : waiting > 0;
}
