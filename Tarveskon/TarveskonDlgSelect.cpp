// The main dialog's drive and motor selection.
#include "TarveskonDlg.h"

#include "DlgDriveSelect.h"
#include "DlgMotorSelect.h"

void CTarveskonDlg::SetDrive()
{
    if (!AcceptDatabase(m_manager.LoadDriveDb(), true))
        return;
    CDlgDriveSelect dialog(this);
    dialog.SetTvskManager(&m_manager);
    if (dialog.DoModal() == IDOK)
    {
        SetDataString(nullptr);
        m_wndMain.SetDriveImage();
        if (!m_manager.IsMotorChosen())
            m_wndMain.SetMotorImage();
    }
    m_manager.DriveDb().Close();
}

bool CTarveskonDlg::ChooseMotor()
{
    CTvskMotorDb& motors = *m_manager.GetMotorDb();
    if (!AcceptDatabase(m_manager.LoadMotorDb(), false))
        return false;
    bool chosen = false;
    if (motors.GetRecordsNum(0) == 0)
    {
        MessageBox(nullptr, LocalString(2019), MB_OK | MB_ICONERROR);
    }
    else
    {
        CDlgMotorSelect dialog(this);
        dialog.SetTvskManager(&m_manager);
        chosen = dialog.DoModal() == IDOK;
        if (chosen)
        {
            SetDataString(nullptr);
            m_wndMain.SetMotorImage();
        }
    }
    motors.Close();
    return chosen;
}

void CTarveskonDlg::SetMotor()
{
    ChooseMotor();
}

void CTarveskonDlg::UpdateMotor()
{
    if (!ChooseMotor())
        return;
    m_manager.UpdateMotor();
    m_manager.SetModified(TRUE);
}
