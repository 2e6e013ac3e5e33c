#include "TextReplaceDialog.h"

#include "CrystalEditView.h"

#include <TvskLumoPlc/text/TextEditStrings.h>

#include <ui/MessageBox.h>

namespace
{

constexpr UINT kStatic = 0xFFFF;

const DlgItem kReplaceItems[] = {
    {DlgKind::LText, kStatic, 6, 8, 48, 8, "Fi&nd what:"},
    {DlgKind::EditText, IDC_EDIT_TEXT, 56, 6, 124, 12, nullptr, ES_AUTOHSCROLL},
    {DlgKind::LText, kStatic, 6, 26, 48, 8, "Re&place with:"},
    {DlgKind::EditText, IDC_EDIT_REPLACE_WITH, 56, 24, 124, 12, nullptr, ES_AUTOHSCROLL},
    {DlgKind::CheckBox, IDC_EDIT_WHOLE_WORD, 6, 44, 100, 10, "Match &whole word only"},
    {DlgKind::CheckBox, IDC_EDIT_MATCH_CASE, 6, 58, 64, 10, "Match &case"},
    {DlgKind::GroupBox, kStatic, 108, 42, 72, 40, "Replace in"},
    {DlgKind::RadioButton, IDC_EDIT_SCOPE_SELECTION, 114, 54, 60, 10, "&Selection"},
    {DlgKind::RadioButton, IDC_EDIT_SCOPE_WHOLEFILE, 114, 66, 60, 10, "Wh&ole file"},
    {DlgKind::DefPushButton, IDC_EDIT_SKIP, 186, 6, 56, 14, "&Find Next"},
    {DlgKind::PushButton, IDC_EDIT_REPLACE, 186, 24, 56, 14, "&Replace"},
    {DlgKind::PushButton, IDC_EDIT_REPLACE_ALL, 186, 42, 56, 14, "Replace &All"},
    {DlgKind::PushButton, IDCANCEL, 186, 60, 56, 14, "Cancel"},
};
const DialogTemplate kReplaceTemplate = {"Replace",     WS_POPUP | WS_CAPTION | DS_MODALFRAME,     248, 88,
                                         kReplaceItems, static_cast<int>(std::size(kReplaceItems))};
const BOOL kReplaceRegistered = AfxRegisterDialogTemplate(IDS_REPLACE_DIALOG, &kReplaceTemplate);

} // namespace

CTextReplaceDialog::CTextReplaceDialog(CCrystalEditView* view)
    : CDialog(IDS_REPLACE_DIALOG, view), m_pBuddy(view)
{
    MapCommand(
        IDC_EDIT_TEXT, [this] { UpdateButtons(); }, EN_CHANGE);
    MapCommand(IDC_EDIT_SKIP, [this] { OnEditSkip(); });
    MapCommand(IDC_EDIT_REPLACE, [this] { OnEditReplace(); });
    MapCommand(IDC_EDIT_REPLACE_ALL, [this] { OnEditReplaceAll(); });
}

BOOL CTextReplaceDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_matchCase.SubclassDlgItem(IDC_EDIT_MATCH_CASE, this);
    m_wholeWord.SubclassDlgItem(IDC_EDIT_WHOLE_WORD, this);
    m_scopeSelection.SubclassDlgItem(IDC_EDIT_SCOPE_SELECTION, this);
    m_scopeWholeFile.SubclassDlgItem(IDC_EDIT_SCOPE_WHOLEFILE, this);
    SetDlgItemText(IDC_EDIT_TEXT, m_sText);
    SetDlgItemText(IDC_EDIT_REPLACE_WITH, m_sNewText);
    m_matchCase.SetCheck(m_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    m_wholeWord.SetCheck(m_bWholeWord ? BST_CHECKED : BST_UNCHECKED);
    (m_nScope == 0 ? m_scopeSelection : m_scopeWholeFile).SetCheck(BST_CHECKED);
    m_scopeSelection.EnableWindow(m_bEnableScopeSelection);
    UpdateButtons();
    return TRUE;
}

