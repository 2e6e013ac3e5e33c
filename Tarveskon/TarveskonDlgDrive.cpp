// The main dialog's drive work: the wizard start, the connection settings and the recognition
// of the connected drive and motor.
#include "TarveskonDlg.h"

#include "PluginCall.h"
#include "TvskAddress.h"

#include <ZoSupport/ProgramError.h>

#include <cstdint>

namespace
{

constexpr long kDriveCodeAddress = (16L << 16) + 0xA7;
constexpr UINT kChooseDriveText = 2092;
constexpr UINT kChooseMotorText = 2131;

long PointerParam(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

} // namespace

bool CTarveskonDlg::CanStartWizard()
{
    const bool chosen =
        m_manager.IsDriveChosen() && (m_manager.IsMotorChosen() || m_manager.IsDriveWithMotor());
    return chosen || CTvskDataDb::IsRoventar(m_manager.DataDb().GetDriveType());
}

void CTarveskonDlg::OnStartWizard()
{
    StartWizard();
}

bool CTarveskonDlg::StartWizard()
{
    if (!CanStartWizard())
    {
        MessageBox(nullptr, LocalString(m_manager.IsDriveChosen() ? kChooseMotorText : kChooseDriveText),
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    bool keepImported = false;
    if (m_bImportedSlv)
        keepImported = MessageBox(nullptr, LocalString(2099), MB_YESNO | MB_ICONEXCLAMATION) == IDNO;
    m_bImportedSlv = 0;
    if (const int result = m_manager.LoadWizardData(!keepImported); result != 0)
    {
        MessageBox(nullptr, m_manager.GetFileErrorText(result), MB_OK | MB_ICONERROR);
        return false;
    }
    if (!m_strConnSettings.IsEmpty())
        m_manager.ParDb().SetCommSettings(m_strConnSettings);
    m_manager.SetModified(TRUE);
    ShowWizardPage();
    return true;
}

void CTarveskonDlg::ConfigConnection()
{
    if (m_manager.IsFileOpen())
    {
        m_manager.SendCommand(HOSTCMD_CONFIGCONN, 0, 0);
        SetDataString(nullptr);
        return;
    }
    m_manager.SendCommand(HOSTCMD_CONFIGCONN, 0, PointerParam(&m_strConnSettings));
    SetDataString(m_strConnSettings);
}

bool CTarveskonDlg::ShowDatabaseResult(int result, bool drives)
{
    switch (result)
    {
    case 0:
        if ((drives ? m_manager.DriveDb().GetRecordsNum() : m_manager.GetMotorDb()->GetRecordsNum(0)) > 0)
            return true;
        MessageBox(nullptr, LocalString(drives ? 2018 : 2019), MB_OK | MB_ICONERROR);
        return false;
    case -1:
        MessageBox(nullptr, LocalString(drives ? 2017 : 2013), MB_OK | MB_ICONERROR);
        return false;
    case 1:
        MessageBox(nullptr, LocalString(drives ? 2015 : 2011), MB_OK | MB_ICONERROR);
        return false;
    case 2:
    {
        const CString error =
            drives ? m_manager.DriveDb().GetErrorString() : m_manager.GetMotorDb()->GetErrorString();
        MessageBox(nullptr,
                   FormatString("%s\n%s", LocalString(drives ? 2014 : 2010).GetString(), error.GetString()),
                   MB_OK | MB_ICONERROR);
        return false;
    }
    case 3:
        MessageBox(nullptr, LocalString(drives ? 2016 : 2012), MB_OK | MB_ICONERROR);
        return false;
    case 5:
        MessageBox(nullptr, LocalString(drives ? 2036 : 2035), MB_OK | MB_ICONERROR);
        return false;
    case 6:
        MessageBox(nullptr, LocalString(drives ? 2109 : 2108), MB_OK | MB_ICONERROR);
        return false;
    default:
        ProgramError(__FILE__, __LINE__, nullptr);
        return false;
    }
}

bool CTarveskonDlg::AcceptDatabase(int result, bool drives)
{
    if (ShowDatabaseResult(result, drives))
        return true;
    // A refused database does not stay open: the next use loads it again.
    if (drives)
        m_manager.DriveDb().Close();
    else
        m_manager.GetMotorDb()->Close();
    return false;
}

bool CTarveskonDlg::ConnectForRecognition()
{
    m_manager.Disconnect();
    if (const int error = m_manager.Connect(m_strConnSettings); error != 0)
    {
        MessageBox(nullptr, m_manager.GetLinkErrorText(error), MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool CTarveskonDlg::ReadPacked(long packed, double& value)
{
    return m_manager.SendCommand(HOSTCMD_READADDR, packed, PointerParam(&value)) == HOSTRES_OK;
}

void CTarveskonDlg::FillRecognitionMaps()
{
    if (!m_motorRecognition.IsEmpty() || !m_encoderRecognition.IsEmpty())
        return;
    CTvskDriveDb& drives = m_manager.DriveDb();
    const auto enter = [](CMapStringToPtr& map, const char* type, const char* parameter)
    {
        CTvskAddress address;
        if (CTvskAddress::ParseName(parameter, address) && address.nBitDim != 1)
            map.SetAt(type, reinterpret_cast<void*>(static_cast<std::intptr_t>(address.Packed())));
    };
    for (long i = 0; i < drives.GetMotorParRecNum(); ++i)
        if (const DBDRIVEMOTPAR* rec = drives.GetMotorParRec(i))
            enter(m_motorRecognition, rec->szType, rec->szMotPar);
    for (long i = 0; i < drives.GetEncoderParRecNum(); ++i)
        if (const DBENCMOTPAR* rec = drives.GetEncoderParRec(i))
            enter(m_encoderRecognition, rec->szType, rec->szEncPar);
}

void CTarveskonDlg::UploadDrive()
{
    if (!ConnectForRecognition())
        return;
    double code = 0.0;
    const bool read = ReadPacked(kDriveCodeAddress, code);
    m_manager.Disconnect();
    if (!read)
    {
        MessageBox(nullptr, LocalString(2065), MB_OK | MB_ICONERROR);
        return;
    }
    const bool opened = !m_manager.DriveDb().IsOpen();
    if (opened && !AcceptDatabase(m_manager.OpenDrivesDatabase(), true))
        return;
    if (code <= 0 || !m_manager.SelectDriveFromCode(static_cast<long>(code)))
    {
        MessageBox(nullptr, LocalString(2062), MB_OK | MB_ICONERROR);
    }
    else
    {
        if (!m_manager.IsDriveCompatible())
            MessageBox(nullptr, LocalString(2078), MB_OK | MB_ICONEXCLAMATION);
        SetDataString(nullptr);
        m_wndMain.SetDriveImage();
        m_wndMain.SetMotorImage();
        FillRecognitionMaps();
    }
    if (opened)
        m_manager.DriveDb().Close();
}

void CTarveskonDlg::UploadMotor()
{
    const CString driveType = m_manager.DataDb().GetDriveType();
    if (!m_manager.IsDriveChosen() || driveType.IsEmpty())
    {
        MessageBox(nullptr, LocalString(2092), MB_OK | MB_ICONERROR);
        return;
    }
    if (!ConnectForRecognition())
        return;
    void* motorAddress = nullptr;
    void* encoderAddress = nullptr;
    double motorCode = 0.0;
    double encoderCode = 0.0;
    UINT failure = 0;
    if (!m_motorRecognition.Lookup(driveType, motorAddress))
        failure = 2093;
    else if (!ReadPacked(static_cast<long>(reinterpret_cast<std::intptr_t>(motorAddress)), motorCode))
        failure = 2065;
    else if (!m_encoderRecognition.Lookup(driveType, encoderAddress))
        failure = 2110;
    else if (!ReadPacked(static_cast<long>(reinterpret_cast<std::intptr_t>(encoderAddress)), encoderCode))
        failure = 2065;
    m_manager.Disconnect();
    if (failure != 0)
    {
        MessageBox(nullptr, LocalString(failure), MB_OK | MB_ICONERROR);
        return;
    }
    CTvskMotorDb& motors = *m_manager.GetMotorDb();
    const bool opened = !(motors.IsOpen() && motors.GetRecordsNum(0) > 0);
    if (opened && !AcceptDatabase(m_manager.OpenMotorsDatabase(), false))
        return;
    if (motorCode <= 0 || !m_manager.SelectMotorFromCode(static_cast<long>(motorCode)))
    {
        MessageBox(nullptr, LocalString(2091), MB_OK | MB_ICONERROR);
    }
    else if (m_manager.MotorDefinesEncoder() &&
             (encoderCode <= 0 || !m_manager.SelectEncoderFromCode(static_cast<long>(encoderCode))))
    {
        MessageBox(nullptr, "Encoder sconosciuto", MB_OK | MB_ICONERROR);
    }
    else
    {
        if (!m_manager.IsMotorCompatible())
            MessageBox(nullptr, LocalString(2078), MB_OK | MB_ICONEXCLAMATION);
        SetDataString(nullptr);
        m_wndMain.SetMotorImage();
    }
    if (opened)
        motors.Close();
}
