// The serial port server's window: line setting, number of clients and the way to diagnostics.
#pragma once

#include <PortServer.h>

#include <ui/Dialog.h>

enum ServerControl : UINT
{
    IDC_SERVER_SETTINGS = 1101,
    IDC_SERVER_USERS = 1102,
    IDC_SERVER_DIAGNO = 1103
};

class CServerDlg : public CDialog
{
public:
    static constexpr UINT TimerId = 1;
    static constexpr UINT TimerMilliseconds = 100;

    CServerDlg(BYTE port, CPortServer& server);

    bool IsDiagnoOpen() const noexcept { return m_bDiagnoOpen; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    // The server window cannot be closed by the user: OK minimises, cancel is ignored.
    void OnOK() override;
    void OnCancel() override {}

private:
    void OnDiagno();

    BYTE m_port;
    CPortServer& m_server;
    bool m_bDiagnoOpen = false;
};
