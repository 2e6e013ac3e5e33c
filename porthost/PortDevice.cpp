// Line settings, read time-outs and transfers of the server's serial device.
#include "PortDevice.h"

#include "PortBlock.h"

#include <kernel/Time.h>

bool CPortDevice::Open(BYTE port)
{
    Close();
    const CString name = FormatString(port < 10 ? "COM%d" : "\\\\.\\COM%d", port);
    m_device = CreateFile(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return IsOpen();
}

void CPortDevice::Close() noexcept
{
    if (IsOpen())
        CloseHandle(m_device);
    m_device = INVALID_HANDLE_VALUE;
}

CString CPortDevice::FormatLine(DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits)
{
    static const char* const parityLetters[] = {"N", "O", "E", "M", "S"};
    static const char* const stopTexts[] = {"1", "1.5", "2"};
    return FormatString("%u,%s,%d,%s", baud, parity < 5 ? parityLetters[parity] : ".", dataBits,
                        stopBits < 3 ? stopTexts[stopBits] : ".");
}

bool CPortDevice::SetLine(DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits, ModemLines lines)
{
    if (!GetCommState(m_device, &m_lineState) || !GetCommTimeouts(m_device, &m_timeouts))
        return false;
    m_lineText = FormatLine(baud, dataBits, parity, stopBits);
    m_lineState.BaudRate = baud;
    m_lineState.ByteSize = dataBits;
    m_lineState.Parity = parity;
    m_lineState.StopBits = stopBits;
    m_lineState.fOutxCtsFlow = 0;
    m_lineState.fOutxDsrFlow = 0;
    m_lineState.fOutX = 0;
    m_lineState.fInX = 0;
    m_lineState.fDtrControl = lines == ModemLines::On ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    m_lineState.fRtsControl = lines == ModemLines::On ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    m_lineState.fTXContinueOnXoff = 1;
    m_timeouts = COMMTIMEOUTS();
    m_cachedReadTimeout = PORT_TIMEOUT_UNSET;
    const bool stateSet = SetCommState(m_device, &m_lineState);
    const bool timeoutsSet = SetCommTimeouts(m_device, &m_timeouts);
    return stateSet && timeoutsSet;
}

bool CPortDevice::SetReadTimeout(WORD t)
{
    if (!IsOpen())
        return false;
    if (t == m_cachedReadTimeout)
        return true;
    COMMTIMEOUTS timeouts = m_timeouts;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    if (t == PORT_TIMEOUT_IMMEDIATE)
    {
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = 0;
    }
    else
    {
        timeouts.ReadIntervalTimeout = t;
        timeouts.ReadTotalTimeoutConstant = t;
    }
    if (!SetCommTimeouts(m_device, &timeouts))
        return false;
    m_timeouts = timeouts;
    m_cachedReadTimeout = t;
    return true;
}

BOOL CPortDevice::Read(BYTE* data, DWORD count, DWORD& transferred)
{
    return ReadFile(m_device, data, count, &transferred, nullptr);
}

BOOL CPortDevice::Write(const BYTE* data, DWORD count, DWORD& transferred)
{
    return WriteFile(m_device, data, count, &transferred, nullptr);
}

void CPortDevice::Purge() noexcept
{
    PurgeComm(m_device, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

bool CPortDevice::SendBreak() noexcept
{
    if (!IsOpen() || !SetCommBreak(m_device))
        return false;
    Sleep(10);
    return ClearCommBreak(m_device);
}
