// The drives catalogue and the choice of a drive.
#include "TvskDriveDb.h"

#include "TvskFieldTables.h"
#include "TvskFileRecords.h"
#include "TvskRecordUtil.h"
#include "TvskTable.h"

#include <TvskDb/TvskConvert.h>
#include <ZoSupport/ZoSupport.h>

#include <cstring>
#include <new>

namespace
{

const MEMODB_REC kVersionFields[] = {TVSK_FIELD_AS("szDriveVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC kImageFields[] = {TVSK_FIELD_STR(DBIMAGE, szType), TVSK_FIELD_STR(DBIMAGE, szPath)};
const MEMODB_REC kAliasFields[] = {TVSK_FIELD_STR(DBDRIVEALIAS, szType),
                                   TVSK_FIELD_STR(DBDRIVEALIAS, szAlias)};
const MEMODB_REC kFamilyFields[] = {TVSK_FIELD_STR(DBDRIVEFAMILY, Family),
                                    TVSK_FIELD_STR(DBDRIVEFAMILY, DriveName)};
const MEMODB_REC kTypeFields[] = {TVSK_FIELD_INT(DBDRIVETYPE, lType), TVSK_FIELD_STR(DBDRIVETYPE, szName)};
const MEMODB_REC kMotorParFields[] = {TVSK_FIELD_STR(DBDRIVEMOTPAR, szType),
                                      TVSK_FIELD_STR(DBDRIVEMOTPAR, szMotPar)};
const MEMODB_REC kEncoderParFields[] = {TVSK_FIELD_STR(DBENCMOTPAR, szType),
                                        TVSK_FIELD_STR(DBENCMOTPAR, szEncPar)};

} // namespace

class CDriveFileDb : public CTvskTextDb
{
public:
    CRecDef<DBVERSION> m_version;
    CRecDef<DBDRIVEDB> m_drives;
    CRecDef<DBDRIVEDB> m_extendedDrives;
    CRecDef<DBIMAGE> m_images;
    CRecDef<DBDRIVEALIAS> m_aliases;
    CRecDef<DBDRIVEFAMILY> m_families;
    CRecDef<DBDRIVETYPE> m_types;
    CRecDef<DBDRIVEMOTPAR> m_motorPars;
    CRecDef<DBENCMOTPAR> m_encoderPars;

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_version, kVersionFields, "VER", ";\n;\tVersione\n;\n");
        Register(m_drives, g_DriveDbFieldsD, "D", ";\n;\tDati Drives\n;\n", 1);
        Register(m_extendedDrives, g_DriveDbFieldsD1, "D1", ";\n;\tDati Drives (nuova versione)\n;\n", 3);
        Register(m_images, kImageFields, "IMG", ";\n;\tImmagini Drives\n;\n");
        Register(m_aliases, kAliasFields, "ALIAS", ";\n;\tAlias nomi drives\n;\n");
        Register(m_families, kFamilyFields, "FAMILY", ";\n;\tFamily drives\n;\n");
        Register(m_types, kTypeFields, "DT", ";\n;\tTipi di drives\n;\n");
        Register(m_motorPars, kMotorParFields, "MOTPAR", ";\n;\tParametro di Codifica Motore\n;\n");
        Register(m_encoderPars, kEncoderParFields, "ENCMOTPAR", ";\n;\tParametro di Codifica Motore\n;\n");
    }
};

CTvskDriveDb::CTvskDriveDb()
{
    Close();
}

CTvskDriveDb::~CTvskDriveDb()
{
    Close();
}

CDriveFileDb* CTvskDriveDb::Db() const
{
    return m_bOpen ? m_db.get() : nullptr;
}

int CTvskDriveDb::IsOpen() const
{
    return Db() ? 1 : 0;
}

int CTvskDriveDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CDriveFileDb>(m_db, path, *this);
    if (result != 0)
        return result;
    m_bOpen = 1;
    PostLoad();
    return 0;
}

