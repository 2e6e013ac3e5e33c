#include "CommentDlg.h"

#include <iterator>

namespace
{
const DlgItem kCommentItems[] = {
    {DlgKind::EditText, CCommentDlg::IDC_COMMENT_TEXT, 6, 6, 208, 40, nullptr, ES_MULTILINE | ES_AUTOVSCROLL},
    {DlgKind::DefPushButton, IDOK, 110, 52, 50, 14, "OK"},
    {DlgKind::PushButton, IDCANCEL, 164, 52, 50, 14, "Cancel"},
};
const DialogTemplate kCommentTemplate = {"Edit comment", WS_POPUP | WS_CAPTION | DS_MODALFRAME,     220, 72,
                                         kCommentItems,  static_cast<int>(std::size(kCommentItems))};
const BOOL kCommentRegistered = AfxRegisterDialogTemplate(CCommentDlg::IDD, &kCommentTemplate);
} // namespace

BOOL CCommentDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_COMMENT_TEXT, m_strText);
    return TRUE;
}

void CCommentDlg::OnOK()
{
    GetDlgItemText(IDC_COMMENT_TEXT, m_strText);
    CDialog::OnOK();
}
