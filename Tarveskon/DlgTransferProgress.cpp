// The progress window of a long transfer and its template.
#include "DlgTransferProgress.h"

#include <QWidget>

namespace
{

const DlgItem kItems[] = {
    {DlgKind::LText, IDC_TRANSFER_TEXT, 7, 7, 226, 8},
    {DlgKind::LText, IDC_TRANSFER_COUNT, 7, 19, 226, 8},
    {DlgKind::LText, IDC_TRANSFER_NOTE, 7, 31, 226, 26},
    {DlgKind::PushButton, IDCANCEL, 95, 61, 50, 14, "Annulla"},
};
const DialogTemplate kTemplate = {"Tarveskon", WS_POPUP | WS_CAPTION | DS_MODALFRAME, 240, 82,
                                  kItems,      static_cast<int>(std::size(kItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_TRANSFER_PROGRESS, &kTemplate); }
};
const Registration g_registration;

} // namespace

CDlgTransferProgress::CDlgTransferProgress() : CDialog(IDD_TRANSFER_PROGRESS) {}

BOOL CDlgTransferProgress::Create(CWnd* owner, const CString& text)
{
    if (!CDialog::Create(IDD_TRANSFER_PROGRESS, owner))
        return FALSE;
    SetDlgItemText(IDC_TRANSFER_TEXT, text);
    GetWidget()->setWindowModality(Qt::ApplicationModal);
    if (owner)
        CenterWindow(owner);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CDlgTransferProgress::SetProgress(const CString& count, const CString& note)
{
    SetDlgItemText(IDC_TRANSFER_COUNT, count);
    SetDlgItemText(IDC_TRANSFER_NOTE, note);
}

void CDlgTransferProgress::OnCancel()
{
    m_bCancelled = true;
    if (CWnd* button = GetDlgItem(IDCANCEL))
        button->EnableWindow(FALSE);
}
