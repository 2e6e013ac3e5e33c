#include "TextFindDialog.h"

#include "CrystalTextView.h"

#include <TvskLumoPlc/text/TextEditStrings.h>

#include <ui/MessageBox.h>

namespace
{

constexpr UINT kStatic = 0xFFFF;

const DlgItem kFindItems[] = {
    {DlgKind::LText, kStatic, 6, 7, 40, 8, "Fi&nd what:"},
    {DlgKind::EditText, IDC_EDIT_TEXT, 48, 5, 132, 12, nullptr, ES_AUTOHSCROLL},
    {DlgKind::CheckBox, IDC_EDIT_WHOLE_WORD, 6, 24, 100, 10, "Match &whole word only"},
    {DlgKind::CheckBox, IDC_EDIT_MATCH_CASE, 6, 38, 64, 10, "Match &case"},
    {DlgKind::GroupBox, kStatic, 108, 22, 72, 28, "Direction"},
    {DlgKind::RadioButton, IDC_EDIT_DIRECTION_UP, 114, 34, 28, 10, "&Up"},
    {DlgKind::RadioButton, IDC_EDIT_DIRECTION_DOWN, 146, 34, 32, 10, "&Down"},
    {DlgKind::DefPushButton, IDOK, 186, 5, 50, 14, "&Find Next"},
    {DlgKind::PushButton, IDCANCEL, 186, 23, 50, 14, "Cancel"},
};
const DialogTemplate kFindTemplate = {"Find",     WS_POPUP | WS_CAPTION | DS_MODALFRAME,  242, 56,
                                      kFindItems, static_cast<int>(std::size(kFindItems))};
const BOOL kFindRegistered = AfxRegisterDialogTemplate(IDS_FIND_DIALOG, &kFindTemplate);

} // namespace

CTextFindDialog::CTextFindDialog(CCrystalTextView* view) : CDialog(IDS_FIND_DIALOG, view), m_pBuddy(view)
{
    MapCommand(
        IDC_EDIT_TEXT, [this] { UpdateFindNextButton(); }, EN_CHANGE);
}

BOOL CTextFindDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_matchCase.SubclassDlgItem(IDC_EDIT_MATCH_CASE, this);
    m_wholeWord.SubclassDlgItem(IDC_EDIT_WHOLE_WORD, this);
    m_up.SubclassDlgItem(IDC_EDIT_DIRECTION_UP, this);
    m_down.SubclassDlgItem(IDC_EDIT_DIRECTION_DOWN, this);
    SetDlgItemText(IDC_EDIT_TEXT, m_sText);
    m_matchCase.SetCheck(m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    m_wholeWord.SetCheck(m_bWholeWord ? BST_CHECKED : BST_UNCHECKED);
    (m_nDirection == 0 ? m_up : m_down).SetCheck(BST_CHECKED);
    UpdateFindNextButton();
    return TRUE;
}

void CTextFindDialog::ReadControls()
{
    GetDlgItemText(IDC_EDIT_TEXT, m_sText);
    m_bMatchCase = m_matchCase.GetCheck() == BST_CHECKED;
    m_bWholeWord = m_wholeWord.GetCheck() == BST_CHECKED;
    m_nDirection = m_up.GetCheck() == BST_CHECKED ? 0 : 1;
}

void CTextFindDialog::UpdateFindNextButton()
{
    CString text;
    GetDlgItemText(IDC_EDIT_TEXT, text);
    if (CWnd* findNext = GetDlgItem(IDOK))
        findNext->EnableWindow(!text.IsEmpty());
}

void CTextFindDialog::OnFindNext()
{
    ReadControls();
    if (m_sText.IsEmpty() || !m_pBuddy)
        return;
    DWORD flags = 0;
    if (m_bMatchCase)
        flags |= FIND_MATCH_CASE;
    if (m_bWholeWord)
        flags |= FIND_WHOLE_WORD;
    if (m_nDirection == 0)
        flags |= FIND_DIRECTION_UP;
    CPoint found;
    if (!m_pBuddy->FindText(m_sText, m_ptCurrentPos, flags, TRUE, &found))
    {
        CString message;
        message.Format(LoadTextEditString(IDS_EDIT_TEXT_NOT_FOUND), m_sText.GetString());
        AfxMessageBox(message, MB_ICONINFORMATION);
        m_ptCurrentPos = CPoint(0, 0);
        return;
    }
    m_pBuddy->HighlightText(found, m_sText.GetLength());
    CDialog::OnOK();
}

void CTextFindDialog::OnOK()
{
    OnFindNext();
}

void CTextFindDialog::OnCancel()
{
    ReadControls();
    CDialog::OnCancel();
}
