// The block and device of a served port, and the worker's loop.
#include "ServedPort.h"

#include "PortTransfer.h"

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

bool CServedPort::RunClientCommand(PORT_BLOCK& block)
{
    switch (block.command)
    {
    case PORT_CMD_WRITE:
        ServeWrite(block, m_device, m_spy);
        return true;
    case PORT_CMD_PURGE:
        m_device.Purge();
        block.result = 1;
        return true;
    case PORT_CMD_DETACH:
        block.result = m_clients.Detach(block.argument) ? 1 : 0;
        if (block.result && m_clients.IsEmpty())
            LastClientDetached();
        return true;
    case PORT_CMD_ATTACH:
        m_clients.Attach(block.argument);
        ClientAttached();
        block.result = 1;
        return true;
    default:
        return false;
    }
}

unsigned ServerThreadProc(CServedPort* server)
{
    while (!server->Dispatch())
    {
    }
    return 0;
}
