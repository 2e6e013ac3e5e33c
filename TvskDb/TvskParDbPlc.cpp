// The PLC program with its backup, the custom variables and the cam points of the parameter database.
#include "TvskParDb.h"

#include "TvskParFileDb.h"

#include <cstring>

namespace {

template <class T>
T* At(CArray<T>& records, long i)
{
    return i >= 0 && i < records.GetSize() ? &records[i] : nullptr;
}

} // namespace

void CTvskParDb::ResetParPlc()
{
    if (CParFileDb* db = FileDb(__LINE__)) db->m_plc.Records().RemoveAll();
}

long CTvskParDb::GetInstrNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_plc.NumRecs()) : 0;
}

DBPLC* CTvskParDb::GetPlcInstr(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? db->m_plc.GetRec(i) : nullptr;
}

DBPLC* CTvskParDb::AllocatePlcInstr(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db) return nullptr;
    CArray<DBPLC>& rows = db->m_plc.Records();
    if (i == rows.GetSize()) rows.SetSize(i + 1); // the new row is all zero
    return At(rows, i);
}

void CTvskParDb::BackupPlc()
{
    if (CParFileDb* db = FileDb(__LINE__)) db->m_backupPlc.Copy(db->m_plc.Records());
}

void CTvskParDb::RestorePlc()
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db) return;
    db->m_plc.Records().Copy(db->m_backupPlc);
    db->m_backupPlc.RemoveAll();
}

long CTvskParDb::GetBackupInstrNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_backupPlc.GetSize()) : 0;
}

DBPLC* CTvskParDb::GetBackupPlcInstr(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? At(db->m_backupPlc, i) : nullptr;
}

long CTvskParDb::GetSessionVarNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_sessionVars.NumRecs()) : 0;
}

DBSESSVAR* CTvskParDb::GetSessionVar(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? db->m_sessionVars.GetRec(i) : nullptr;
}

DBSESSVAR* CTvskParDb::GetSessionVar(const char* name, int* index)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db) return nullptr;
    CArray<DBSESSVAR>& vars = db->m_sessionVars.Records();
    int i = 0;
    for (; i < vars.GetSize(); ++i)
        if (name && std::strcmp(vars[i].szVarName, name) == 0) break;
    if (index) *index = i;
    return At(vars, i);
}

int CTvskParDb::SetSessionVar(DBSESSVAR* var, bool add)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || !var) return 0;
    // The caller's record may fill its arrays to the last byte: read them bounded.
    const CString name(var->szVarName, static_cast<int>(strnlen(var->szVarName, sizeof var->szVarName)));
    const CString value(var->szValue, static_cast<int>(strnlen(var->szValue, sizeof var->szValue)));
    if (DBSESSVAR* existing = GetSessionVar(name, nullptr))
    {
        std::memset(existing->szValue, 0, sizeof existing->szValue);
        CopyTextCut(existing->szValue, value);
        return 1;
    }
    if (!add) return 0;
    DBSESSVAR copy{};
    CopyTextCut(copy.szVarName, name);
    CopyTextCut(copy.szValue, value);
    copy.bFromFile = var->bFromFile;
    db->m_sessionVars.Records().Add(copy);
    return 1;
}

int CTvskParDb::DeleteSessionVar(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || i < 0 || i >= static_cast<int>(db->m_sessionVars.NumRecs())) return 0;
    db->m_sessionVars.Records().RemoveAt(i);
    return 1;
}

int CTvskParDb::DeleteSessionVar(const char* name)
{
    int index = 0;
    return GetSessionVar(name, &index) ? DeleteSessionVar(index) : 0;
}

void CTvskParDb::ResetSessionVars()
{
    if (CParFileDb* db = FileDb(__LINE__)) db->m_sessionVars.Records().RemoveAll();
}

long CTvskParDb::GetCamDefNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_camDefs.NumRecs()) : 0;
}

DBCAMDEF* CTvskParDb::GetCamDefPar(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? db->m_camDefs.GetRec(i) : nullptr;
}

long CTvskParDb::GetCamWorkNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_camWork.GetSize()) : 0;
}

DBCAMMA* CTvskParDb::GetCam(long i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? At(db->m_camWork, i) : nullptr;
}

void CTvskParDb::ResetCamData()
{
    if (CParFileDb* db = FileDb(__LINE__)) db->m_camWork.RemoveAll();
}

int CTvskParDb::SetCamData(long index, double value, int interpolation, int cam)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db) return 0;
    for (DBCAMMA& point : db->m_camWork)
    {
        if (point.nIdx != index || point.nCamNo != cam) continue;
        point.dblVal = value;
        point.interp = interpolation;
        return 1;
    }
    db->m_camWork.Add(DBCAMMA{static_cast<int>(index), value, interpolation, cam});
    return 0;
}
