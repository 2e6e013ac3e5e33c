// The editor of a ladder comment: one edit control with the comment's text.
#pragma once

#include <ui/Dialog.h>

class CCommentDlg : public CDialog
{
public:
    static constexpr UINT IDD = 12823;
    static constexpr UINT IDC_COMMENT_TEXT = 1010;

    explicit CCommentDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    CString m_strText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
