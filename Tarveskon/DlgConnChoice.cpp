// The connection choice dialog and its template.
#include "DlgConnChoice.h"

#include "TvskManager.h"
#include "TvskMessages.h"

#include <ui/HelpInfo.h>

namespace
{

const DlgItem kItems[] = {
    {DlgKind::PushButton, IDC_CONN_READ, 7, 4, 160, 14, "*** rd drive ***"},
    {DlgKind::PushButton, IDC_CONN_WRITE, 7, 22, 160, 14, "*** wr drive ***"},
    {DlgKind::PushButton, IDC_CONN_COMPARE_DRIVE, 7, 40, 160, 14, "*** cmp drive ***"},
    {DlgKind::PushButton, IDC_CONN_COMPARE_FILE, 7, 58, 160, 14, "*** cmp file ***"},
    {DlgKind::DefPushButton, IDOK, 7, 88, 160, 14, "*** annulla ***"},
};
const DialogTemplate kTemplate = {"*** conn ***", WS_POPUP | WS_CAPTION | WS_SYSMENU, 174, 109,
                                  kItems,         static_cast<int>(std::size(kItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_CONN_CHOICE, &kTemplate); }
};
const Registration g_registration;

struct ButtonText
{
    UINT id;
    UINT stringId;
};
constexpr ButtonText kTexts[] = {
    {IDOK, 2056},
    {IDC_CONN_READ, 2095},
    {IDC_CONN_WRITE, 2096},
    {IDC_CONN_COMPARE_DRIVE, 2097},
    {IDC_CONN_COMPARE_FILE, 2101},
};

} // namespace

CDlgConnChoice::CDlgConnChoice(CTvskManager* manager, CWnd* parent)
    : CDialog(IDD_CONN_CHOICE, parent), m_pManager(manager)
{
}

BOOL CDlgConnChoice::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pManager)
        return TRUE;
    CString text;
    if (m_pManager->GetString(2098, text) && !text.IsEmpty())
        SetWindowText(text);
    for (const ButtonText& button : kTexts)
        if (CWnd* item = GetDlgItem(button.id);
            item && m_pManager->GetString(button.stringId, text) && !text.IsEmpty())
            item->SetWindowText(text);
    return TRUE;
}

BOOL CDlgConnChoice::OnHelpInfo(HELPINFO*)
{
    CWnd* parent = GetParent();
    return parent ? static_cast<BOOL>(
                        parent->SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>("Connection")))
                  : FALSE;
}

BOOL CDlgConnChoice::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_CONN_READ:
        EndDialog(IDC_CONN_READ_RESULT);
        return TRUE;
    case IDC_CONN_WRITE:
        EndDialog(IDC_CONN_WRITE_RESULT);
        return TRUE;
    case IDC_CONN_COMPARE_DRIVE:
        EndDialog(IDC_CONN_COMPARE_DRIVE_RESULT);
        return TRUE;
    case IDC_CONN_COMPARE_FILE:
        EndDialog(IDC_CONN_COMPARE_FILE_RESULT);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
