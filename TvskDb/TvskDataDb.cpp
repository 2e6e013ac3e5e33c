// The user's session data file.
#include "TvskDataDb.h"

#include "TvskFieldTables.h"
#include "TvskRecordUtil.h"
#include "TvskTable.h"

#include <ZoSupport/ZoSupport.h>

#include <cstring>
#include <new>

namespace
{

constexpr const char* kDefaultCommSettings = "VrnSer:0,200#COM:1,9600,E,8,1";

const MEMODB_REC kLanguageFields[] = {TVSK_FIELD_STR(DBLANGUAGE, szName)};
const MEMODB_REC kCommFields[] = {TVSK_FIELD_STR(DBCOMM, szComm)};
const MEMODB_REC kValueFields[] = {TVSK_FIELD_STR(DBVALUE, szID), TVSK_FIELD_DBL(DBVALUE, dblValue),
                                   TVSK_FIELD_INT(DBVALUE, iFormat)};
const MEMODB_REC kTmpValueFields[] = {TVSK_FIELD_STR(DBTMPVALUE, szID), TVSK_FIELD_STR(DBTMPVALUE, szDescr),
                                      TVSK_FIELD_DBL(DBTMPVALUE, dblValue)};
const MEMODB_REC kMonitorFields[] = {TVSK_FIELD_STR(DBMONITOR, szID)};
const MEMODB_REC kStringFields[] = {TVSK_FIELD_STR(DBSTRING, strID), TVSK_FIELD_STR(DBSTRING, strDef)};
const MEMODB_REC kCamFields[] = {TVSK_FIELD_INT(DBCAMMA, nIdx), TVSK_FIELD_DBL(DBCAMMA, dblVal),
                                 TVSK_FIELD_INT(DBCAMMA, interp), TVSK_FIELD_INT(DBCAMMA, nCamNo)};

// An identifier as the file keeps it: at most 15 characters.
CString CutId(const char* id)
{
    CString cut(id);
    cut.CutUtf8(15);
    return cut;
}

// Runs an append that may run out of memory; 0 with nothing appended when it does.
template <class F> int AppendOrZero(F append)
{
    try
    {
        return append();
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return 0;
    }
}

} // namespace

class CDataFileDb : public CTvskTextDb
{
public:
    CRecDef<DBDRIVEDB> m_drive;
    CRecDef<DBMOTORDB> m_motor;
    CRecDef<DBMOTORENC> m_encoder;
    CRecDef<DBLANGUAGE> m_language;
    CRecDef<DBCOMM> m_comm;
    CRecDef<DBVALUE> m_values;
    CRecDef<DBTMPVALUE> m_tmpValues;
    CRecDef<DBMONITOR> m_monitor;
    CRecDef<DBPLC> m_plc;
    CRecDef<DBSTRING> m_strings;
    CRecDef<DBCAMMA> m_cams;
    CRecDef<DBSESSVAR> m_sessionVars;

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_drive, g_DriveDbFieldsD, "DRIVE", ";\n;\tDrive selected\n;\n");
        Register(m_motor, g_MotorDbFields, "MOTID", ";\n;\tMotor selected\n;\n");
        Register(m_encoder, g_MotorEncFields, "ENCID", ";\n;\tEncoder selected\n;\n", 2);
        Register(m_language, kLanguageFields, "LANG", ";\n;\tLanguage selected\n;\n");
        Register(m_comm, kCommFields, "COMM", ";\n;\tCommunication settings\n;\n");
        Register(m_values, kValueFields, "VAL", ";\n;\tValues\n;\n", 2);
        Register(m_tmpValues, kTmpValueFields, "TMPVAL", ";\n;\tTmp Values\n;\n");
        Register(m_monitor, kMonitorFields, "MON", ";\n;\tMonitor\n;\n");
        Register(m_plc, g_PlcFields, "PLC", ";\n;\tPLC instructions\n;\n", 1);
        Register(m_strings, kStringFields, "STR", ";\n;\tString\n;\n");
        Register(m_cams, kCamFields, "CAM", ";\n;\n;\n", 3);
        Register(m_sessionVars, g_SessVarFields, "SVAR", ";\n;\tCustom variables definitions\n;\n");
    }
};

CTvskDataDb::CTvskDataDb() = default;

CTvskDataDb::~CTvskDataDb()
{
    Close();
}

