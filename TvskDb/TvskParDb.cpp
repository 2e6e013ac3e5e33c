#include "TvskParDb.h"

#include "TvskParAddress.h"
#include "TvskParFileDb.h"

#include <ZoSupport/ZoSupport.h>

#include <cstring>

namespace
{

const char s_defaultCommSettings[] = "VrnSer:0,200#COM:1,9600,E,8,1";

bool SameText(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
}

// The working-table parameter named by the first row of the datum whose parameter exists.
template <class Row, size_t N>
DBPAR* ParameterOfDatum(CTvskParDb& db, CArray<Row>& rows, char (Row::*key)[N], const char* datum)
{
    for (const Row& row : rows)
        if (SameText(row.*key, datum))
            if (DBPAR* par = db.GetPar(row.szID, true))
                return par;
    return nullptr;
}

// The table and column of the named section ("PAR" is the working table) and field, both
// compared without regard to case; false when either does not exist.
bool FindColumn(CParFileDb& db, const char* section, const char* field, CRecDefIntf*& table, int& column)
{
    if (!section || !field)
        return false;
    table = std::strcmp(section, "PAR") == 0 ? &db.m_working : db.FindSection(section);
    if (!table)
        return false;
    for (column = 0; column < table->NumFields(); ++column)
        if (CString(table->FieldName(static_cast<unsigned short>(column))).CompareNoCase(field) == 0)
            return true;
    return false;
}

// The record index of rec in the table, -1 for any number that is not one.
int RowIndex(CRecDefIntf& table, long rec)
{
    return rec >= 0 && static_cast<unsigned long>(rec) < table.NumRecs() ? static_cast<int>(rec) : -1;
}

void ParseAddress(const char* id, int& addr, int& subAddr)
{
    const CParAddress address = CParAddress::Parse(id);
    addr = address.nAddr;
    subAddr = address.nSubAddr;
}

} // namespace

CTvskParDb::CTvskParDb() = default;

CTvskParDb::~CTvskParDb()
{
    Close();
}

CParFileDb* CTvskParDb::FileDb(int line) const
{
    if (!m_pDb)
        ProgramError(__FILE__, line, nullptr);
    return m_pDb.get();
}

int CTvskParDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CParFileDb>(m_pDb, path, *this);
    if (result != 0)
        return result;
    if (m_pDb->m_par.NumRecs() == 0)
    {
        m_pDb.reset();
        return RefuseMissingRows(*this, path, "the file holds no parameter (no PAR row)");
    }
    m_bOpen = 1;
    PostLoad();
    return 0;
}

void CTvskParDb::PostLoad()
{
    CParFileDb& db = *m_pDb;
    ResetModDescrFlag();
    // Rows the file held in PARW carry addresses as well; they are sorted with the rest.
    for (DBPAR& par : db.m_working.Records())
        ParseAddress(par.szID, par.nAddr, par.nSubAddr);
    for (DBPAR& par : db.m_par.Records())
    {
        ParseAddress(par.szID, par.nAddr, par.nSubAddr);
        if (par.lOpMode < 0)
            db.m_working.Records().Add(par);
    }
    for (DBCMD& cmd : db.m_commands.Records())
        ParseAddress(cmd.szID, cmd.nAddr, cmd.nSubAddr);
    m_nCurrMenu = 0;
    SetMenu(0);
    BuildOpModeLists();
    UpdateListAllPar();
    for (DBSESSVAR& var : db.m_sessionVars.Records())
        var.bFromFile = 1;
}

int CTvskParDb::Close()
{
    m_menuList.clear();
    m_opModeLists.clear();
    m_pDb.reset();
    m_bOpen = 0;
    m_nCurrMenu = 0;
    return 1;
}

int CTvskParDb::Save(const char* path)
{
    if (!m_bOpen || !m_pDb)
        return -1;
    m_pDb->SetVer(1);
    return m_pDb->WriteListing(path) ? 0 : 4;
}

