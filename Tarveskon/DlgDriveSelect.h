// The drive selection dialog: the drive page in place of control 1000; OK makes the chosen drive
// the configuration's, Cancel puts the configuration's drive back.
#pragma once

#include "DriveHtmlWnd.h"

constexpr UINT IDD_DRIVE_SELECT = 130;

class CDlgDriveSelect : public CSelectDlg
{
public:
    explicit CDlgDriveSelect(CWnd* parent = nullptr);
    CDriveHtmlWnd& DriveWnd() { return m_wndDrive; }

protected:
    CSelectHtmlWnd& PageWnd() override { return m_wndDrive; }
    CString PagePath() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // The motor-current check; false when the user cancels.
    bool MotorCurrentAccepted();

    CDriveHtmlWnd m_wndDrive;
};
