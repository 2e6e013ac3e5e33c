// Fonwick's window and its 100 ms timer, which ends the program once the server has closed.
#include "ModemServerDlg.h"

#include <DiagnoDlg.h>

#include <cstdlib>

namespace
{
const DlgItem ModemServerItems[] = {
    {DlgKind::EditText, IDC_MODEM_LOG, 8, 8, 200, 60, nullptr,
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL},
    {DlgKind::LText, 0xFFFF, 8, 74, 60, 10, "Dial number"},
    {DlgKind::LText, IDC_MODEM_NUMBER, 72, 74, 90, 10},
    {DlgKind::LText, 0xFFFF, 8, 86, 60, 10, "Users connected"},
    {DlgKind::LText, IDC_MODEM_USERS, 72, 86, 40, 10},
    {DlgKind::LText, 0xFFFF, 8, 98, 60, 10, "State"},
    {DlgKind::LText, IDC_MODEM_STATE, 72, 98, 90, 10},
    {DlgKind::LText, 0xFFFF, 8, 112, 80, 10, "Disconnect after (min)"},
    {DlgKind::EditText, IDC_MODEM_INACTIVITY, 92, 110, 30, 12},
    {DlgKind::PushButton, IDC_MODEM_APPLY, 128, 109, 40, 14, "&Apply"},
    {DlgKind::PushButton, IDC_MODEM_ABORT, 8, 130, 50, 14, "&Abort dial"},
    {DlgKind::PushButton, IDC_MODEM_DIAGNO, 62, 130, 50, 14, "&Diagno"},
    {DlgKind::DefPushButton, IDOK, 158, 130, 50, 14, "OK"},
};
const DialogTemplate ModemServerTemplate = {
    "Modem Server",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    216,
    152,
    ModemServerItems,
    static_cast<int>(sizeof ModemServerItems / sizeof ModemServerItems[0])};
constexpr const char* ModemServerTemplateName = "FONWICK_SERVER";
const BOOL ModemServerRegistered = AfxRegisterDialogTemplate(ModemServerTemplateName, &ModemServerTemplate);
} // namespace

const char* ModemStateText(int state)
{
    switch (state)
    {
    case MODEM_NOT_CONNECTED:
        return "Not connected";
    case MODEM_INITIALISING:
        return "Modem inizialize ...";
    case MODEM_DIALLING:
        return "Dialing ...";
    case MODEM_CONNECTED:
        return "Connected";
    case MODEM_ABORTED:
        return "Connection aborted";
    default:
        return "Undefined";
    }
}

CModemServerDlg::CModemServerDlg(BYTE port, CModemServer& server)
    : CDialog(ModemServerTemplateName), m_port(port), m_server(server)
{
    MapCommand(IDC_MODEM_ABORT, [this] { m_server.Dialer().Abort(); });
    MapCommand(
        IDC_MODEM_INACTIVITY,
        [this]
        {
            if (!m_showingInactivity)
                GetDlgItem(IDC_MODEM_APPLY)->EnableWindow(TRUE);
        },
        EN_CHANGE);
    MapCommand(IDC_MODEM_APPLY, [this] { OnApply(); });
    MapCommand(IDC_MODEM_DIAGNO, [this] { OnDiagno(); });
}

BOOL CModemServerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_log.SubclassDlgItem(IDC_MODEM_LOG, this);
    CString title;
    title.Format("Modem Server on COM%d", m_port);
    SetWindowText(title);
    SetTimer(TimerId, TimerMilliseconds);
    GetDlgItem(IDC_MODEM_ABORT)->ShowWindow(SW_HIDE);
    ShowInactivity();
    m_lastState = m_server.State();
    return TRUE;
}

void CModemServerDlg::ShowInactivity()
{
    CString minutes;
    minutes.Format("%d", m_server.Settings().inactivityMinutes);
    m_showingInactivity = true;
    SetDlgItemText(IDC_MODEM_INACTIVITY, minutes);
    m_showingInactivity = false;
    GetDlgItem(IDC_MODEM_APPLY)->EnableWindow(FALSE);
}

void CModemServerDlg::OnApply()
{
    CString text;
    GetDlgItemText(IDC_MODEM_INACTIVITY, text);
    m_server.SetInactivityMinutes(static_cast<WORD>(std::strtoul(text, nullptr, 10)));
    ShowInactivity();
}

void CModemServerDlg::OnTimer(UINT_PTR id)
{
    if (id != TimerId)
    {
        CDialog::OnTimer(id);
        return;
    }
    if (m_server.Ended())
    {
        // An open diagnostics window keeps the program until it is closed.
        if (!m_bDiagnoOpen)
        {
            KillTimer(TimerId);
            EndDialog(IDOK);
        }
        return;
    }
    const int state = m_server.State();
    if (state != m_lastState)
    {
        m_lastState = state;
        ShowWindow(SW_RESTORE);
    }
    GetDlgItem(IDC_MODEM_ABORT)->ShowWindow(state == MODEM_DIALLING ? SW_SHOW : SW_HIDE);
    if (!m_minimisedOnConnect && !IsIconic())
    {
        // Until the first connection the window keeps itself out of the way.
        m_minimisedOnConnect = state == MODEM_CONNECTED;
        ShowWindow(SW_MINIMIZE);
    }
    if (IsIconic())
        return;
    ShowLog(m_server.Dialer().Log());
    SetDlgItemText(IDC_MODEM_NUMBER, m_server.DialNumber());
    CString users;
    users.Format("%d", m_server.ClientCount());
    SetDlgItemText(IDC_MODEM_USERS, users);
    SetDlgItemText(IDC_MODEM_STATE, ModemStateText(state));
}

// A log that grew is appended to, so the end stays in view; any other change rewrites it.
void CModemServerDlg::ShowLog(const CString& log)
{
    if (log == m_shownLog)
        return;
    if (log.Left(m_shownLog.GetLength()) == m_shownLog)
        m_log.AppendText(log.Mid(m_shownLog.GetLength()));
    else
        m_log.SetText(log);
    m_shownLog = log;
}

void CModemServerDlg::OnOK()
{
    ShowWindow(SW_MINIMIZE);
}

void CModemServerDlg::OnDiagno()
{
    m_bDiagnoOpen = true;
    CDiagnoDlg diagno("Modem Server Diagnostics", m_server, this);
    diagno.DoModal();
    m_bDiagnoOpen = false;
}
