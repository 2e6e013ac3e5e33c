// About box texts, picture fitting and the splash timer.
#include "AboutDlg.h"

#include "VersionInfo.h"

#include <ui/App.h>

CAboutDlg::CAboutDlg() : CAboutDlg(false, 3000) {}

CAboutDlg::CAboutDlg(bool splash, UINT splashMs, CWnd* parent)
    : CDialog(IDD_ABOUTBOX, parent), m_bSplash(splash ? TRUE : FALSE), m_nSplashMs(splashMs)
{
    m_strBuild.Format("Build : %s %s", __DATE__, __TIME__);
    if (CWinApp* app = AfxGetApp())
        m_strCaption = app->m_pszAppName;
}

// The texts and OK keep their places below the picture and centred under it, on the box's own
// background, wherever the picture ends.
void CAboutDlg::FitToPicture()
{
    CRect control;
    m_wndPicture.GetWindowRect(&control);
    ScreenToClient(&control);
    const int dx = m_wndPicture.GetWidth() - control.Width();
    const int dy = m_wndPicture.GetHeight() - control.Height();
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, window.Width() + dx, window.Height() + dy, SWP_NOMOVE | SWP_NOZORDER);
    m_wndPicture.SetWindowPos(nullptr, 0, 0, m_wndPicture.GetWidth(), m_wndPicture.GetHeight(),
                              SWP_NOMOVE | SWP_NOZORDER);
    for (UINT id : kBelowPicture)
        if (CWnd* item = GetDlgItem(id))
        {
            CRect rect;
            item->GetWindowRect(&rect);
            ScreenToClient(&rect);
            item->SetWindowPos(nullptr, rect.left + dx / 2, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    m_wndPicture.SubclassDlgItem(IDC_ABOUT_PICTURE, this);
    m_wndHyperlink.SubclassDlgItem(IDC_ABOUT_LINK, this);
    // Without a picture the box keeps its designed size instead of collapsing around nothing.
    if (m_wndPicture.Load(m_strPicturePath))
        FitToPicture();

    const VersionInfo program;
    m_strVersion.Format("Tarveskon version: %s   Program version: %s", m_strProductVersion.GetString(),
                        program.FileVersion().GetString());
    m_strVersion.Replace(',', '.');
    m_strDatabases.Format("Motor DB version: %s   Drive DB version: %s", m_strMotorDbVersion.GetString(),
                          m_strDriveDbVersion.GetString());
    m_strLegal = program.Copyright();
    m_wndHyperlink.SetHyperlink(m_strHyperlink);
    m_wndHyperlink.SetCaption(program.CompanyName());

    SetDlgItemText(IDC_ABOUT_VERSION, m_strVersion);
    SetDlgItemText(IDC_ABOUT_BUILD, m_strBuild);
    SetDlgItemText(IDC_ABOUT_LEGAL, m_strLegal);
    SetDlgItemText(IDC_ABOUT_DATABASES, m_strDatabases);

    if (m_bSplash)
    {
        // The picture alone: no caption, and the box cut under the picture (the texts are the
        // About box's).
        ModifyStyle(WS_CAPTION, 0);
        CRect picture;
        m_wndPicture.GetWindowRect(&picture);
        ScreenToClient(&picture);
        CRect window;
        GetWindowRect(&window);
        SetWindowPos(nullptr, 0, 0, window.Width(), picture.top + picture.bottom + 3,
                     SWP_NOMOVE | SWP_NOZORDER);
        SetTimer(kSplashTimer, m_nSplashMs);
    }
    return TRUE;
}

void CAboutDlg::OnTimer(UINT_PTR id)
{
    if (id == kSplashTimer)
    {
        KillTimer(kSplashTimer);
        PostMessage(WM_COMMAND, IDOK, 0);
        return;
    }
    CDialog::OnTimer(id);
}

void CAboutDlg::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_bSplash)
    {
        KillTimer(kSplashTimer);
        PostMessage(WM_COMMAND, IDOK, 0);
        return;
    }
    CDialog::OnLButtonUp(flags, point);
}
