// The versions file.
#include "TvskVerDb.h"

#include "TvskFieldTables.h"
#include "TvskFileRecords.h"
#include "TvskTable.h"

#include <new>

namespace {

const MEMODB_REC kReleaseFields[] = {{"szVer", MDB_STRING, 21, static_cast<int>(offsetof(DBVERSION, szVer))}};
const MEMODB_REC kDrivesFields[] = {{"szDriveVer", MDB_STRING, 21, static_cast<int>(offsetof(DBVERSION, szVer))}};
const MEMODB_REC kMotorsFields[] = {{"szMotorVer", MDB_STRING, 21, static_cast<int>(offsetof(DBVERSION, szVer))}};
const MEMODB_REC kParFields[] = {TVSK_FIELD_STR(DBDRIVEPARVER, szDriveDef), TVSK_FIELD_STR(DBDRIVEPARVER, szParVer)};
const MEMODB_REC kPagFields[] = {TVSK_FIELD_STR(DBDRIVEPAGVER, szDriveDef), TVSK_FIELD_STR(DBDRIVEPAGVER, szLang),
                                 TVSK_FIELD_STR(DBDRIVEPAGVER, szVer)};

const char* FirstVersion(CRecDef<DBVERSION>& table)
{
    const DBVERSION* version = At(table, 0);
    return version ? version->szVer : nullptr;
}

} // namespace

class CVerFileDb : public CTvskTextDb
{
public:
    CRecDef<DBVERSION> m_release;
    CRecDef<DBVERSION> m_program;
    CRecDef<DBVERSION> m_drives;
    CRecDef<DBVERSION> m_motors;
    CRecDef<DBDRIVEPARVER> m_parameters;
    CRecDef<DBDRIVEPAGVER> m_pages;

protected:
    void Init() override
    {
        UseDatabaseSyntax();
        Register(m_release, kReleaseFields, "RELEASE", "\n; Release version:\n\n");
        Register(m_program, kReleaseFields, "PROGRAM", "\n; Program version:\n\n");
        Register(m_drives, kDrivesFields, "DRIVES", "\n; Drives DB version:\n\n");
        Register(m_motors, kMotorsFields, "MOTORS", "\n; Motors DB version:\n\n");
        Register(m_parameters, kParFields, "PAR", "\n; Parameters version:\n\n");
        Register(m_pages, kPagFields, "PAG", "\n; HTML Pages version:\n\n");
    }
};

CTvskVerDb::CTvskVerDb() = default;

CTvskVerDb::~CTvskVerDb() { Close(); }

int CTvskVerDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    std::shared_ptr<CVerFileDb> db(new (std::nothrow) CVerFileDb);
    if (!db) return 1;
    const int result = LoadTextFile(*db, path, *this);
    if (result != 0) return result;
    m_db = std::move(db);
    m_bOpen = 1;
    return 0;
}

int CTvskVerDb::Create()
{
    if (m_bOpen) return -1;
    m_db.reset(new (std::nothrow) CVerFileDb);
    if (!m_db) return -1;
    m_bOpen = 1;
    return 0;
}

int CTvskVerDb::Close()
{
    m_db.reset();
    m_bOpen = 0;
    return 1;
}

const char* CTvskVerDb::GetReleaseVer() { return Db() ? FirstVersion(m_db->m_release) : nullptr; }
const char* CTvskVerDb::GetProgramVer() { return Db() ? FirstVersion(m_db->m_program) : nullptr; }
const char* CTvskVerDb::GetDrivesVer() { return Db() ? FirstVersion(m_db->m_drives) : nullptr; }
const char* CTvskVerDb::GetMotorsVer() { return Db() ? FirstVersion(m_db->m_motors) : nullptr; }
long CTvskVerDb::GetParNums() { return Db() ? Count(m_db->m_parameters) : 0; }
DBDRIVEPARVER* CTvskVerDb::GetParRec(long i) { return Db() ? At(m_db->m_parameters, i) : nullptr; }
long CTvskVerDb::GetPagNums() { return Db() ? Count(m_db->m_pages) : 0; }
DBDRIVEPAGVER* CTvskVerDb::GetPagRec(long i) { return Db() ? At(m_db->m_pages, i) : nullptr; }
