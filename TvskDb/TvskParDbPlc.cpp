// The PLC program with its backup, the custom variables and the cam points of the parameter database.
#include "TvskParDb.h"

#include "TvskParFileDb.h"
#include "TvskRecordUtil.h"

#include <cstring>

void CTvskParDb::ResetParPlc()
{
    if (CParFileDb* db = FileDb(__LINE__))
        db->m_plc.Records().RemoveAll();
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
    if (!db)
        return nullptr;
    CArray<DBPLC>& rows = db->m_plc.Records();
    if (i == rows.GetSize())
        rows.SetSize(i + 1); // the new row is all zero
    return At(rows, i);
}

void CTvskParDb::BackupPlc()
{
    if (CParFileDb* db = FileDb(__LINE__))
        db->m_backupPlc.Copy(db->m_plc.Records());
}

void CTvskParDb::RestorePlc()
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return;
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
    if (!db)
        return nullptr;
    CArray<DBSESSVAR>& vars = db->m_sessionVars.Records();
    int i = 0;
    for (; i < vars.GetSize(); ++i)
        if (name && std::strcmp(vars[i].szVarName, name) == 0)
            break;
    if (index)
        *index = i;
    return At(vars, i);
}

int CTvskParDb::SetSessionVar(DBSESSVAR* var, bool add)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || !var)
        return 0;
    // The caller's record may fill its arrays to the last byte.
    DBSESSVAR copy = *var;
    TerminateTexts(copy);
    if (UpdateSessionVar(db->m_sessionVars.Records(), copy))
        return 1;
    if (!add)
        return 0;
    Append(db->m_sessionVars, copy);
    return 1;
}

int CTvskParDb::DeleteSessionVar(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || i < 0 || i >= static_cast<int>(db->m_sessionVars.NumRecs()))
        return 0;
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
    if (CParFileDb* db = FileDb(__LINE__))
        db->m_sessionVars.Records().RemoveAll();
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
    if (CParFileDb* db = FileDb(__LINE__))
        db->m_camWork.RemoveAll();
}

int CTvskParDb::SetCamData(long index, double value, int interpolation, int cam)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? SetCamPoint(db->m_camWork, index, value, interpolation, cam) : 0;
}