CDataFileDb* CTvskDataDb::Db()
{
    return m_bOpen ? m_db.get() : nullptr;
}

int CTvskDataDb::Create()
{
    return CreateTextDb<CDataFileDb>(m_db, m_bOpen);
}

int CTvskDataDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CDataFileDb>(m_db, path, *this);
    if (result != 0)
        return result;
    m_bOpen = 1;
    PostLoad();
    return 0;
}

int CTvskDataDb::Save(const char* path)
{
    CDataFileDb* db = Db();
    if (!db)
        return -1;
    db->SetVer(1);
    return path && db->Store(path) == 1 ? 0 : 4;
}

int CTvskDataDb::Close()
{
    m_strMotorType.Empty();
    m_strMotorSize.Empty();
    m_strMotorVel.Empty();
    m_strMotorTorque.Empty();
    m_strMotorVoltage.Empty();
    m_strDriveType.Empty();
    m_strDriveDef.Empty();
    m_strDriveCurrent.Empty();
    m_strDriveVoltage.Empty();
    m_strMotorImg.Empty();
    m_strDriveImg.Empty();
    m_db.reset();
    m_bOpen = 0;
    return 1;
}

void CTvskDataDb::PostLoad()
{
    SplitMotorDef();
    SplitDriveDef();
    for (DBSESSVAR& var : Records(m_db->m_sessionVars))
        var.bFromFile = 1;
}

void CTvskDataDb::SplitMotorDef()
{
    const DBMOTORDB* motor = GetMotorData();
    if (!motor)
        return;
    CTokString parts(motor->szMotorDef, "^", 0);
    if (parts.NumToks() < 5)
        return;
    m_strMotorType = parts[0];
    m_strMotorSize = parts[1];
    m_strMotorVel = parts[2];
    m_strMotorTorque = parts[3];
    m_strMotorVoltage = parts[4];
}

void CTvskDataDb::SplitDriveDef()
{
    const DBDRIVEDB* drive = GetDriveData();
    if (!drive)
        return;
    CTokString parts(drive->szDriveDef, "^", 0);
    if (parts.NumToks() < 3)
        return;
    m_strDriveType = parts[0];
    m_strDriveCurrent = parts[1];
    m_strDriveVoltage = parts[2];
    m_strDriveDef = drive->szDriveDef;
}

int CTvskDataDb::SetDriveData(const DBDRIVEDB* rec)
{
    CDataFileDb* db = Db();
    if (!db || !rec)
        return 0;
    DBDRIVEDB copy = *rec;
    TerminateTexts(copy);
    SetSingle(db->m_drive, copy);
    SplitDriveDef();
    return 1;
}

int CTvskDataDb::SetMotorData(const DBMOTORDB* rec)
{
    CDataFileDb* db = Db();
    if (!db || !rec)
        return 0;
    DBMOTORDB copy = *rec;
    TerminateTexts(copy);
    SetSingle(db->m_motor, copy);
    SplitMotorDef();
    return 1;
}

int CTvskDataDb::SetEncoderData(const DBMOTORENC* rec)
{
    CDataFileDb* db = Db();
    if (!db || !rec)
        return 0;
    DBMOTORENC copy = *rec;
    TerminateTexts(copy);
    SetSingle(db->m_encoder, copy);
    return 1;
}

DBDRIVEDB* CTvskDataDb::GetDriveData()
{
    CDataFileDb* db = Db();
    return db ? At(db->m_drive, 0) : nullptr;
}

DBMOTORDB* CTvskDataDb::GetMotorData()
{
    CDataFileDb* db = Db();
    return db ? At(db->m_motor, 0) : nullptr;
}

DBMOTORENC* CTvskDataDb::GetEncoderData()
{
    CDataFileDb* db = Db();
    return db ? At(db->m_encoder, 0) : nullptr;
}

const char* CTvskDataDb::GetDrive()
{
    const DBDRIVEDB* drive = GetDriveData();
    return drive ? drive->szDriveDef : "";
}

const char* CTvskDataDb::GetMotor()
{
    const DBMOTORDB* motor = GetMotorData();
    return motor ? motor->szMotorDef : "";
}

int CTvskDataDb::SetCommSettings(const char* settings)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    DBCOMM rec{};
    CopyTextCut(rec.szComm, 100, settings);
    SetSingle(db->m_comm, rec);
    return 1;
}