int CTvskDriveDb::Close()
{
    m_definitions.RemoveAll();
    m_cascade.Reset();
    m_strType.Empty();
    m_strCurrent.Empty();
    m_strVoltage.Empty();
    m_strSavedType.Empty();
    m_strSavedCurrent.Empty();
    m_strSavedVoltage.Empty();
    m_strView.Empty();
    m_strParString.Empty();
    m_pCurrRecord = nullptr;
    m_db.reset();
    m_bOpen = 0;
    return 1;
}

void CTvskDriveDb::PostLoad()
{
    CDriveFileDb* db = Db();
    if (!db)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return;
    }
    m_cascade.Reset();
    for (DBDRIVEDB& drive : Records(db->m_drives))
    {
        CTokString parts(drive.szDriveDef, "^", 0);
        if (parts.NumToks() < 3)
            continue;
        const DBIMAGE* image = nullptr;
        for (const DBIMAGE& row : Records(db->m_images))
        {
            if (parts[0] == row.szType)
            {
                image = &row;
                break;
            }
        }
        CopyTextCut(drive.szImgPath, image ? image->szPath : "");
    }
    EnterRows(false);
    EnterRows(true);
}

void CTvskDriveDb::EnterRows(bool extended)
{
    CRecDef<DBDRIVEDB>& rows = extended ? m_db->m_extendedDrives : m_db->m_drives;
    long index = 0;
    for (DBDRIVEDB& drive : Records(rows))
    {
        CString definition(drive.szDriveDef);
        definition.MakeUpper();
        CopyTextCut(drive.szDriveDef, definition);
        m_definitions[drive.szDriveDef] = &drive;
        CTokString parts(drive.szDriveDef, "^", 0);
        if (parts.NumToks() >= 3)
        {
            m_cascade.UpdateValues(parts[0], parts[1], parts[2]);
            if (index == 0)
            {
                m_strType = parts[0];
                m_strCurrent = parts[1];
                m_strVoltage = parts[2];
                Choose();
            }
        }
        ++index;
    }
}

void CTvskDriveDb::CreateViewString()
{
    m_strView = m_strType + m_strCurrent;
    if (!m_strVoltage.IsEmpty())
        m_strView += "-" + m_strVoltage;
}

void CTvskDriveDb::CreateParString()
{
    m_strParString.Format("%s^%s^%s", m_strType.GetString(), m_strCurrent.GetString(),
                          m_strVoltage.GetString());
    m_strParString.MakeUpper();
}

void CTvskDriveDb::SelectCurrRecord()
{
    m_pCurrRecord = SelectByDefinition(m_definitions, m_strParString, m_pCurrRecord);
}

void CTvskDriveDb::Choose()
{
    CreateViewString();
    CreateParString();
    SelectCurrRecord();
}

void CTvskDriveDb::SetCurrDrive(const char* type)
{
    SetCurrDriveBool(type);
}

int CTvskDriveDb::SetCurrDriveBool(const char* type)
{
    m_strType = type;
    Choose();
    if (m_pCurrRecord)
        return 1;
    // The cascade's own answer: it names a current and a voltage of the type even when no
    // record stands for them.
    const int supplied = m_cascade.GetValuesFromDrive(m_strType, m_strCurrent, m_strVoltage);
    Choose();
    return supplied;
}

void CTvskDriveDb::SetCurrCurrent(const char* current)
{
    m_strCurrent = current;
    Choose();
    if (m_pCurrRecord)
        return;
    m_cascade.GetValuesFromCurr(m_strType, m_strCurrent, m_strVoltage);
    Choose();
}

void CTvskDriveDb::SetCurrVoltage(const char* voltage)
{
    m_strVoltage = voltage;
    Choose();
}

void CTvskDriveDb::SetCurrDriveData(bool restore)
{
    if (restore)
    {
        m_strType = m_strSavedType;
        m_strCurrent = m_strSavedCurrent;
        m_strVoltage = m_strSavedVoltage;
    }
    else
    {
        m_strSavedType = m_strType;
        m_strSavedCurrent = m_strCurrent;
        m_strSavedVoltage = m_strVoltage;
    }
    Choose();
}

