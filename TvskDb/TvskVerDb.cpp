// The versions file.
#include "TvskVerDb.h"

#include "TvskFieldTables.h"
#include "TvskFileRecords.h"
#include "TvskTable.h"

#include <new>

namespace
{

const MEMODB_REC kReleaseFields[] = {TVSK_FIELD_AS("szVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC kDrivesFields[] = {TVSK_FIELD_AS("szDriveVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC kMotorsFields[] = {TVSK_FIELD_AS("szMotorVer", MDB_STRING, DBVERSION, szVer)};
const MEMODB_REC kParFields[] = {TVSK_FIELD_STR(DBDRIVEPARVER, szDriveDef),
                                 TVSK_FIELD_STR(DBDRIVEPARVER, szParVer)};
const MEMODB_REC kPagFields[] = {TVSK_FIELD_STR(DBDRIVEPAGVER, szDriveDef),
                                 TVSK_FIELD_STR(DBDRIVEPAGVER, szLang), TVSK_FIELD_STR(DBDRIVEPAGVER, szVer)};

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

CTvskVerDb::~CTvskVerDb()
{
    Close();
}

int CTvskVerDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    const int result = LoadNewTextDb<CVerFileDb>(m_db, path, *this);
    if (result != 0)
        return result;
    m_bOpen = 1;
    return 0;
}

int CTvskVerDb::Create()
{
    return CreateTextDb<CVerFileDb>(m_db, m_bOpen);
}

int CTvskVerDb::Close()
{
    m_db.reset();
    m_bOpen = 0;
    return 1;
}

const char* CTvskVerDb::GetReleaseVer()
{
    return Db() ? FirstVersion(m_db->m_release) : nullptr;
}
const char* CTvskVerDb::GetProgramVer()
{
    return Db() ? FirstVersion(m_db->m_program) : nullptr;
}
const char* CTvskVerDb::GetDrivesVer()
{
    return Db() ? FirstVersion(m_db->m_drives) : nullptr;
}
const char* CTvskVerDb::GetMotorsVer()
{
    return Db() ? FirstVersion(m_db->m_motors) : nullptr;
}
long CTvskVerDb::GetParNums()
{
    return Db() ? Count(m_db->m_parameters) : 0;
}
DBDRIVEPARVER* CTvskVerDb::GetParRec(long i)
{
    return Db() ? At(m_db->m_parameters, i) : nullptr;
}
long CTvskVerDb::GetPagNums()
{
    return Db() ? Count(m_db->m_pages) : 0;
}
DBDRIVEPAGVER* CTvskVerDb::GetPagRec(long i)
{
    return Db() ? At(m_db->m_pages, i) : nullptr;
}
