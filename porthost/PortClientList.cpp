// The processes attached to a port server, in attach order.
#include "PortClientList.h"

#include <kernel/Process.h>

namespace
{

bool ProcessHasEnded(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return true;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace

void CPortClientList::Attach(DWORD processId)
{
    const std::lock_guard guard(m_lock);
    m_clients.Add(processId);
    m_count = m_clients.GetSize();
}

bool CPortClientList::Detach(DWORD processId)
{
    const std::lock_guard guard(m_lock);
    for (INT_PTR i = 0; i < m_clients.GetSize(); ++i)
    {
        if (m_clients[i] == processId)
        {
            m_clients.RemoveAt(i);
            ForgetEndedLocked();
            return true;
        }
    }
    return false;
}

void CPortClientList::ForgetEnded()
{
    const std::lock_guard guard(m_lock);
    ForgetEndedLocked();
}

CDWordArray CPortClientList::Copy() const
{
    const std::lock_guard guard(m_lock);
    CDWordArray copy;
    copy.Copy(m_clients);
    return copy;
}

void CPortClientList::ForgetEndedLocked()
{
    for (INT_PTR i = m_clients.GetSize() - 1; i >= 0; --i)
    {
        if (ProcessHasEnded(m_clients[i]))
            m_clients.RemoveAt(i);
    }
    m_count = m_clients.GetSize();
}