bool CTvskDriveDb::SelectCurrRecordFromType(long code)
{
    DBDRIVEDB* found = nullptr;
    if (CDriveFileDb* db = Db())
    {
        for (CRecDef<DBDRIVEDB>* rows : {&db->m_drives, &db->m_extendedDrives})
        {
            for (DBDRIVEDB& drive : Records(*rows))
            {
                if (TvskDoubleToInt(drive.dblD5) == code)
                {
                    found = &drive;
                    break;
                }
            }
            if (found)
                break;
        }
    }
    if (!found)
    {
        m_pCurrRecord = nullptr;
        return false;
    }
    m_strType.Empty();
    m_strCurrent.Empty();
    m_strVoltage.Empty();
    CString parts[3];
    SplitDefinitionRuns(found->szDriveDef, parts);
    SetCurrDrive(parts[0]);
    SetCurrCurrent(parts[1]);
    SetCurrVoltage(parts[2]);
    if (m_pCurrRecord)
        CopyCarriedValues(*m_pCurrRecord, *found);
    m_pCurrRecord = found;
    return true;
}

CMapStringToPtr* CTvskDriveDb::GetCurrentMap()
{
    return m_cascade.Below(m_strType);
}

CMapStringToPtr* CTvskDriveDb::GetVoltageMap()
{
    CDriveStringToPtr* currents = m_cascade.Below(m_strType);
    return currents ? currents->Below(m_strCurrent) : nullptr;
}

CString CTvskDriveDb::GetVersion()
{
    CDriveFileDb* db = Db();
    const DBVERSION* version = db ? At(db->m_version, 0) : nullptr;
    return version ? CString(version->szVer) : CString("n/a");
}

long CTvskDriveDb::GetRecordsNum()
{
    return Db() ? Count(m_db->m_drives) : 0;
}
long CTvskDriveDb::GetExtendedRecordsNum()
{
    return Db() ? Count(m_db->m_extendedDrives) : 0;
}
long CTvskDriveDb::GetDrivesTypesNum()
{
    return Db() ? Count(m_db->m_types) : 0;
}
long CTvskDriveDb::GetDrivesAliasNum()
{
    return Db() ? Count(m_db->m_aliases) : 0;
}
long CTvskDriveDb::GetDrivesFamilyNum()
{
    return Db() ? Count(m_db->m_families) : 0;
}
long CTvskDriveDb::GetMotorParRecNum()
{
    return Db() ? Count(m_db->m_motorPars) : 0;
}
long CTvskDriveDb::GetEncoderParRecNum()
{
    return Db() ? Count(m_db->m_encoderPars) : 0;
}
DBDRIVETYPE* CTvskDriveDb::GetDriveType(long i)
{
    return Db() ? At(m_db->m_types, i) : nullptr;
}
DBDRIVEALIAS* CTvskDriveDb::GetDriveAlias(long i)
{
    return Db() ? At(m_db->m_aliases, i) : nullptr;
}
DBDRIVEFAMILY* CTvskDriveDb::GetDriveFamily(long i)
{
    return Db() ? At(m_db->m_families, i) : nullptr;
}
DBDRIVEMOTPAR* CTvskDriveDb::GetMotorParRec(long i)
{
    return Db() ? At(m_db->m_motorPars, i) : nullptr;
}
DBENCMOTPAR* CTvskDriveDb::GetEncoderParRec(long i)
{
    return Db() ? At(m_db->m_encoderPars, i) : nullptr;
}

CString CTvskDriveDb::GetDriveImage(const char* definition)
{
    CDriveFileDb* db = Db();
    if (!db || !definition)
        return "";
    CString image;
    for (CRecDef<DBDRIVEDB>* rows : {&db->m_drives, &db->m_extendedDrives})
    {
        for (const DBDRIVEDB& drive : Records(*rows))
        {
            if (std::strcmp(drive.szDriveDef, definition) == 0)
            {
                image = drive.szImgPath;
                break;
            }
        }
    }
    return image;
}

bool CTvskDriveDb::IsDriveWithMotor(CString definition)
{
    CDriveFileDb* db = Db();
    if (!db)
        return false;
    if (definition.IsEmpty())
        definition = m_strParString;
    for (const DBDRIVEDB& drive : Records(db->m_extendedDrives))
        if (definition == drive.szDriveDef && std::strcmp(drive.szDriveWithMotor, "1") == 0)
            return true;
    return false;
}