CString CTvskParDb::GetField(const char* section, const char* field, long rec)
{
    CParFileDb* db = FileDb(__LINE__);
    CRecDefIntf* table = nullptr;
    int column = 0;
    if (!db || !FindColumn(*db, section, field, table, column))
        return CString();
    return table->SetRec(RowIndex(*table, rec)) ? table->GetField(column) : CString();
}

int CTvskParDb::SetField(const char* section, const char* field, long rec, const char* text)
{
    CParFileDb* db = FileDb(__LINE__);
    CRecDefIntf* table = nullptr;
    int column = 0;
    if (!db || !text || !FindColumn(*db, section, field, table, column))
        return 0;
    const int row = RowIndex(*table, rec);
    if (!table->SetRec(row))
        return 0;
    table->SetField(column, text);
    table->StoreRec(row);
    return 1;
}

CString CTvskParDb::GetVersion() const
{
    CParFileDb* db = FileDb(__LINE__);
    const DBVERSION* ver = db ? db->m_ver.GetRec(0) : nullptr;
    return ver ? CString(ver->szVer) : CString("n/a");
}

const char* CTvskParDb::GetDrive() const
{
    CParFileDb* db = FileDb(__LINE__);
    const DBPARDRIVE* drive = db ? db->m_drive.GetRec(0) : nullptr;
    return drive ? drive->szDrive : "";
}

CString CTvskParDb::GetScriptFile() const
{
    CParFileDb* db = FileDb(__LINE__);
    const DBPARSCRIPT* script = db ? db->m_script.GetRec(0) : nullptr;
    return script ? CString(script->szName) : CString();
}

const char* CTvskParDb::GetCommSettings() const
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return "";
    // An empty stored string could never open a link: it counts as none.
    const DBCOMM* comm = db->m_comm.GetRec(0);
    return comm && comm->szComm[0] ? comm->szComm : s_defaultCommSettings;
}

void CTvskParDb::SetCommSettings(const char* text)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return;
    DBCOMM row{};
    CopyTextCut(row.szComm, 100, text ? text : "");
    SetSingle(db->m_comm, row);
}

long CTvskParDb::GetAlarmsNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_alarms.NumRecs()) : 0;
}

DBALARM* CTvskParDb::GetAlarm(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? db->m_alarms.GetRec(i) : nullptr;
}

DBALARM* CTvskParDb::GetAlarmFromID(int id)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? FirstWhere(db->m_alarms, [id](const DBALARM& alarm) { return alarm.nID == id; }) : nullptr;
}

DBCMD* CTvskParDb::GetCmdPar(const char* name)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? FirstWhere(db->m_commands, [name](const DBCMD& cmd) { return SameText(cmd.szName, name); })
              : nullptr;
}

int CTvskParDb::GetOptionsNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<int>(db->m_options.NumRecs()) : 0;
}

DBOPT* CTvskParDb::GetOption(const char* name)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? FirstWhere(db->m_options, [name](const DBOPT& opt) { return SameText(opt.szName, name); })
              : nullptr;
}

DBOPT* CTvskParDb::GetOption(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? db->m_options.GetRec(i) : nullptr;
}

void CTvskParDb::SetMotorData(const char* key, double value)
{
    CParFileDb* db = FileDb(__LINE__);
    DBPAR* par =
        db ? ParameterOfDatum(*this, db->m_motorData.Records(), &DBMOTORDATA::szMotorData, key) : nullptr;
    if (par)
        par->dblDefVal = value;
}

void CTvskParDb::SetDriveData(const char* key, double value)
{
    CParFileDb* db = FileDb(__LINE__);
    DBPAR* par =
        db ? ParameterOfDatum(*this, db->m_driveData.Records(), &DBDRIVEDATA::szDriveData, key) : nullptr;
    if (par)
        par->dblDefVal = value;
}
