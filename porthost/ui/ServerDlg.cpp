// The serial port server's window and its 100 ms timer, which ends the program after the last detach.
#include "ServerDlg.h"

#include "DiagnoDlg.h"

namespace
{
const DlgItem ServerItems[] = {
    {DlgKind::LText, 0xFFFF, 8, 8, 60, 10, "Settings"},
    {DlgKind::LText, IDC_SERVER_SETTINGS, 72, 8, 90, 10},
    {DlgKind::LText, 0xFFFF, 8, 22, 60, 10, "Users connected"},
    {DlgKind::LText, IDC_SERVER_USERS, 72, 22, 40, 10},
    {DlgKind::PushButton, IDC_SERVER_DIAGNO, 8, 40, 50, 14, "&Diagno"},
    {DlgKind::DefPushButton, IDOK, 112, 40, 50, 14, "OK"},
};
const DialogTemplate ServerTemplate = {
    "COM Server", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,         170, 62,
    ServerItems,  static_cast<int>(sizeof ServerItems / sizeof ServerItems[0])};
constexpr const char* ServerTemplateName = "PORTHAVEN_SERVER";
const BOOL ServerRegistered = AfxRegisterDialogTemplate(ServerTemplateName, &ServerTemplate);
} // namespace

CServerDlg::CServerDlg(BYTE port, CPortServer& server)
    : CDialog(ServerTemplateName), m_port(port), m_server(server)
{
    MapCommand(IDC_SERVER_DIAGNO, [this] { OnDiagno(); });
}

BOOL CServerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString title;
    title.Format("COM%d Server", m_port);
    SetWindowText(title);
    SetTimer(TimerId, TimerMilliseconds);
    ShowWindow(SW_MINIMIZE);
    return TRUE;
}

void CServerDlg::OnTimer(UINT_PTR id)
{
    if (id != TimerId)
    {
        CDialog::OnTimer(id);
        return;
    }
    if (m_server.LastDetached())
    {
        // An open diagnostics window keeps the program until it is closed.
        if (!m_bDiagnoOpen)
        {
            KillTimer(TimerId);
            EndDialog(IDOK);
        }
        return;
    }
    if (IsIconic())
        return;
    SetDlgItemText(IDC_SERVER_SETTINGS, m_server.LineText());
    CString users;
    users.Format("%d", m_server.ClientCount());
    SetDlgItemText(IDC_SERVER_USERS, users);
}

void CServerDlg::OnOK()
{
    ShowWindow(SW_MINIMIZE);
}

void CServerDlg::OnDiagno()
{
    m_bDiagnoOpen = true;
    CDiagnoDlg diagno("Com Server Diagnostics", m_server, this);
    diagno.DoModal();
    m_bDiagnoOpen = false;
}