const char* CTvskDataDb::GetCommSettings()
{
    CDataFileDb* db = Db();
    const DBCOMM* comm = db ? At(db->m_comm, 0) : nullptr;
    return comm ? comm->szComm : kDefaultCommSettings;
}

int CTvskDataDb::SetLanguage(const char* name)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    DBLANGUAGE rec{};
    CopyTextCut(rec.szName, name);
    SetSingle(db->m_language, rec);
    return 1;
}

const char* CTvskDataDb::GetLanguage()
{
    CDataFileDb* db = Db();
    const DBLANGUAGE* language = db ? At(db->m_language, 0) : nullptr;
    return language ? language->szName : "";
}

CString CTvskDataDb::GetMotorString()
{
    const DBMOTORDB* motor = GetMotorData();
    CString text = m_strMotorType;
    if (motor && motor->dblD16 != 0)
        text += "A";
    if (!m_strMotorSize.IsEmpty())
        text += "_" + m_strMotorSize;
    if (!m_strMotorVel.IsEmpty())
        text += "_" + m_strMotorVel;
    if (!m_strMotorTorque.IsEmpty())
        text += "_" + m_strMotorTorque;
    if (!m_strMotorVoltage.IsEmpty())
        text += "..." + m_strMotorVoltage;
    if (motor && motor->dblD7 != 0)
    {
        // Without an encoder record the tab still marks that the motor has one.
        const DBMOTORENC* encoder = GetEncoderData();
        text += "\t";
        if (encoder)
            text += encoder->szCodVrn;
    }
    return text;
}

CString CTvskDataDb::GetDriveString() const
{
    CString text = m_strDriveType + m_strDriveCurrent;
    if (!m_strDriveVoltage.IsEmpty())
        text += "-" + m_strDriveVoltage;
    return text;
}

bool CTvskDataDb::IsRoventar(CString text)
{
    return text.Find("RVT") >= 0 || text.Find("Roventar") >= 0;
}

long CTvskDataDb::GetValNums()
{
    CDataFileDb* db = Db();
    return db ? Count(db->m_values) : 0;
}

DBVALUE* CTvskDataDb::GetValue(long i)
{
    CDataFileDb* db = Db();
    return db ? At(db->m_values, i) : nullptr;
}

int CTvskDataDb::SetValue(const char* id, double value, int format)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    const CString key = CutId(id);
    for (DBVALUE& rec : Records(db->m_values))
    {
        if (key == rec.szID)
        {
            rec.dblValue = value;
            rec.iFormat = format;
            return 1;
        }
    }
    DBVALUE rec{};
    CopyTextCut(rec.szID, key);
    rec.dblValue = value;
    rec.iFormat = format;
    return AppendOrZero(
        [&]
        {
            Append(db->m_values, rec);
            return 1;
        });
}

void CTvskDataDb::ResetValues()
{
    if (CDataFileDb* db = Db())
        Clear(db->m_values);
}

long CTvskDataDb::GetTmpValuesNum()
{
    CDataFileDb* db = Db();
    return db ? Count(db->m_tmpValues) : 0;
}

DBTMPVALUE* CTvskDataDb::GetTmpValue(long i)
{
    CDataFileDb* db = Db();
    return db ? At(db->m_tmpValues, i) : nullptr;
}

int CTvskDataDb::SetTmpValue(const char* id, const char* descr, double value)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    const CString key = CutId(id);
    for (DBTMPVALUE& rec : Records(db->m_tmpValues))
    {
        if (key == rec.szID)
        {
            rec.dblValue = value;
            return 1;
        }
    }
    DBTMPVALUE rec{};
    CopyTextCut(rec.szID, key);
    CopyTextCut(rec.szDescr, 200, descr);
    rec.dblValue = value;
    return AppendOrZero(
        [&]
        {
            Append(db->m_tmpValues, rec);
            return 1;
        });
}

void CTvskDataDb::ResetTmpValues()
{
    if (CDataFileDb* db = Db())
        Clear(db->m_tmpValues);
}

long CTvskDataDb::GetMonitorParNums()
{
    CDataFileDb* db = Db();
    return db ? Count(db->m_monitor) : 0;
}

DBMONITOR* CTvskDataDb::GetMonitorPar(long i)
{
    CDataFileDb* db = Db();
    return db ? At(db->m_monitor, i) : nullptr;
}

