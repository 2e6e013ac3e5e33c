// The progress window of a long transfer: its text, how far it got, a note and Cancel. It keeps
// the program's other windows from input while it is up.
#pragma once

#include <ui/Dialog.h>

constexpr const char* IDD_TRANSFER_PROGRESS = "TRANSFER_PROGRESS";
constexpr UINT IDC_TRANSFER_TEXT = 1020;
constexpr UINT IDC_TRANSFER_COUNT = 1021;
constexpr UINT IDC_TRANSFER_NOTE = 1022;

class CDlgTransferProgress : public CDialog
{
public:
    CDlgTransferProgress();
    // Shown centred on the owner.
    BOOL Create(CWnd* owner, const CString& text);
    void SetProgress(const CString& count, const CString& note);
    bool CancelPressed() const { return m_bCancelled; }

protected:
    // Cancel only marks the request: the transfer stops at its next clean point and closes the window.
    void OnCancel() override;
    void OnOK() override {}

private:
    bool m_bCancelled = false;
};
