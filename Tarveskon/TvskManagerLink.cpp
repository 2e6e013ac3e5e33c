// The wizard manager: connection to the drive, its settings, description, error texts, alarm
// and watchdog.
#include "TvskManager.h"

#include "TvskCommSettings.h"
#include "TvskParValues.h"

#include <kernel/Time.h>
#include <ui/UiDefs.h>

BOOL CTvskManager::IsConnected()
{
    return m_link.IsConnected();
}

int CTvskManager::Connect(const char* settings)
{
    const int error = OpenLink(settings);
    if (error == 0)
        m_pUi->PumpMessages(100);
    return error;
}

int CTvskManager::ConnectToDrive()
{
    if (const int error = OpenLink(""); error != 0)
        return error;
    // Asked before any message is pumped: no page polls a link that is not yet known to work.
    const DBCMD* alarm = IsFileOpen() ? m_parDb.GetCmdPar("Alarm") : nullptr;
    double value = 0.0;
    if (alarm && !ReadAddr(alarm->nAddr, alarm->nSubAddr, alarm->nBitDim, &value))
    {
        const int error = m_link.GetErrorCode();
        Disconnect();
        return error != DLE_OK ? error : DLE_NO_REPLY;
    }
    m_pUi->PumpMessages(100);
    return 0;
}

int CTvskManager::OpenLink(const char* settings)
{
    const CString text = settings && *settings ? CString(settings) : CommSettings();
    m_strConnDescr = tvsk::comm::Description(text);
    m_dwConnStart = GetTickCount();
    m_dwWatchdogPeriod = 0;
    if (m_link.Open(text))
        return 0;
    const int error = m_link.GetErrorCode();
    Disconnect();
    return error;
}

int CTvskManager::Disconnect()
{
    m_link.Close();
    m_strConnDescr.Empty();
    m_pUi->PumpMessages(100);
    return 0;
}

CString CTvskManager::ConfigConnection(const CString* current)
{
    CString start = current ? *current : CString();
    int probe = 0;
    int probeType = VT_EMPTY;
    if (IsFileOpen())
    {
        start = m_parDb.GetCommSettings();
        if (const DBCMD* alarm = m_parDb.GetCmdPar("Alarm"))
        {
            probe = alarm->nAddr;
            probeType = alarm->nBitDim == 1    ? VT_BOOL
                        : alarm->nBitDim == 16 ? VT_UI2
                        : alarm->nBitDim == 32 ? VT_UI4
                                               : VT_EMPTY;
            if (probeType == VT_EMPTY)
                probe = 0;
        }
    }
    CString result;
    m_link.Configure(result, start, probe, probeType);
    if (!result.IsEmpty())
    {
        m_strConnDescr = tvsk::comm::Description(result);
        if (IsFileOpen())
        {
            m_parDb.SetCommSettings(result);
            SetModified(TRUE);
        }
    }
    return result;
}

CString CTvskManager::GetLinkErrorText(int code)
{
    if (code >= 1 && code <= 14)
        return FormatString("%s:\n%s", LocalText(2034).GetString(), LocalText(2019 + code).GetString());
    return FormatString("%s: %d", LocalText(2034).GetString(), code);
}

CString CTvskManager::GetConnectionDescription(const char* settings)
{
    return settings && *settings ? tvsk::comm::Description(settings) : m_strConnDescr;
}

CString CTvskManager::CommSettings()
{
    if (IsFileOpen())
        return m_parDb.GetCommSettings();
    return m_dataDb.IsOpen() ? CString(m_dataDb.GetCommSettings()) : CString();
}

BOOL CTvskManager::IsCommAddress1000()
{
    return tvsk::comm::Address(CommSettings()) == "1000";
}

int CTvskManager::GetBaudRate(int* baud)
{
    return tvsk::comm::BaudRate(CommSettings(), baud);
}

int CTvskManager::GetAlarm()
{
    return IsFileOpen() && IsConnected() ? m_nLastAlarm : -1;
}

int CTvskManager::ReadAlarm(char* commFailed)
{
    const DBCMD* alarm = IsFileOpen() && IsConnected() ? m_parDb.GetCmdPar("Alarm") : nullptr;
    if (!alarm)
    {
        m_nLastAlarm = -1;
        return -1;
    }
    // One turn on the line, boxes off; a reply the line's own time-out allows is no broken link.
    double value = 0.0;
    const bool read = ReadAddr(alarm->nAddr, alarm->nSubAddr, alarm->nBitDim, &value, true);
    if (!read)
    {
        if (commFailed && !m_link.IsBlocked())
            *commFailed = 1;
        m_nLastAlarm = -1;
        return -1;
    }
    m_nLastAlarm = static_cast<short>(static_cast<long>(value));
    return m_nLastAlarm;
}

bool CTvskManager::IsLinkHeldByTransfer()
{
    return m_link.IsOwned() || m_link.IsBlocked() || !m_strTransferWait.IsEmpty();
}

void CTvskManager::SetWatchdogPeriod(DWORD milliseconds)
{
    m_dwWatchdogPeriod = milliseconds;
    m_dwConnStart = GetTickCount();
}

void CTvskManager::CheckConnection(bool restart)
{
    if (!IsConnected())
        return;
    const DWORD now = GetTickCount();
    if (restart)
        m_dwConnStart = now;
    // Without a period of the file's a line silent for a second is lost all the same: a link no
    // drive answers is never counted as a connection.
    constexpr DWORD kLostLinePeriod = 1000;
    const DWORD period = m_dwWatchdogPeriod != 0 ? m_dwWatchdogPeriod : kLostLinePeriod;
    // Unsigned differences stay right when the tick count wraps.
    if (now - m_dwConnStart <= period)
        return;
    const bool delivered = ScriptsMayFire() && m_pEvents->ConnectionTimeout();
    if (!delivered)
    {
        MessageBox(2107, MB_OK | MB_ICONERROR);
        Disconnect();
    }
    m_dwConnStart = GetTickCount();
}
