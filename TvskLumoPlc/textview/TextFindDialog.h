// The find dialog of the text views (8601): searches from the caret, wrapping around the text.
#pragma once

#include <framework/Geometry.h>

#include <ui/Controls.h>
#include <ui/Dialog.h>

class CCrystalTextView;

constexpr UINT IDC_EDIT_TEXT = 8603;
constexpr UINT IDC_EDIT_WHOLE_WORD = 8604;
constexpr UINT IDC_EDIT_MATCH_CASE = 8605;
constexpr UINT IDC_EDIT_DIRECTION_UP = 8607;
constexpr UINT IDC_EDIT_DIRECTION_DOWN = 8608;

class CTextFindDialog : public CDialog
{
public:
    explicit CTextFindDialog(CCrystalTextView* view);

    int m_nDirection = 1; // 0 up, 1 down
    BOOL m_bMatchCase = FALSE;
    BOOL m_bWholeWord = FALSE;
    CString m_sText;
    CPoint m_ptCurrentPos;

    // Find Next: a match is selected and ends the dialog; none shows the not-found box and the next
    // search starts at the beginning of the text.
    void OnFindNext();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ReadControls();
    void UpdateFindNextButton();

    CCrystalTextView* m_pBuddy;
    CButton m_matchCase;
    CButton m_wholeWord;
    CButton m_up;
    CButton m_down;
};
