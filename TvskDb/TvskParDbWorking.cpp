// The working table of the current operating mode, the menu list, temporary parameters, backup.
#include "TvskParDb.h"

#include "TvskParFileDb.h"
#include "TvskRecordUtil.h"

#include <TvskDb/TvskConvert.h>
#include <ZoSupport/ZoSupport.h>

#include <cstring>

namespace
{

int CompareAddress(const void* a, const void* b)
{
    const auto& left = *static_cast<const DBPAR*>(a);
    const auto& right = *static_cast<const DBPAR*>(b);
    if (left.nAddr != right.nAddr)
        return left.nAddr < right.nAddr ? -1 : 1;
    return left.nSubAddr - right.nSubAddr;
}

bool SameSlot(const DBPAR& a, const DBPAR& b)
{
    return a.nAddr == b.nAddr && a.nSubAddr == b.nSubAddr && a.nBitDim == b.nBitDim;
}

// A temporary parameter belongs to no menu of the file: it is listed in whichever menu the user works.
bool InMenu(const DBPAR& par, int menu)
{
    return par.bTmp || (menu == 0 ? par.nMenu != -1 : par.nMenu == menu);
}

DBPAR* FindById(CArray<DBPAR>& records, const char* id)
{
    return id ? FirstWhere(records, [id](const DBPAR& par) { return std::strcmp(par.szID, id) == 0; })
              : nullptr;
}

} // namespace

void CTvskParDb::BuildOpModeLists()
{
    CArray<DBPAR>& pars = m_pDb->m_par.Records();
    for (long i = 0; i < pars.GetSize(); ++i)
        if (pars[i].lOpMode >= 0)
            m_opModeLists[static_cast<unsigned short>(pars[i].lOpMode & 0xFFFF)].push_back(i);
}

long CTvskParDb::GetParNum(bool working) const
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return 0;
    return working ? static_cast<long>(db->m_working.NumRecs()) : static_cast<long>(m_menuList.size());
}

DBPAR* CTvskParDb::GetPar(long i, bool working)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return nullptr;
    if (i < 0 || i >= GetParNum(working))
        return nullptr;
    if (working)
        return db->m_working.GetRec(static_cast<int>(i));
    return db->m_working.GetRec(static_cast<int>(m_menuList[static_cast<size_t>(i)]));
}

DBPAR* CTvskParDb::GetPar(const char* id, bool working)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db || !id)
        return nullptr;
    if (working)
        return FindById(db->m_working.Records(), id);
    for (long index : m_menuList)
    {
        DBPAR* par = db->m_working.GetRec(static_cast<int>(index));
        if (std::strcmp(par->szID, id) == 0)
            return par;
    }
    return nullptr;
}

unsigned short CTvskParDb::GetOpMode() const
{
    CParFileDb* db = FileDb(__LINE__);
    const DBOPMODEPAR* row = db ? db->m_opModePar.GetRec(0) : nullptr;
    if (!row || !row->szID[0])
        return 0xFFFF;
    const DBPAR* par = FindById(db->m_working.Records(), row->szID);
    return par ? static_cast<unsigned short>(TvskDoubleToInt(par->dblDefVal) & 0xFFFF) : 0xFFFF;
}

int CTvskParDb::IsOpModePar(const char* id) const
{
    CParFileDb* db = FileDb(__LINE__);
    const DBOPMODEPAR* row = db ? db->m_opModePar.GetRec(0) : nullptr;
    return row && id && id[0] && std::strcmp(row->szID, id) == 0;
}

void CTvskParDb::UpdateListAllPar()
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return;
    const unsigned short mode = GetOpMode();
    if (mode == 0xFFFF)
        return;
    const auto list = m_opModeLists.find(mode);
    if (list == m_opModeLists.end())
        return;
    if (list->second.empty())
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return;
    }
    CArray<DBPAR>& working = db->m_working.Records();
    CArray<DBPAR> kept;
    // Temporary parameters were added by the user for this configuration: a mode change keeps them.
    for (const DBPAR& par : working)
        if (par.lOpMode < 0 || par.bTmp)
            kept.Add(par);
    working.Copy(kept);
    CArray<DBPAR>& pars = db->m_par.Records();
    for (long index : list->second)
        working.Add(pars[index]);
    SetMenu(m_nCurrMenu);
    Sort();
}

int CTvskParDb::SetMenu(int menu)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return 0;
    m_menuList.clear();
    CArray<DBPAR>& working = db->m_working.Records();
    for (long i = 0; i < working.GetSize(); ++i)
        if (InMenu(working[i], menu))
            m_menuList.push_back(i);
    m_nCurrMenu = menu;
    return 1;
}

long CTvskParDb::GetMenusNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_menus.NumRecs()) : 0;
}

DBMENU* CTvskParDb::GetMenu(int i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? db->m_menus.GetRec(i) : nullptr;
}

int CTvskParDb::Sort()
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return 0;
    CArray<DBPAR>& working = db->m_working.Records();
    if (working.IsEmpty())
        return 0;
    CMemoSort sorter;
    sorter.Init(g_ParFields, 2);
    const int order[] = {0};
    if (!sorter.SetOrder(order, 1))
        return 0;
    sorter.SetFieldSort(0, MSORT_COMPARE, CompareAddress);
    sorter.Sort(working.GetData(), static_cast<int>(working.GetSize()), static_cast<int>(sizeof(DBPAR)));
    const int menu = m_nCurrMenu;
    SetMenu(-1);
    SetMenu(menu);
    return 1;
}

void CTvskParDb::ResetModDescrFlag()
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return;
    for (DBPAR& par : db->m_working.Records())
        par.bDescrMod = 0;
}

int CTvskParDb::AddTmpPar(DBPAR& par)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return 0;
    CArray<DBPAR>& working = db->m_working.Records();
    for (const DBPAR& existing : working)
        if (SameSlot(existing, par))
            return 0;
    par.bTmp = 1;
    DBPAR copy = par;
    TerminateTexts(copy);
    const long index = static_cast<long>(working.Add(copy));
    if (InMenu(par, m_nCurrMenu))
        m_menuList.push_back(index);
    return 1;
}

int CTvskParDb::RemTmpPar(DBPAR& par)
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return 0;
    CArray<DBPAR>& working = db->m_working.Records();
    for (long i = 0; i < working.GetSize(); ++i)
    {
        if (!working[i].bTmp || !SameSlot(working[i], par))
            continue;
        working.RemoveAt(i);
        SetMenu(m_nCurrMenu);
        return 1;
    }
    return 0;
}

void CTvskParDb::BackupPars()
{
    CParFileDb* db = FileDb(__LINE__);
    if (db)
        db->m_backupPars.Copy(db->m_working.Records());
}

void CTvskParDb::RestorePars()
{
    CParFileDb* db = FileDb(__LINE__);
    if (!db)
        return;
    db->m_working.Records().Copy(db->m_backupPars);
    db->m_backupPars.RemoveAll();
    SetMenu(m_nCurrMenu);
}

long CTvskParDb::GetBackupParNum() const
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? static_cast<long>(db->m_backupPars.GetSize()) : 0;
}

DBPAR* CTvskParDb::GetBackupPar(long i)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? At(db->m_backupPars, i) : nullptr;
}

DBPAR* CTvskParDb::GetBackupPar(const char* id)
{
    CParFileDb* db = FileDb(__LINE__);
    return db ? FindById(db->m_backupPars, id) : nullptr;
}
