// The replace dialog of the edit view (8602): find, replace and replace all within the selection or
// the whole file, without wrapping around.
#pragma once

#include "TextFindDialog.h"

class CCrystalEditView;

constexpr UINT IDC_EDIT_REPLACE_WITH = 8609;
constexpr UINT IDC_EDIT_SCOPE_SELECTION = 8610;
constexpr UINT IDC_EDIT_SCOPE_WHOLEFILE = 8611;
constexpr UINT IDC_EDIT_SKIP = 8612;
constexpr UINT IDC_EDIT_REPLACE = 8613;
constexpr UINT IDC_EDIT_REPLACE_ALL = 8614;

class CTextReplaceDialog : public CDialog
{
public:
    explicit CTextReplaceDialog(CCrystalEditView* view);

    BOOL m_bMatchCase = FALSE;
    BOOL m_bWholeWord = FALSE;
    CString m_sText;
    CString m_sNewText;
    int m_nScope = 1; // 0 selection, 1 whole file
    BOOL m_bEnableScopeSelection = FALSE;
    BOOL m_bFound = FALSE;
    CPoint m_ptFoundAt;
    CPoint m_ptCurrentPos;
    CPoint m_ptBlockBegin;
    CPoint m_ptBlockEnd;

    // The three buttons; each is refused while the find text is empty.
    void OnEditSkip();
    void OnEditReplace();
    void OnEditReplaceAll();

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    void ReadControls();
    void UpdateButtons();
    DWORD SearchFlags() const;
    // Finds the next match from the current position and selects it; a miss shows the not-found
    // box and puts the position back to the start of the scope.
    BOOL DoHighlightText();

    CCrystalEditView* m_pBuddy;
    CButton m_matchCase;
    CButton m_wholeWord;
    CButton m_scopeSelection;
    CButton m_scopeWholeFile;
};
