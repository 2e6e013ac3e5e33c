// The drive selection dialog and its template.
#include "DlgDriveSelect.h"

#include "TvskManager.h"

namespace
{

const DlgItem kItems[] = {
    {DlgKind::Frame, IDC_SELECT_PAGE_PLACEHOLDER, 0, 0, 420, 300},
};
const DialogTemplate kTemplate = {"Select drive", WS_POPUP | WS_CAPTION | WS_SYSMENU, 420, 300,
                                  kItems,         static_cast<int>(std::size(kItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_DRIVE_SELECT, &kTemplate); }
};
const Registration g_registration;

} // namespace

CDlgDriveSelect::CDlgDriveSelect(CWnd* parent) : CSelectDlg(IDD_DRIVE_SELECT, "Drives", parent) {}

CString CDlgDriveSelect::PagePath()
{
    return m_pManager ? m_pManager->GetDrivesPagePath() : CString();
}

bool CDlgDriveSelect::MotorCurrentAccepted()
{
    return m_pManager->SelectedDriveFitsMotor() ||
           m_pManager->MessageBox(2078, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDCANCEL;
}

void CDlgDriveSelect::OnOK()
{
    if (!m_pManager)
    {
        EndDialog(IDOK);
        return;
    }
    m_wndDrive.GetDriveValue();
    if (!MotorCurrentAccepted())
        return;
    if (m_pManager->SelectedDriveHasMotor() && m_pManager->IsMotorChosen())
    {
        // The drive brings its motor: a new configuration for it, asking first to save a modified
        // one; nothing is taken before the user agreed.
        if (!m_pManager->CanClose())
            return;
        CTvskDriveDb& db = m_pManager->DriveDb();
        const CString type = db.GetCurrDrive();
        const CString current = db.GetCurrCurrent();
        const CString voltage = db.GetCurrVoltage();
        const DBDRIVEDB chosen = db.GetCurrRecord() ? *db.GetCurrRecord() : DBDRIVEDB{};
        m_pManager->NewFile();
        m_pManager->LoadDriveDb();
        db.SetCurrDrive(type);
        db.SetCurrCurrent(current);
        db.SetCurrVoltage(voltage);
        if (DBDRIVEDB* record = db.GetCurrRecord())
            *record = chosen;
    }
    m_pManager->TakeSelectedDrive();
    EndDialog(IDOK);
}

void CDlgDriveSelect::OnCancel()
{
    if (m_pManager && m_pManager->DriveDb().IsOpen())
        m_pManager->MatchDriveDb();
    EndDialog(IDCANCEL);
}
