// The main dialog's side of the automation object: the members that open a window holding a page
// answer at once and run on the dialog's next turn of the event loop.
#pragma once

#include "TvskIntf.h"

class CTarveskonDlg;

// wParam of WM_INTF_WINDOW: which dialog member runs.
enum class IntfWindowCall : WPARAM
{
    SetDrive,
    SetMotor,
    UpdateMotor
};

class CTarveskonIntfWindow : public CTvskIntfWindow
{
public:
    explicit CTarveskonIntfWindow(CTarveskonDlg& dialog) : m_dialog(dialog) {}

    void SetMotor() override { Post(IntfWindowCall::SetMotor); }
    void SetDrive() override { Post(IntfWindowCall::SetDrive); }
    void UpdateMotor() override { Post(IntfWindowCall::UpdateMotor); }
    bool IsSelectedRoventar() override;
    int RecentFileCount() override;
    CString RecentFile(int index) override;

private:
    void Post(IntfWindowCall call);

    CTarveskonDlg& m_dialog;
};
