// What the drive and motor selection share.
#include "SelectPage.h"

#include "TvskManager.h"
#include "TvskMessages.h"

#include <ZoSupport/ProgramError.h>
#include <framework/LeadingNumber.h>
#include <ui/HelpInfo.h>
#include <ui/MessageBox.h>

int CSelectHtmlWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (CTvskHtmlWndImpl::OnCreate(createStruct) == -1)
        return -1;
    if (const HRESULT hr = m_htmlMng.Create(Sink()); FAILED(hr) && ReportsCreationFailure())
        AfxMessageBox(FormatString("JyHtml Library Error: %08X", static_cast<unsigned>(hr)),
                      MB_OK | MB_ICONERROR);
    return 0;
}

void CSelectHtmlWnd::OnDestroy()
{
    m_htmlMng.Release();
    CTvskHtmlWndImpl::OnDestroy();
}

void CSelectHtmlWnd::OnBeforeNavigate2(CString, DWORD, CString, CByteArray&, CString, BOOL*)
{
    Sink().Disarm();
    m_htmlMng.RemoveAllControls();
}

bool CSelectHtmlWnd::BindPage()
{
    CWnd* dialog = GetParent();
    if (!m_htmlMng || !dialog)
        return false;
    Sink().Arm(m_htmlMng.Get(), this, dialog);
    return m_htmlMng.Bind(*this);
}

void CSelectHtmlWnd::ApplyPageTexts()
{
    CWnd* dialog = GetParent();
    CString title;
    if (m_htmlMng.GetText("TITLE", title) && dialog)
        dialog->SetWindowText(title);
    if (!m_pManager)
        return;
    const long count = m_htmlMng.ControlsNum();
    for (long i = 0; i < count; ++i)
    {
        const CString name = m_htmlMng.ControlName(i);
        const long kind = m_htmlMng.ControlType(name);
        if (kind != HTMLCTRL_BUTTON && kind != HTMLCTRL_PARA && kind != HTMLCTRL_TITLE)
            continue;
        CString text;
        if (!m_pManager->GetPrefixedString(m_htmlMng.ControlId(i), text))
            continue;
        if (kind == HTMLCTRL_BUTTON)
        {
            m_htmlMng.PutText(name, text);
            continue;
        }
        m_htmlMng.PutControlText(i, text);
        if (kind == HTMLCTRL_TITLE && dialog)
            dialog->SetWindowText(text);
    }
}

void CSelectHtmlWnd::FitDialog(const CPoint* at)
{
    long width = 0;
    long height = 0;
    CWnd* dialog = GetParent();
    if (!dialog || !m_htmlMng.DocumentSize(width, height))
        return;
    CRect place;
    dialog->GetWindowRect(&place);
    const CPoint corner = at ? *at : place.TopLeft();
    dialog->MoveWindow(corner.x, corner.y, width, height);
    CRect client;
    dialog->GetClientRect(&client);
    MoveWindow(0, 0, client.Width(), client.Height());
    UpdateWindow();
}

bool CSelectHtmlWnd::ReadNumber(const char* name, double& value)
{
    CString text;
    // A radio group's value is its checked button's; a field's is its whole text.
    const bool read = m_htmlMng.ControlType(name) == HTMLCTRL_RADIO ? m_htmlMng.GetText(name, text)
                                                                    : m_htmlMng.GetRawText(name, text);
    return read && tvsk::WholeDouble(text.GetString(), value);
}

void CSelectHtmlWnd::PutImage(const char* name, const CString& file)
{
    CString picture = file;
    picture.TrimLeft('/');
    m_htmlMng.PutText(name,
                      FormatString("%s/%s", m_pManager->GetImageDir().GetString(), picture.GetString()));
}

CSelectDlg::CSelectDlg(UINT templateId, const char* helpTopic, CWnd* parent)
    : CDialog(templateId, parent), m_helpTopic(helpTopic)
{
}

BOOL CSelectDlg::OnInitDialog()
{
    if (!m_pManager)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    CDialog::OnInitDialog();
    CSelectHtmlWnd& page = PageWnd();
    if (CWnd* placeholder = GetDlgItem(IDC_SELECT_PAGE_PLACEHOLDER))
    {
        CRect rect;
        placeholder->GetWindowRect(&rect);
        ScreenToClient(&rect);
        page.SetTvskManager(m_pManager);
        page.Create(nullptr, WS_CHILD | WS_VISIBLE, rect, this, IDC_SELECT_PAGE);
        page.SetUI_Flags(DOCHOSTUIFLAG_NO3DBORDER);
        placeholder->ShowWindow(SW_HIDE);
    }
    const CString path = PagePath();
    if (!path.IsEmpty() && page.GetSafeHwnd())
        page.Navigate(path);
    return TRUE;
}

BOOL CSelectDlg::OnHelpInfo(HELPINFO*)
{
    CWnd* parent = GetParent();
    if (!parent)
        return FALSE;
    return static_cast<BOOL>(parent->SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>(m_helpTopic)));
}
