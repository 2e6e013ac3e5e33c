// The wizard manager: choice of drive, motor and encoder, the parameter data of the wizard, the
// motor rules and drive commands.
#include "TvskManager.h"

#include <ui/UiDefs.h>

#include <cmath>
#include <cstring>

namespace
{

void SetIfPresent(CTvskParDb& db, const char* name, double value)
{
    if (DBPAR* par = db.GetPar(name, true))
        par->dblDefVal = value;
}

} // namespace

BOOL CTvskManager::SelectDrive(const char* definition)
{
    if (!definition || !m_driveDb.IsOpen() || m_driveDb.GetRecordsNum() == 0 || !m_dataDb.IsOpen())
        return FALSE;
    CString type, current, voltage;
    const CString text(definition);
    const int first = text.Find('^');
    const int second = first < 0 ? -1 : text.Find('^', first + 1);
    if (second < 0)
        return FALSE;
    m_driveDb.SetCurrDrive(text.Left(first));
    m_driveDb.SetCurrCurrent(text.Mid(first + 1, second - first - 1));
    m_driveDb.SetCurrVoltage(text.Mid(second + 1));
    return TakeCurrentDrive();
}

BOOL CTvskManager::SelectDriveFromCode(long code)
{
    if (code <= 0 || !m_driveDb.IsOpen() || !m_dataDb.IsOpen() || !m_driveDb.SelectCurrRecordFromType(code))
        return FALSE;
    return TakeCurrentDrive();
}

BOOL CTvskManager::TakeCurrentDrive()
{
    DBDRIVEDB* record = m_driveDb.GetCurrRecord();
    if (!record || !m_dataDb.SetDriveData(record))
        return FALSE;
    m_dataDb.SetDriveImg(m_driveDb.GetCurrDriveImage());
    m_bDriveWithMotor = m_driveDb.IsDriveWithMotor(record->szDriveDef);
    m_bDriveChosen = true;
    return TRUE;
}

bool CTvskManager::SelectedDriveHasMotor()
{
    const DBDRIVEDB* record = m_driveDb.IsOpen() ? m_driveDb.GetCurrRecord() : nullptr;
    return record && m_driveDb.IsDriveWithMotor(record->szDriveDef);
}

BOOL CTvskManager::SelectMotor(const char* definition, bool clear)
{
    if (!m_motorDb.IsOpen() || !m_dataDb.IsOpen())
        return FALSE;
    if (clear)
    {
        m_motorDb.SetCurrMotorData(false, true);
        m_dataDb.SetMotorImg("/Motors.jpg");
        m_bMotorChosen = false;
        return TRUE;
    }
    for (long i = 0; definition && i < m_motorDb.GetRecordsNum(0); ++i)
    {
        DBMOTORDB* motor = m_motorDb.GetRecord(static_cast<int>(i), 0);
        if (motor && std::strcmp(motor->szMotorDef, definition) == 0)
        {
            m_motorDb.SetCurrType(motor->szType);
            m_motorDb.SetCurrSize(motor->szSize);
            m_motorDb.SetCurrVel(motor->szSpeed);
            m_motorDb.SetCurrTorque(motor->szTorque);
            m_motorDb.SetCurrVoltage(motor->szVoltage);
            return TakeCurrentMotor();
        }
    }
    return FALSE;
}

BOOL CTvskManager::SelectMotorFromCode(long code)
{
    if (code <= 0 || !m_motorDb.IsOpen() || !m_dataDb.IsOpen() || !m_motorDb.SelectCurrRecordFromType(code))
        return FALSE;
    return TakeCurrentMotor();
}

BOOL CTvskManager::TakeCurrentMotor()
{
    DBMOTORDB* record = m_motorDb.GetCurrRecord();
    if (!record || !m_dataDb.SetMotorData(record))
        return FALSE;
    m_dataDb.SetMotorImg(m_motorDb.GetCurrMotorImage());
    m_bMotorChosen = true;
    return TRUE;
}

BOOL CTvskManager::SelectEncoderFromCode(long code)
{
    if (code <= 0 || !m_motorDb.SelectCurrEncRecordFromType(code, true))
        return FALSE;
    const DBMOTORENC* encoder = m_motorDb.GetCurrEncoder();
    return encoder && m_dataDb.SetEncoderData(encoder);
}

bool CTvskManager::MotorDefinesEncoder()
{
    const DBMOTORDB* motor = m_dataDb.GetMotorData();
    return motor && motor->dblD7 != 0.0;
}

