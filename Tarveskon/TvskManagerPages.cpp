// The wizard manager: what the status page shows of the configuration and the connected drive.
#include "TvskManager.h"

namespace
{

CString Readable(const char* definition)
{
    CString text(definition);
    text.Replace('^', ' ');
    return text.Trim();
}

} // namespace

CString CTvskManager::GetDriveDescription()
{
    const DBDRIVEDB* drive = m_dataDb.GetDriveData();
    return m_bDriveChosen && drive ? Readable(drive->szDriveDef) : CString();
}

CString CTvskManager::GetMotorDescription()
{
    const DBMOTORDB* motor = m_dataDb.GetMotorData();
    return m_bMotorChosen && motor ? Readable(motor->szMotorDef) : CString();
}

CString CTvskManager::GetImageDir() const
{
    return GetAppPagesDir() + "/Image";
}

CString CTvskManager::GetDriveTypeName()
{
    const CString notAvailable = LocalText(2044);
    const DBCMD* command = IsFileOpen() && IsConnected() ? m_parDb.GetCmdPar("DriveType") : nullptr;
    if (!command)
        return notAvailable;
    double code = 0.0;
    if (!ReadAddr(command->nAddr, command->nSubAddr, 32, &code, true))
        return notAvailable;
    CString name;
    if (m_folders.DriveTypeMap().Lookup(static_cast<int>(code), name))
        return name;
    return LocalText(2062);
}

namespace
{

constexpr double DBDRIVEDB::*kDriveData[20] = {
    &DBDRIVEDB::dblD0,  &DBDRIVEDB::dblD1,  &DBDRIVEDB::dblD2,  &DBDRIVEDB::dblD3,  &DBDRIVEDB::dblD4,
    &DBDRIVEDB::dblD5,  &DBDRIVEDB::dblD6,  &DBDRIVEDB::dblD7,  &DBDRIVEDB::dblD8,  &DBDRIVEDB::dblD9,
    &DBDRIVEDB::dblD10, &DBDRIVEDB::dblD11, &DBDRIVEDB::dblD12, &DBDRIVEDB::dblD13, &DBDRIVEDB::dblD14,
    &DBDRIVEDB::dblD15, &DBDRIVEDB::dblD16, &DBDRIVEDB::dblD17, &DBDRIVEDB::dblD18, &DBDRIVEDB::dblD19};
constexpr double DBMOTORDB::*kMotorData[20] = {
    &DBMOTORDB::dblD0,  &DBMOTORDB::dblD1,  &DBMOTORDB::dblD2,  &DBMOTORDB::dblD3,  &DBMOTORDB::dblD4,
    &DBMOTORDB::dblD5,  &DBMOTORDB::dblD6,  &DBMOTORDB::dblD7,  &DBMOTORDB::dblD8,  &DBMOTORDB::dblD9,
    &DBMOTORDB::dblD10, &DBMOTORDB::dblD11, &DBMOTORDB::dblD12, &DBMOTORDB::dblD13, &DBMOTORDB::dblD14,
    &DBMOTORDB::dblD15, &DBMOTORDB::dblD16, &DBMOTORDB::dblD17, &DBMOTORDB::dblD18, &DBMOTORDB::dblD19};

bool ValidIndex(int i)
{
    return i >= 0 && i < 20;
}

} // namespace

double CTvskManager::GetDriveValue(int i)
{
    const DBDRIVEDB* record = m_driveDb.IsOpen() ? m_driveDb.GetCurrRecord() : m_dataDb.GetDriveData();
    return record && ValidIndex(i) ? record->*kDriveData[i] : 0.0;
}

void CTvskManager::SetDriveValue(int i, double value)
{
    DBDRIVEDB* record = m_driveDb.IsOpen() ? m_driveDb.GetCurrRecord() : nullptr;
    if (!record || !ValidIndex(i))
        return;
    record->*kDriveData[i] = value;
    m_driveDb.CreateViewString();
}

CString CTvskManager::GetDriveImageName()
{
    return m_driveDb.IsOpen() ? m_driveDb.GetCurrDriveImage() : m_dataDb.GetDriveImg();
}

CString CTvskManager::GetDriveViewString()
{
    return m_driveDb.IsOpen() ? m_driveDb.GetViewString() : GetDriveDescription();
}

double CTvskManager::GetMotorValue(int i)
{
    const DBMOTORDB* record = m_motorDb.IsOpen() ? m_motorDb.GetCurrRecord() : m_dataDb.GetMotorData();
    return record && ValidIndex(i) ? record->*kMotorData[i] : 0.0;
}

void CTvskManager::SetMotorValue(int i, double value)
{
    DBMOTORDB* record = m_motorDb.IsOpen() ? m_motorDb.GetCurrRecord() : nullptr;
    if (!record || !ValidIndex(i))
        return;
    record->*kMotorData[i] = value;
    m_motorDb.CreateViewString();
}

CString CTvskManager::GetMotorImageName()
{
    return m_motorDb.IsOpen() ? m_motorDb.GetCurrMotorImage() : m_dataDb.GetMotorImg();
}

CString CTvskManager::GetMotorViewString()
{
    return m_motorDb.IsOpen() ? m_motorDb.GetViewString() : GetMotorDescription();
}

CString CTvskManager::GetEncoderValue(int i)
{
    if (!m_motorDb.IsOpen())
        return CString();
    const CString value = m_motorDb.GetCurrEncodValue(i);
    // The kind and the description are texts of the database's language, the rest numbers.
    CString translated;
    if ((i == 0 || i == 4) && m_language.TranslateText(value, translated))
        return translated;
    return value;
}

BOOL CTvskManager::TakeSelectedMotor()
{
    if (!TakeCurrentMotor())
        return FALSE;
    if (const DBMOTORENC* encoder = m_motorDb.GetCurrEncoder())
        m_dataDb.SetEncoderData(encoder);
    return TRUE;
}

bool CTvskManager::SelectedDriveFitsMotor()
{
    const DBMOTORDB* motor = m_dataDb.GetMotorData();
    const DBDRIVEDB* drive = m_driveDb.GetCurrRecord();
    return !m_bMotorChosen || !motor || !drive || motor->dblD1 <= drive->dblD1;
}

bool CTvskManager::SelectedMotorFitsDrive()
{
    const DBDRIVEDB* drive = m_dataDb.GetDriveData();
    const DBMOTORDB* motor = m_motorDb.GetCurrRecord();
    return !m_bDriveChosen || !drive || !motor || drive->dblD1 >= motor->dblD1;
}