int CTvskDataDb::SetMonitorPar(const char* id)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    const CString key = CutId(id);
    for (const DBMONITOR& rec : Records(db->m_monitor))
        if (key == rec.szID)
            return 1;
    DBMONITOR rec{};
    CopyTextCut(rec.szID, key);
    return AppendOrZero(
        [&]
        {
            Append(db->m_monitor, rec);
            return 1;
        });
}

void CTvskDataDb::ResetMonitor()
{
    if (CDataFileDb* db = Db())
        Clear(db->m_monitor);
}

long CTvskDataDb::GetInstrNums()
{
    CDataFileDb* db = Db();
    return db ? Count(db->m_plc) : 0;
}

DBPLC* CTvskDataDb::GetInstruction(long i)
{
    CDataFileDb* db = Db();
    return db ? At(db->m_plc, i) : nullptr;
}

int CTvskDataDb::SetInstruction(long i, DBPLC rec)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    TerminateTexts(rec);
    const long count = Count(db->m_plc);
    if (i < 0 || i > count)
        return 0;
    if (i < count)
    {
        DBPLC* target = At(db->m_plc, i);
        CopyTextCut(target->szIstr, 100, rec.szIstr);
        for (int k = 0; k < 3; ++k)
            target->iOperands[k] = rec.iOperands[k];
        return 1;
    }
    return AppendOrZero(
        [&]
        {
            Append(db->m_plc, rec);
            return 1;
        });
}

void CTvskDataDb::ResetDataPlc()
{
    if (CDataFileDb* db = Db())
        Clear(db->m_plc);
}

int CTvskDataDb::SetDescr(const char* id, const char* text)
{
    CDataFileDb* db = Db();
    if (!db)
        return 0;
    const CString key = CutId(id);
    for (DBSTRING& rec : Records(db->m_strings))
    {
        if (key == rec.strID)
        {
            CopyTextCut(rec.strDef, 300, text);
            return 1;
        }
    }
    DBSTRING rec{};
    CopyTextCut(rec.strID, key);
    CopyTextCut(rec.strDef, 300, text);
    return AppendOrZero(
        [&]
        {
            Append(db->m_strings, rec);
            return 1;
        });
}

const char* CTvskDataDb::GetDescr(const char* id)
{
    CDataFileDb* db = Db();
    if (!db)
        return nullptr;
    const CString key = CutId(id);
    for (const DBSTRING& rec : Records(db->m_strings))
        if (key == rec.strID)
            return rec.strDef;
    return nullptr;
}

long CTvskDataDb::GetCammaNums()
{
    CDataFileDb* db = Db();
    return db ? Count(db->m_cams) : 0;
}

DBCAMMA* CTvskDataDb::GetCam(long i)
{
    CDataFileDb* db = Db();
    return db ? At(db->m_cams, i) : nullptr;
}

int CTvskDataDb::SetCammaData(long idx, double value, int interp, int camNo)
{
    CDataFileDb* db = Db();
    return db ? SetCamPoint(Records(db->m_cams), idx, value, interp, camNo) : 0;
}

int CTvskDataDb::GetCammaData(long idx, double& value, int& interp, int camNo)
{
    CDataFileDb* db = Db();
    const DBCAMMA* point = db ? FindCamPoint(Records(db->m_cams), idx, camNo) : nullptr;
    if (!point)
        return 0;
    value = point->dblVal;
    interp = point->interp;
    return 1;
}

void CTvskDataDb::ResetCammaData()
{
    if (CDataFileDb* db = Db())
        Clear(db->m_cams);
}

long CTvskDataDb::GetSessionVarNum()
{
    CDataFileDb* db = Db();
    return db ? Count(db->m_sessionVars) : 0;
}

DBSESSVAR* CTvskDataDb::GetSessionVar(long i)
{
    CDataFileDb* db = Db();
    return db ? At(db->m_sessionVars, i) : nullptr;
}

int CTvskDataDb::SetSessionVar(const DBSESSVAR* var)
{
    CDataFileDb* db = Db();
    if (!db || !var)
        return 0;
    DBSESSVAR copy = *var;
    TerminateTexts(copy);
    if (UpdateSessionVar(Records(db->m_sessionVars), copy))
        return 1;
    copy.bFromFile = 1;
    return AppendOrZero(
        [&]
        {
            Append(db->m_sessionVars, copy);
            return 1;
        });
}

void CTvskDataDb::ResetSessionVars()
{
    if (CDataFileDb* db = Db())
        Clear(db->m_sessionVars);
}
