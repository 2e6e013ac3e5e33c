// Commands of the shared block, run one at a time by the server's worker.
#include "PortServer.h"

#include "PortTransfer.h"

#include <cstdlib>

namespace
{

constexpr DWORD IdleCheckMilliseconds = 1000;

} // namespace

bool CPortServer::Dispatch()
{
    switch (m_link.WaitForCommand(IdleCheckMilliseconds))
    {
    case CPortServerLink::Wake::Command:
        RunCommand(m_link.Block());
        m_link.Reply();
        break;
    case CPortServerLink::Wake::Idle:
        m_clients.ForgetEnded();
        m_lastDetach = m_clients.IsEmpty();
        break;
    case CPortServerLink::Wake::Gone:
        m_lastDetach = true;
        break;
    }
    if (!m_lastDetach)
        return false;
    Close();
    return true;
}

void CPortServer::RunCommand(PORT_BLOCK& block)
{
    if (RunClientCommand(block))
        return;
    switch (block.command)
    {
    case PORT_CMD_SETLINE:
        block.result = m_device.SetLine(block.argument, block.line.dataBits, block.line.parity,
                                        block.line.stopBits, ModemLines::Off);
        break;
    case PORT_CMD_READ:
        ServeRead(block, m_device, m_spy);
        break;
    case PORT_CMD_PROPERTY:
        block.result = block.property == PORT_PROPERTY_BREAK && m_device.SendBreak();
        break;
    default:
        break; // unknown commands leave the result as it was
    }
}

void CPortServer::EndWithoutClients()
{
    if (m_clients.IsEmpty())
        m_lastDetach = true;
}

BYTE PortNumberArgument(const char* text)
{
    return static_cast<BYTE>(text ? std::atoi(text) : 0);
}
