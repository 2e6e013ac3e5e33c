// Wait dialog and indicator.
#include "Wait.h"

#include <ui/App.h>

namespace
{
constexpr int kPaintPumpMs = 100;
} // namespace

CDlgWait::CDlgWait(CWnd* parent) : CDialog(IDD_DLG_WAIT, parent) {}

BOOL CDlgWait::Create(CWnd* parent)
{
    if (!CDialog::Create(IDD_DLG_WAIT, parent))
        return FALSE;
    CenterWindow(parent);
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CDlgWait::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_WAIT_TEXT, m_strText);
    return TRUE;
}

void CDlgWait::OnTimer(UINT_PTR id)
{
    KillTimer(id);
}

CWait::~CWait()
{
    Stop();
}

int CWait::Start(CWnd* parent, const char* text)
{
    // A second start replaces the dialog rather than leaving the first one behind.
    Stop();
    m_pDlg = new CDlgWait(parent);
    m_pDlg->m_strText = text;
    if (!m_pDlg->Create(parent))
    {
        delete m_pDlg;
        m_pDlg = nullptr;
        return 0;
    }
    AfxPumpMessages(kPaintPumpMs);
    return 1;
}

void CWait::Stop()
{
    if (!m_pDlg)
        return;
    m_pDlg->DestroyWindow();
    delete m_pDlg;
    m_pDlg = nullptr;
}