void CTextReplaceDialog::ReadControls()
{
    if (!GetSafeHwnd())
        return;
    GetDlgItemText(IDC_EDIT_TEXT, m_sText);
    GetDlgItemText(IDC_EDIT_REPLACE_WITH, m_sNewText);
    m_bMatchCase = m_matchCase.GetCheck() == BST_CHECKED;
    m_bWholeWord = m_wholeWord.GetCheck() == BST_CHECKED;
    m_nScope = m_scopeSelection.GetCheck() == BST_CHECKED ? 0 : 1;
}

void CTextReplaceDialog::UpdateButtons()
{
    CString text;
    GetDlgItemText(IDC_EDIT_TEXT, text);
    for (UINT id : {IDC_EDIT_SKIP, IDC_EDIT_REPLACE, IDC_EDIT_REPLACE_ALL})
        if (CWnd* button = GetDlgItem(static_cast<int>(id)))
            button->EnableWindow(!text.IsEmpty());
}

DWORD CTextReplaceDialog::SearchFlags() const
{
    DWORD flags = 0;
    if (m_bMatchCase)
        flags |= FIND_MATCH_CASE;
    if (m_bWholeWord)
        flags |= FIND_WHOLE_WORD;
    return flags;
}

BOOL CTextReplaceDialog::DoHighlightText()
{
    BOOL found = FALSE;
    if (m_nScope == 0)
        found = m_pBuddy->FindTextInBlock(m_sText, m_ptCurrentPos, m_ptBlockBegin, m_ptBlockEnd,
                                          SearchFlags(), FALSE, &m_ptFoundAt);
    else
        found = m_pBuddy->FindText(m_sText, m_ptCurrentPos, SearchFlags(), FALSE, &m_ptFoundAt);
    if (!found)
    {
        CString message;
        message.Format(LoadTextEditString(IDS_EDIT_TEXT_NOT_FOUND), m_sText.GetString());
        AfxMessageBox(message, MB_ICONINFORMATION);
        m_ptCurrentPos = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
        m_bFound = FALSE;
        return FALSE;
    }
    m_pBuddy->HighlightText(m_ptFoundAt, m_sText.GetLength());
    m_bFound = TRUE;
    return TRUE;
}

void CTextReplaceDialog::OnEditSkip()
{
    ReadControls();
    if (m_sText.IsEmpty() || !m_pBuddy)
        return;
    if (m_bFound)
        m_ptCurrentPos = CPoint(m_ptFoundAt.x + m_sText.GetLength(), m_ptFoundAt.y);
    DoHighlightText();
}

void CTextReplaceDialog::OnEditReplace()
{
    ReadControls();
    if (m_sText.IsEmpty() || !m_pBuddy)
        return;
    if (!m_bFound)
    {
        DoHighlightText();
        return;
    }
    if (!m_pBuddy->ReplaceSelection(m_sNewText))
        return;
    // The block's last line changes length before the block end.
    const int grown = m_sNewText.GetLength() - m_sText.GetLength();
    if (m_nScope == 0 && m_ptFoundAt.y == m_ptBlockEnd.y && m_ptFoundAt.x < m_ptBlockEnd.x)
        m_ptBlockEnd.x += grown;
    m_ptCurrentPos = CPoint(m_ptFoundAt.x + m_sNewText.GetLength(), m_ptFoundAt.y);
    DoHighlightText();
}

void CTextReplaceDialog::OnEditReplaceAll()
{
    ReadControls();
    if (m_sText.IsEmpty() || !m_pBuddy)
        return;
    if (!m_bFound)
        DoHighlightText();
    while (m_bFound)
        OnEditReplace();
}

void CTextReplaceDialog::OnCancel()
{
    // The values typed are kept.
    ReadControls();
    CDialog::OnCancel();
}
