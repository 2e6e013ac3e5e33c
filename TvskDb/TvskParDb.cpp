#include "TvskParDb.h"

#include "TvskParAddress.h"
#include "TvskParFileDb.h"

#include <ZoSupport/ZoSupport.h>

#include <cstring>

namespace {

const char s_defaultCommSettings[] = "VrnSer:0,200#COM:1,9600,E,8,1";

bool SameText(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
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
    if (!m_pDb) ProgramError(__FILE__, line, nullptr);
    return m_pDb.get();
}

int CTvskParDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CParFileDb>(m_pDb, path, *this);
    if (result != 0) return result;
    m_bOpen = 1;
    PostLoad();
    return 0;
}

void CTvskParDb::PostLoad()
{
    CParFileDb& db = *m_pDb;
    ResetModDescrFlag();
    // Rows the file held in PARW carry addresses as well; they are sorted with the rest.
    for (DBPAR& par : db.m_working.Records()) ParseAddress(par.szID, par.nAddr, par.nSubAddr);
    for (DBPAR& par : db.m_par.Records())
    {
        ParseAddress(par.szID, par.nAddr, par.nSubAddr);
        if (par.lOpMode < 0) db.m_working.Records().Add(par);
    }
    for (DBCMD& cmd : db.m_commands.Records()) ParseAddress(cmd.szID, cmd.nAddr, cmd.nSubAddr);
    m_nCurrMenu = 0;
    SetMenu(0);
    BuildOpModeLists();
    UpdateListAllPar();
    for (DBSESSVAR& var : db.m_sessionVars.Records()) var.bFromFile = 1;
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
    if (!m_bOpen || !m_pDb) return -1;
    m_pDb->SetVer(1);
    return m_pDb->WriteListing(path) ? 0 : 4;
}

CString CTvskParDb::GetField(const char* section, const char* field, long rec)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || !section || !field) return CString();
    CRecDefIntf* table = std::strcmp(section, "PAR") == 0 ? &db->m_working : db->FindSection(section);
    if (!table) return CString();
    for (int column = 0; column < table->NumFields(); ++column)
    {
        if (CString(table->FieldName(static_cast<unsigned short>(column))).CompareNoCase(field) != 0) continue;
        return table->SetRec(static_cast<int>(rec)) ? table->GetField(column) : CString();
    }
    return CString();
}

int CTvskParDb::SetField(const char* section, const char* field, long rec, const char* text)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || !section || !field || !text) return 0;
    CRecDefIntf* table = std::strcmp(section, "PAR") == 0 ? &db->m_working : db->FindSection(section);
    if (!table) return 0;
    for (int column = 0; column < table->NumFields(); ++column)
    {
        if (CString(table->FieldName(static_cast<unsigned short>(column))).CompareNoCase(field) != 0) continue;
        if (!table->SetRec(static_cast<int>(rec))) return 0;
        table->SetField(column, text);
        table->StoreRec(static_cast<int>(rec));
        return 1;
    }
    return 0;
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
    if (!db) return "";
    // An empty stored string could never open a link: it counts as none.
    const DBCOMM* comm = db->m_comm.GetRec(0);
    return comm && comm->szComm[0] ? comm->szComm : s_defaultCommSettings;
}

void CTvskParDb::SetCommSettings(const char* text)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db) return;
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
    if (!db) return;
    for (const DBMOTORDATA& row : db->m_motorData.Records())
    {
        if (!SameText(row.szMotorData, key)) continue;
        if (DBPAR* par = GetPar(row.szID, true))
        {
            par->dblDefVal = value;
            return;
        }
    }
}

void CTvskParDb::SetDriveData(const char* key, double value)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db) return;
    for (const DBDRIVEDATA& row : db->m_driveData.Records())
    {
        if (!SameText(row.szDriveData, key)) continue;
        if (DBPAR* par = GetPar(row.szID, true))
        {
            par->dblDefVal = value;
            return;
        }
    }
}
