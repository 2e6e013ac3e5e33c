// The block and device of a served port, and the worker's loop.
#include "ServedPort.h"

bool CServedPort::OpenPort(BYTE port)
{
    m_port = port;
    const bool linked = m_link.Open(m_prefix, port);
    m_device.Open(port);
    return linked && m_device.IsOpen();
}

BOOL CServedPort::DetachClient(DWORD processId)
{
    return CPortServerLink::DetachClient(m_prefix, m_port, processId);
}

void CServedPort::Close() noexcept
{
    m_device.Close();
    m_link.Close();
}

unsigned ServerThreadProc(CServedPort* server)
{
    while (!server->Dispatch())
    {
    }
    return 0;
}
