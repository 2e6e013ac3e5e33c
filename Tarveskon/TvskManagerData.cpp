// The wizard manager: the data file stored from and applied to the parameter database, imported
// listings, descriptions, temporary parameters and the monitor list.
#include "TvskManager.h"

#include "TvskAddress.h"

#include <ZoSupport/ProgramError.h>
#include <ui/UiDefs.h>

#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace
{

template <size_t N> void CopyCut(char (&target)[N], const char* text)
{
    std::snprintf(target, N, "%s", text ? text : "");
}

// The working table by name, so applying thousands of values stays linear.
std::unordered_map<std::string, DBPAR*> IndexByName(CTvskParDb& db)
{
    std::unordered_map<std::string, DBPAR*> index;
    const long count = db.GetParNum(true);
    index.reserve(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i)
        if (DBPAR* par = db.GetPar(i, true))
            index.emplace(par->szID, par);
    return index;
}

DBPAR* Find(const std::unordered_map<std::string, DBPAR*>& index, const char* name)
{
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

} // namespace

CString CTvskManager::ParDescription(const DBPAR& par)
{
    CString text;
    CString id;
    id.Format("%d", par.idDescr);
    if (m_language.GetString(static_cast<UINT>(par.idDescr), text) && !text.IsEmpty() && text != id)
        return text;
    return par.szDescr;
}

void CTvskManager::ReplaceDescriptions()
{
    // A temporary parameter's text is the user's.
    const long count = m_parDb.GetParNum(true);
    for (long i = 0; i < count; ++i)
        if (DBPAR* par = m_parDb.GetPar(i, true); par && !par->bTmp)
            CopyCut(par->szDescr, ParDescription(*par));
    for (int i = 0; i < m_parDb.GetMenusNum(); ++i)
        if (DBMENU* menu = m_parDb.GetMenu(i))
        {
            CString text;
            m_language.GetString(static_cast<UINT>(menu->idDescr), text);
            if (text.IsEmpty() || text == FormatString("%d", menu->idDescr))
                continue;
            CopyCut(menu->szDescr, text);
        }
    for (int i = 0; i < m_parDb.GetAlarmsNum(); ++i)
        if (DBALARM* alarm = m_parDb.GetAlarm(i))
        {
            CString text;
            if (m_language.GetString(static_cast<UINT>(alarm->idDescr), text) && !text.IsEmpty() &&
                text != FormatString("%d", alarm->idDescr))
                CopyCut(alarm->szDescr, text);
        }
}

BOOL CTvskManager::GetParDescr(const char* name, CString& text, bool withValue)
{
    text.Empty();
    DBPAR* par = IsFileOpen() && name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
        return FALSE;
    const bool oneBit = par->nBitDim == 1 && withValue;
    const int value = static_cast<int>(par->dblDefVal);
    if (m_language.GetParDescrText(name, text, par->lOpMode >= 0) && !text.IsEmpty())
    {
        if (oneBit)
            text.AppendFormat("(Val:%d)", value);
        return TRUE;
    }
    text = ParDescription(*par);
    if (oneBit)
        text.AppendFormat("(Val:%d)", value);
    return !text.IsEmpty();
}

void CTvskManager::StoreData()
{
    // A configuration without its parameter file keeps the data file as it is.
    if (!IsFileOpen())
        return;
    const long count = m_parDb.GetParNum(true);
    for (long i = 0; i < count; ++i)
    {
        const DBPAR* par = m_parDb.GetPar(i, true);
        if (!par || par->bTmp)
            continue;
        m_dataDb.SetValue(par->szID, par->dblDefVal, par->nFormat);
        if (par->nMenu >= 100 && par->bDescrMod)
            m_dataDb.SetDescr(par->szID, par->szDescr);
    }
    m_dataDb.ResetMonitor();
    m_dataDb.ResetTmpValues();
    if (m_bSaveMonitor)
    {
        for (const DBPAR& entry : m_monitor)
            m_dataDb.SetMonitorPar(entry.szID);
        for (const DBPAR& tmp : m_tmpPars)
            m_dataDb.SetTmpValue(tmp.szID, tmp.szDescr, tmp.dblDefVal);
    }
    if (const char* comm = m_parDb.GetCommSettings(); comm && *comm)
        m_dataDb.SetCommSettings(comm);
    m_dataDb.ResetDataPlc();
    for (long i = 0; i < m_parDb.GetInstrNum(); ++i)
    {
        const DBPLC* instruction = m_parDb.GetPlcInstr(static_cast<int>(i));
        if (!instruction || !m_dataDb.SetInstruction(i, *instruction))
            break;
    }
    m_dataDb.ResetSessionVars();
    for (long i = 0; i < m_parDb.GetSessionVarNum(); ++i)
        if (const DBSESSVAR* var = m_parDb.GetSessionVar(static_cast<int>(i)); var && var->bFromFile)
            m_dataDb.SetSessionVar(var);
    m_dataDb.ResetCammaData();
    for (long i = 0; i < m_parDb.GetCamWorkNum(); ++i)
        if (const DBCAMMA* point = m_parDb.GetCam(i))
            m_dataDb.SetCammaData(point->nIdx, point->dblVal, point->interp, point->nCamNo);
}

void CTvskManager::ApplyStoredValue(DBPAR& par, const DBVALUE& value)
{
    par.dblDefVal = value.dblValue;
    par.nFormat = value.iFormat;
}

void CTvskManager::ApplyValues(CTvskDataDb& data)
{
    const long values = data.GetValNums();
    for (long i = 0; i < values; ++i)
    {
        const DBVALUE* value = data.GetValue(i);
        if (!value || !m_parDb.IsOpModePar(value->szID))
            continue;
        if (DBPAR* par = m_parDb.GetPar(value->szID, true))
        {
            ApplyStoredValue(*par, *value);
            const std::vector<std::string> pagePars = PageParNames();
            m_parDb.UpdateListAllPar();
            RebindPagePars(pagePars);
            m_language.SetSubset(m_parDb.GetOpMode());
            RenewDescriptions();
        }
        break;
    }
    const auto index = IndexByName(m_parDb);
    for (long i = 0; i < values; ++i)
    {
        const DBVALUE* value = data.GetValue(i);
        if (!value || m_parDb.IsOpModePar(value->szID))
            continue;
        if (DBPAR* par = Find(index, value->szID))
            ApplyStoredValue(*par, *value);
    }
}

void CTvskManager::ApplyProgram(CTvskDataDb& data)
{
    m_parDb.ResetParPlc();
    for (long i = 0; i < data.GetInstrNums(); ++i)
        if (const DBPLC* instruction = data.GetInstruction(i))
            if (DBPLC* target = m_parDb.AllocatePlcInstr(static_cast<int>(i)))
                *target = *instruction;
}

void CTvskManager::ApplyDescriptions()
{
    const long count = m_parDb.GetParNum(true);
    for (long i = 0; i < count; ++i)
    {
        DBPAR* par = m_parDb.GetPar(i, true);
        if (!par || par->bTmp)
            continue;
        CString text;
        const char* stored = par->nMenu >= 100 ? m_dataDb.GetDescr(par->szID) : nullptr;
        if (stored)
            CopyCut(par->szDescr, stored);
        else if (m_language.GetParDescrText(par->szID, text, par->lOpMode >= 0) && !text.IsEmpty())
            CopyCut(par->szDescr, text);
    }
}

void CTvskManager::RenewDescriptions()
{
    ReplaceDescriptions();
    ApplyDescriptions();
}

void CTvskManager::ApplyData()
{
    ApplyValues(m_dataDb);
    ApplyDescriptions();
    for (long i = 0; i < m_dataDb.GetTmpValuesNum(); ++i)
        if (const DBTMPVALUE* tmp = m_dataDb.GetTmpValue(i); tmp && !m_parDb.IsOpModePar(tmp->szID))
            AddTmpPar(tmp->szID, tmp->szDescr, tmp->dblValue, nullptr);
    for (long i = 0; i < m_dataDb.GetMonitorParNums(); ++i)
        if (const DBMONITOR* entry = m_dataDb.GetMonitorPar(i))
            AddMonitorPar(entry->szID);
    if (const char* comm = m_dataDb.GetCommSettings(); comm && *comm)
        m_parDb.SetCommSettings(comm);
    if (m_dataDb.GetInstrNums() > 0)
        ApplyProgram(m_dataDb);
    for (long i = 0; i < m_dataDb.GetSessionVarNum(); ++i)
        if (DBSESSVAR* var = m_dataDb.GetSessionVar(i))
            m_parDb.SetSessionVar(var, true);
    m_parDb.ResetCamData();
    for (long i = 0; i < m_dataDb.GetCammaNums(); ++i)
        if (const DBCAMMA* point = m_dataDb.GetCam(i))
            m_parDb.SetCamData(point->nIdx, point->dblVal, point->interp, point->nCamNo);
}

void CTvskManager::ApplySlv()
{
    if (!m_slvDb.IsOpen() || !IsFileOpen())
        return;
    m_dataDb.ResetValues();
    std::unordered_map<int, unsigned> raws;
    for (long i = 0; i < m_slvDb.GetValNums(); ++i)
        if (const DBSLVVALUE* value = m_slvDb.GetValue(i))
            raws[value->iID] = static_cast<unsigned>(value->iValue) & 0xFFFFu;
    // A scale of 0 is a fault of the parameter file: reported, and the value stays as it is.
    const auto apply = [](DBPAR* par, unsigned raw, bool wide)
    {
        if (!par)
            return;
        // 16-bit words are signed for parameters that can be negative.
        const double signedRaw = wide                ? static_cast<double>(static_cast<int>(raw))
                                 : par->dblMin < 0.0 ? static_cast<double>(static_cast<short>(raw))
                                                     : static_cast<double>(raw);
        if (par->nScale == 0)
        {
            ProgramError(__FILE__, __LINE__, par->szID);
            return;
        }
        par->dblDefVal = (signedRaw - par->nOffs) / par->nScale;
    };
    for (const auto& [address, raw] : raws)
    {
        apply(m_parDb.GetPar(FormatString("Pr%u", static_cast<unsigned>(address)), true), raw, false);
        for (unsigned bit = 0; bit < 16; ++bit)
            if (DBPAR* par =
                    m_parDb.GetPar(FormatString("b%u.%u", static_cast<unsigned>(address), bit), true))
                par->dblDefVal = (raw >> bit) & 1u;
        if (address % 2 != 0)
            continue;
        if (DBPAR* par = m_parDb.GetPar(
                FormatString("Pr%u:%u", static_cast<unsigned>(address + 1), static_cast<unsigned>(address)),
                true))
        {
            const auto high = raws.find(address + 1);
            const unsigned full = high == raws.end() ? raw : (high->second << 16) | raw;
            apply(par, full, true);
        }
    }
    if (m_slvDb.GetInstrNums() > 0)
    {
        m_parDb.ResetParPlc();
        for (long i = 0; i < m_slvDb.GetInstrNums(); ++i)
        {
            const DBSLVPLC* line = m_slvDb.GetInstruction(i);
            DBPLC* target = line ? m_parDb.AllocatePlcInstr(static_cast<int>(i)) : nullptr;
            if (!target)
                break;
            CString mnemonic(line->szIstr);
            mnemonic.MakeUpper();
            CopyCut(target->szIstr, mnemonic == "RST" ? "RES" : mnemonic.GetString());
            // "word.bit" fills two operands.
            int k = 0;
            for (const char* operand : line->szOperands)
            {
                if (k >= 3)
                    break;
                if (!*operand)
                {
                    target->iOperands[k++] = -1;
                }
                else if (const char* dot = std::strchr(operand, '.'))
                {
                    target->iOperands[k++] = std::atoi(operand);
                    if (k < 3)
                        target->iOperands[k++] = std::atoi(dot + 1);
                }
                else
                {
                    target->iOperands[k++] = std::atoi(operand);
                }
            }
        }
    }
    m_parDb.ResetCamData();
    bool anyCamPoint = false;
    for (int cam = 0; cam < 4; ++cam)
        for (int point = 0; point < GetCamStepsNr(); ++point)
        {
            double value = 0.0;
            if (!m_slvDb.GetCammaData(cam, point, value))
                continue;
            m_parDb.SetCamData(point, value, 1, cam);
            anyCamPoint = anyCamPoint || value != 0.0;
        }
    if (!anyCamPoint)
        m_parDb.ResetCamData();
    m_slvDb.Close();
}

BOOL CTvskManager::AddTmpPar(const char* address, const char* descr, double value, CWnd* owner)
{
    if (!IsFileOpen())
        return FALSE;
    const auto refuse = [&](UINT stringId)
    {
        const CString text = LocalText(stringId);
        SetLastErrorText(text);
        if (owner)
            ShowBox(owner, text, MB_OK | MB_ICONERROR);
        return FALSE;
    };
    CTvskAddress parsed;
    if (!CTvskAddress::Parse(address, parsed))
        return refuse(2084);
    for (const DBPAR& existing : m_tmpPars)
        if (std::strcmp(existing.szID, address) == 0)
            return FALSE;
    DBPAR par{};
    CopyCut(par.szID, address);
    CopyCut(par.szDescr, descr);
    CopyCut(par.szRW, "rw");
    par.lOpMode = -1;
    par.dblDefVal = value;
    par.nBitDim = parsed.nBitDim;
    par.nScale = 1;
    par.nMenu = -1;
    par.nAddr = parsed.nAddr;
    par.nSubAddr = parsed.nSubAddr;
    par.bTmp = 1;
    if (!m_parDb.AddTmpPar(par))
        return refuse(2085);
    m_tmpPars.Add(par);
    SetModified(TRUE);
    return TRUE;
}

BOOL CTvskManager::AddMonitorPar(const char* name)
{
    const DBPAR* par = IsFileOpen() && name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
        return FALSE;
    const std::lock_guard lock(m_lock);
    for (const DBPAR& entry : m_monitor)
        if (std::strcmp(entry.szID, par->szID) == 0)
            return FALSE;
    m_monitor.Add(*par);
    SetModified(TRUE);
    return TRUE;
}