BOOL CTvskManager::IsMotorCompatible()
{
    const DBDRIVEDB* drive = m_dataDb.GetDriveData();
    const DBMOTORDB* motor = m_dataDb.GetMotorData();
    return !drive || !motor || motor->dblD1 <= drive->dblD1;
}

BOOL CTvskManager::IsDriveCompatible()
{
    return IsMotorCompatible();
}

int CTvskManager::LoadWizardData(bool applyMotorData)
{
    Disconnect();
    ClearLists();
    m_strFailedLoad = GetParFilePath();
    if (m_parDb.Load(m_strFailedLoad) != 0)
        return 4;
    if (!StartDriveTypeScript())
        return 5;
    LoadDriveTexts();
    ReplaceDescriptions();
    if (m_slvDb.IsOpen())
    {
        ApplySlv();
        ApplyDescriptions();
    }
    else
        ApplyData();
    if (applyMotorData)
    {
        if (const DBMOTORDB* motor = m_dataDb.GetMotorData())
            for (int i = 0; i < m_dataDb.GetMotorDataNum(); ++i)
                m_parDb.SetMotorData(m_dataDb.GetMotorRecName(i), m_dataDb.GetMotorRecVal(motor, i));
        if (const DBDRIVEDB* drive = m_dataDb.GetDriveData())
            for (int i = 0; i < m_dataDb.GetDriveDataNum(); ++i)
                m_parDb.SetDriveData(m_dataDb.GetDriveRecName(i), m_dataDb.GetDriveRecVal(drive, i));
    }
    RunMotorRules(3);
    return 0;
}

void CTvskManager::UpdateMotor()
{
    Disconnect();
    if (!IsFileOpen())
        return;
    if (const DBMOTORDB* motor = m_dataDb.GetMotorData())
        for (int i = 0; i < m_dataDb.GetMotorDataNum(); ++i)
            m_parDb.SetMotorData(m_dataDb.GetMotorRecName(i), m_dataDb.GetMotorRecVal(motor, i));
    RunMotorRules(1);
}

void CTvskManager::RunMotorRules(int kind)
{
    if (ScriptsMayFire() && m_pEvents->LoadDefault(kind))
        return;
    const DBDRIVEDB* drive = m_dataDb.GetDriveData();
    const DBMOTORDB* motor = m_dataDb.GetMotorData();
    if (!drive || !motor || !IsFileOpen())
        return;
    if (drive->dblD1 < motor->dblD1)
        m_parDb.SetMotorData("D1", drive->dblD1);
    if (motor->dblD13 == 0.0)
        return;
    SetIfPresent(m_parDb, "Pr31", 1);
    // cos(phi) above 1 has no sine: the rule is left out, as for a missing parameter.
    const double cosPhi = motor->dblD14;
    const DBPAR* current = m_parDb.GetPar("Pr33", true);
    if (current && std::fabs(cosPhi) <= 1.0)
        SetIfPresent(m_parDb, "Pr49", current->dblDefVal * std::sqrt(1.0 - cosPhi * cosPhi));
    SetIfPresent(m_parDb, "Pr48", motor->dblD15);
    SetIfPresent(m_parDb, "Pr45", motor->dblD16);
}

BOOL CTvskManager::RunDriveCommand(const char* name)
{
    const DBCMD* command = IsFileOpen() && name ? m_parDb.GetCmdPar(name) : nullptr;
    if (!command)
    {
        MessageBox(2054, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    const bool events = ScriptsMayFire() && IsConnected();
    CString parameter;
    if (events)
    {
        switch (command->nBitDim)
        {
        case 1:
            parameter.Format("b%d.%d", command->nAddr, command->nSubAddr);
            break;
        case 16:
            parameter.Format("Pr%d", command->nAddr);
            break;
        case 32:
            parameter.Format("Pr%d:%d", command->nAddr + 1, command->nAddr);
            break;
        default:
            return FALSE;
        }
        m_pEvents->BeforeWritePar(parameter, command->dblVal);
        if (!m_bCanRW)
        {
            m_pEvents->AfterWritePar(parameter, command->dblVal);
            m_bCanRW = TRUE;
            return FALSE;
        }
    }
    const BOOL written = WriteAddr(command->nAddr, command->nSubAddr, command->nBitDim, command->dblVal);
    if (!written)
        MessageBox(2059, MB_OK | MB_ICONERROR);
    if (events)
        m_pEvents->AfterWritePar(parameter, command->dblVal);
    return written;
}
