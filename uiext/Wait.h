// The modeless wait dialog and the wait indicator that shows it while a long operation runs.
#pragma once

#include <ui/Dialog.h>

constexpr UINT IDD_DLG_WAIT = 15007;
constexpr UINT IDC_WAIT_TEXT = 15008;

class CDlgWait : public CDialog
{
public:
    explicit CDlgWait(CWnd* parent = nullptr);
    // Creates the dialog centred on the parent and shows it.
    virtual BOOL Create(CWnd* parent);

    CString m_strText;

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
};

class CWait
{
public:
    CWait() = default;
    virtual ~CWait();
    CWait(const CWait&) = delete;
    CWait& operator=(const CWait&) = delete;

    // Shows the wait dialog with the text and lets it paint for 100 ms; 0 when it cannot be created.
    int Start(CWnd* parent, const char* text);
    void Stop();
    bool IsShown() const { return m_pDlg != nullptr; }

private:
    CDlgWait* m_pDlg = nullptr;
};
