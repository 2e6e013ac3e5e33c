// Commands of the shared block for the modem server, and how long it stays connected.
#include "ModemServer.h"

#include <porthost/PortTransfer.h>

#include <kernel/Time.h>

namespace
{
constexpr DWORD MillisecondsPerMinute = 60000;
}

CModemServer::CModemServer(const ModemSettings& settings)
    : CServedPort(MODEM_PORT_PREFIX), m_settings(settings)
{
}

bool CModemServer::Open(BYTE port)
{
    const bool opened = OpenPort(port);
    m_dialer.ClearLog();
    m_lastCommand = GetTickCount();
    return opened;
}

bool CModemServer::Dispatch()
{
    switch (m_link.WaitForCommand(IdleCheckMilliseconds))
    {
    case CPortServerLink::Wake::Command:
        m_lastCommand = GetTickCount();
        RunCommand(m_link.Block());
        m_link.Reply();
        return false;
    case CPortServerLink::Wake::Idle:
        // Clients killed without a detach count as detached.
        if (!m_clients.IsEmpty())
        {
            m_clients.ForgetEnded();
            m_noClients = m_clients.IsEmpty();
        }
        if (!m_noClients || !InactivityPassed())
            return false;
        break;
    case CPortServerLink::Wake::Gone:
        break;
    }
    Close();
    m_ended = true;
    return true;
}

void CModemServer::EndWithoutClients()
{
    if (m_clients.IsEmpty())
        m_noClients = true;
}

bool CModemServer::InactivityPassed() const
{
    return GetTickCount() - m_lastCommand > m_settings.inactivityMinutes * MillisecondsPerMinute;
}

void CModemServer::RunCommand(PORT_BLOCK& block)
{
    if (RunClientCommand(block))
        return;
    switch (block.command)
    {
    case PORT_CMD_SETLINE:
        block.result = SetLineAndDial(block);
        break;
    case PORT_CMD_READ:
        Read(block);
        break;
    default:
        break; // the modem sends no break; unknown commands leave the result as it was
    }
}

void CModemServer::Read(PORT_BLOCK& block)
{
    // Every read waits at least the normal time-out (0 would wait without limit).
    if (block.readTimeout < m_settings.normalTimeout)
        block.readTimeout = m_settings.normalTimeout;
    ServeRead(block, m_device, m_spy);
}

BYTE CModemServer::SetLineAndDial(PORT_BLOCK& block)
{
    if (!m_device.IsOpen())
        return 0;
    const CString number = UnescapeDialNumber(ReadDialNumber(block));
    const int state = m_state;
    if (state == MODEM_INITIALISING || state == MODEM_DIALLING || state == MODEM_CONNECTED)
        return number == DialNumber() ? 1 : 0;
    {
        const std::lock_guard<std::mutex> guard(m_numberMutex);
        m_dialNumber = number;
    }
    m_state = MODEM_INITIALISING;
    const BYTE connected = Connect(block);
    // A failed initialisation ends like a failed dial, so the next line command starts afresh.
    m_state = connected ? MODEM_CONNECTED : MODEM_ABORTED;
    return connected;
}

BYTE CModemServer::Connect(const PORT_BLOCK& block)
{
    if (!m_device.SetLine(block.argument, block.line.dataBits, block.line.parity, block.line.stopBits,
                          ModemLines::On))
        return 0;
    if (!m_dialer.Initialise(m_initFile))
        return 0;
    m_state = MODEM_DIALLING;
    return m_dialer.Dial(DialNumber()) ? 1 : 0;
}

CString CModemServer::DialNumber() const
{
    const std::lock_guard<std::mutex> guard(m_numberMutex);
    return m_dialNumber;
}
