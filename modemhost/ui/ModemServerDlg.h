// The modem server's window: the modem dialogue, the connection state and the way to diagnostics.
#pragma once

#include <modemhost/ModemServer.h>

#include <ui/Dialog.h>
#include <ui/MultiLineEdit.h>

enum ModemServerControl : UINT
{
    IDC_MODEM_LOG = 1201,
    IDC_MODEM_NUMBER = 1202,
    IDC_MODEM_USERS = 1203,
    IDC_MODEM_STATE = 1204,
    IDC_MODEM_ABORT = 1205,
    IDC_MODEM_INACTIVITY = 1206,
    IDC_MODEM_APPLY = 1207,
    IDC_MODEM_DIAGNO = 1208
};

// The text the window shows for a modem state.
const char* ModemStateText(int state);

class CModemServerDlg : public CDialog
{
public:
    static constexpr UINT TimerId = 1;
    static constexpr UINT TimerMilliseconds = 100;

    CModemServerDlg(BYTE port, CModemServer& server);

    bool IsDiagnoOpen() const noexcept { return m_bDiagnoOpen; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    // The server window cannot be closed by the user: OK minimises, cancel is ignored.
    void OnOK() override;
    void OnCancel() override {}

private:
    void ShowInactivity();
    void ShowLog(const CString& log);
    void OnApply();
    void OnDiagno();

    BYTE m_port;
    CModemServer& m_server;
    CMultiLineEdit m_log;
    bool m_bDiagnoOpen = false;
    int m_lastState = MODEM_NOT_CONNECTED;
    bool m_minimisedOnConnect = false;
    bool m_showingInactivity = false;
    CString m_shownLog;
};
