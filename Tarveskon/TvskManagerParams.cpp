// The wizard manager: the value road between the configuration and the drive, parameter and
// monitor fields, temporary parameters, menus, customer fields and session variables.
#include "TvskManager.h"

#include "TvskAddress.h"
#include "TvskParValues.h"
#include "TvskWorkingNames.h"

#include <ZoSupport/ProgramError.h>
#include <com/Bstr.h>
#include <ui/UiDefs.h>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace tvsk::values;

namespace
{

bool WithinLimits(const DBPAR& par, double value)
{
    return par.dblMin == par.dblMax || (value >= par.dblMin && value <= par.dblMax);
}

double ToDouble(const VARIANT& value, bool& ok)
{
    VARIANT converted;
    VariantInit(&converted);
    ok = SUCCEEDED(VariantChangeType(&converted, &value, 0, VT_R8));
    const double result = ok ? converted.dblVal : 0.0;
    VariantClear(&converted);
    return result;
}

template <size_t N> void CopyCut(char (&target)[N], const char* text)
{
    std::snprintf(target, N, "%s", text ? text : "");
}

} // namespace

bool CTvskManager::WorkingListHoldsMode(unsigned short mode)
{
    for (long i = 0; i < m_parDb.GetParNum(true); ++i)
        if (const DBPAR* par = m_parDb.GetPar(i, true); par && par->lOpMode >= 0 && !par->bTmp)
            return static_cast<unsigned short>(par->lOpMode & 0xFFFF) == mode;
    return false;
}

void CTvskManager::OperatingModeChanged()
{
    if (std::this_thread::get_id() != m_ownerThread)
    {
        m_bWorkingListStale = true;
        return;
    }
    // A rebuild puts the mode's defaults back: the list of the mode it already holds keeps its values.
    if (!IsFileOpen() || WorkingListHoldsMode(m_parDb.GetOpMode()))
        return;
    const std::vector<std::string> pagePars = PageParNames();
    m_parDb.UpdateListAllPar();
    RebindPagePars(pagePars);
    m_language.SetSubset(m_parDb.GetOpMode());
    RenewDescriptions();
}

std::vector<std::string> CTvskManager::PageParNames()
{
    std::vector<std::string> names;
    for (const std::string& name : m_pagePars)
        if (m_parDb.GetPar(name.c_str(), true))
            names.push_back(name);
    return names;
}

void CTvskManager::RebindPagePars(const std::vector<std::string>& names)
{
    m_pagePars.clear();
    for (const std::string& name : names)
        if (m_parDb.GetPar(name.c_str(), true))
            m_pagePars.push_back(name);
}

void CTvskManager::RebuildStaleWorkingList()
{
    if (std::this_thread::get_id() == m_ownerThread && m_bWorkingListStale.exchange(false))
        OperatingModeChanged();
}

BOOL CTvskManager::ReadAddr(int address, int subindex, int bits, double* value, bool quietly)
{
    if (!value || !IsConnected())
        return FALSE;
    VARIANT read;
    VariantInit(&read);
    constexpr short kQuietTimeOut = 200;
    if (!(quietly ? m_link.ReadParQuietly(address, subindex, ReadType(bits), &read, kQuietTimeOut)
                  : m_link.ReadPar(address, subindex, ReadType(bits), &read)))
        return FALSE;
    bool ok = true;
    // A bit arrives as a boolean, whose true is -1: the bit's value is 1.
    *value = read.vt == VT_BOOL ? (read.boolVal != VARIANT_FALSE ? 1.0 : 0.0) : ToDouble(read, ok);
    VariantClear(&read);
    return ok;
}

BOOL CTvskManager::WriteAddr(int address, int subindex, int bits, double raw)
{
    // A word never carries a value it cannot hold: the drive would get it cut.
    if (!IsConnected() || (bits != 1 && !RawFits(bits, raw)))
        return FALSE;
    VARIANT value = WriteVariant(bits, raw);
    const bool written = value.vt != VT_EMPTY && m_link.WritePar(address, subindex, value.vt, value);
    VariantClear(&value);
    return written;
}

BOOL CTvskManager::ReadParFromDrive(DBPAR* par, BOOL markModified)
{
    if (!par)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    m_nErrorCode = 0;
    if (!IsConnected())
    {
        m_nErrorCode = 21;
        return FALSE;
    }
    const bool events = ScriptsMayFire();
    if (events)
    {
        m_pEvents->BeforeReadPar(par->szID, par->dblDefVal);
        if (!m_bCanRW)
        {
            m_nErrorCode = 20;
            m_pEvents->AfterReadPar(par->szID, par->dblDefVal);
            m_bCanRW = TRUE;
            return TRUE;
        }
    }
    double raw = 0.0;
    if (!ReadAddr(par->nAddr, par->nSubAddr, par->nBitDim, &raw))
    {
        m_nErrorCode = 4;
        if (events)
            m_pEvents->AfterReadPar(par->szID, par->dblDefVal);
        return FALSE;
    }
    const double value = FromRaw(*par, raw);
    if (value != par->dblDefVal)
    {
        par->dblDefVal = value;
        if (markModified)
            SetModified(TRUE);
        if (m_parDb.IsOpModePar(par->szID))
            OperatingModeChanged();
    }
    if (events)
        m_pEvents->AfterReadPar(par->szID, value);
    return TRUE;
}

BOOL CTvskManager::WriteParToDrive(DBPAR* par)
{
    if (!par)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    return WriteRawParToDrive(par, WholeRaw(ToRaw(*par, par->dblDefVal)));
}

BOOL CTvskManager::WriteRawParToDrive(DBPAR* par, double raw)
{
    m_nErrorCode = 0;
    if (!IsConnected())
    {
        m_nErrorCode = 21;
        return FALSE;
    }
    const bool events = ScriptsMayFire();
    if (events)
    {
        m_pEvents->BeforeWritePar(par->szID, raw);
        if (!m_bCanRW)
        {
            m_nErrorCode = 20;
            m_pEvents->AfterWritePar(par->szID, raw);
            m_bCanRW = TRUE;
            return TRUE;
        }
    }
    const BOOL written = WriteAddr(par->nAddr, par->nSubAddr, par->nBitDim, raw);
    if (!written)
        m_nErrorCode = 5;
    if (events)
        m_pEvents->AfterWritePar(par->szID, raw);
    return written;
}

BOOL CTvskManager::GetParValue(const char* name, VARIANT* value)
{
    DBPAR* par = IsFileOpen() && name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par || !value)
        return FALSE;
    VariantClear(value);
    value->vt = VT_R8;
    value->dblVal = par->dblDefVal;
    return TRUE;
}

BOOL CTvskManager::ReadParValue(const char* name, VARIANT* value)
{
    DBPAR* par = IsFileOpen() && name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
        return FALSE;
    ReadParFromDrive(par, TRUE);
    return GetParValue(name, value);
}

HOSTRES CTvskManager::SetParValue(const char* name, VARIANT value, BOOL toDrive)
{
    bool converted = false;
    const double number = ToDouble(value, converted);
    if (!IsFileOpen())
        return HOSTRES_NOFILE;
    DBPAR* par = name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
        return HOSTRES_NOTFOUND;
    const bool connected = toDrive && IsConnected();
    if (connected && !tvsk::IsReadWrite(*par))
        return HOSTRES_READONLY;
    // A value that is no number, or whose raw value the width cannot carry, is refused as out of limits.
    if (!converted || !WithinLimits(*par, number) || !RawFits(par->nBitDim, ToRaw(*par, number)))
    {
        SetLastErrorText(
            FormatString("%s\nMin : %g Max : %g", LocalText(2048).GetString(), par->dblMin, par->dblMax));
        return HOSTRES_LIMITS;
    }
    const bool opMode = m_parDb.IsOpModePar(par->szID) != 0;
    if (opMode)
        MessageBox(2058, MB_OK | MB_ICONWARNING);
    if (number != par->dblDefVal)
    {
        if (ScriptsMayFire())
        {
            m_pEvents->ChangeValue(par->szID, par->dblDefVal);
            if (!m_bCanRW)
            {
                m_nErrorCode = 20;
                m_bCanRW = TRUE;
                return HOSTRES_OK;
            }
        }
        par->dblDefVal = number;
        SetModified(TRUE);
        if (opMode)
            OperatingModeChanged();
    }
    if (connected && !WriteParToDrive(par))
        return HOSTRES_WRITEERR;
    return HOSTRES_OK;
}

HOSTRES CTvskManager::ReadPar(const char* nameOrAddress, VARIANT* value)
{
    if (!nameOrAddress || !value)
        return HOSTRES_NOTFOUND;
    if (DBPAR* par = IsFileOpen() ? m_parDb.GetPar(nameOrAddress, true) : nullptr)
    {
        // A read-only value (speed, current, alarm) is the drive's state, not its configuration.
        const BOOL read = ReadParFromDrive(par, tvsk::IsReadWrite(*par));
        GetParValue(nameOrAddress, value);
        return read ? HOSTRES_OK : HOSTRES_READERR;
    }
    CTvskAddress address;
    if (!CTvskAddress::Parse(nameOrAddress, address))
        return HOSTRES_NOTFOUND;
    double raw = 0.0;
    if (!ReadAddr(address.nAddr, address.nSubAddr, address.nBitDim, &raw))
        return HOSTRES_READERR;
    VariantClear(value);
    value->vt = VT_R8;
    value->dblVal = raw;
    return HOSTRES_OK;
}

HOSTRES CTvskManager::WritePar(const char* nameOrAddress, VARIANT value)
{
    bool converted = false;
    const double number = ToDouble(value, converted);
    if (!IsFileOpen())
        return HOSTRES_NOFILE;
    if (!nameOrAddress)
        return HOSTRES_NOTFOUND;
    if (m_parDb.GetPar(nameOrAddress, true))
    {
        VARIANT real;
        VariantInit(&real);
        real.vt = VT_R8;
        real.dblVal = number;
        return converted ? SetParValue(nameOrAddress, real, TRUE) : HOSTRES_LIMITS;
    }
    CTvskAddress address;
    if (!CTvskAddress::Parse(nameOrAddress, address))
        return HOSTRES_NOTFOUND;
    if (!converted || !RawFits(address.nBitDim, number))
        return HOSTRES_LIMITS;
    return WriteAddr(address.nAddr, address.nSubAddr, address.nBitDim, number) ? HOSTRES_OK
                                                                               : HOSTRES_WRITEERR;
}

int CTvskManager::GetParNum()
{
    return IsFileOpen() ? static_cast<int>(m_parDb.GetParNum(false)) : 0;
}

BOOL CTvskManager::ParField(const DBPAR& par, int field, CString& text) const
{
    text.Empty();
    switch (field)
    {
    case 0:
        text = par.szID;
        return TRUE;
    case 1:
        text = ValueText(par.dblDefVal);
        return TRUE;
    case 2:
        text.Format("%d", par.nBitDim);
        return TRUE;
    case 3:
        text.Format("%d", par.nScale);
        return TRUE;
    case 4:
        text.Format("%d", par.nOffs);
        return TRUE;
    case 5:
    case 6:
    case 7:
        return TRUE;
    case 8:
        text = par.szUm;
        return TRUE;
    case 9:
        text = par.szDescr;
        return TRUE;
    case 10:
        text = par.szRW;
        return TRUE;
    case 11:
        text.Format("%d", par.nFormat);
        return TRUE;
    case 12:
        text.Format("%d", par.bTmp);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTvskManager::GetParField(int index, int field, CString& text)
{
    const DBPAR* par = IsFileOpen() ? m_parDb.GetPar(index, false) : nullptr;
    if (!par)
    {
        text.Empty();
        return FALSE;
    }
    return ParField(*par, field, text);
}

HOSTRES CTvskManager::StoreFieldValue(DBPAR& par, const char* text, bool writeToDrive)
{
    char* end = nullptr;
    const double typed = std::strtod(text ? text : "", &end);
    double raw = par.nOffs + Scale(par) * typed;
    switch (par.nBitDim)
    {
    case 1:
        raw = raw != 0.0 ? 1.0 : 0.0;
        break;
    case 16:
    case 32:
        raw = WholeRaw(raw);
        break;
    default:
        ProgramError(__FILE__, __LINE__, par.szID);
        return HOSTRES_OK;
    }
    const double value = FromRaw(par, raw);
    if (value == par.dblDefVal)
        return HOSTRES_OK;
    if (!std::isfinite(typed) || !WithinLimits(par, value) || !RawFits(par.nBitDim, raw))
    {
        SetLastErrorText(
            FormatString("%s\nMin : %g Max : %g", LocalText(2048).GetString(), par.dblMin, par.dblMax));
        return HOSTRES_LIMITS;
    }
    const double previous = par.dblDefVal;
    par.dblDefVal = value;
    if (ScriptsMayFire())
        m_pEvents->ChangeValue(par.szID, value);
    if (writeToDrive && IsConnected() && !WriteParToDrive(&par))
    {
        // The edit is refused: the configuration keeps what it had, and the text names the cause.
        par.dblDefVal = previous;
        SetLastErrorText(FormatString("%s : %s\n%s", par.szID, LocalText(2051).GetString(),
                                      GetLinkErrorText(m_link.GetErrorCode()).GetString()));
        return HOSTRES_WRITEERR;
    }
    if (m_parDb.IsOpModePar(par.szID))
        OperatingModeChanged();
    SetModified(TRUE);
    return HOSTRES_OK;
}

HOSTRES CTvskManager::SetField(DBPAR& par, int field, const char* text)
{
    switch (field)
    {
    case 0:
        if (std::strcmp(par.szID, text) == 0)
            return HOSTRES_OK;
        CopyCut(par.szID, text);
        break;
    case 1:
        return StoreFieldValue(par, text, true);
    case 8:
        CopyCut(par.szUm, text);
        break;
    case 9:
        CopyCut(par.szDescr, text);
        par.bDescrMod = 1;
        break;
    case 11:
        par.nFormat = std::atoi(text);
        break;
    default:
        return HOSTRES_OK;
    }
    SetModified(TRUE);
    return HOSTRES_OK;
}

HOSTRES CTvskManager::SetParField(int index, int field, const char* text)
{
    DBPAR* par = IsFileOpen() ? m_parDb.GetPar(index, false) : nullptr;
    if (!par)
    {
        SetLastError(2046);
        return HOSTRES_NOTFOUND;
    }
    if (IsConnected() && !tvsk::IsReadWrite(*par))
    {
        SetLastError(2083);
        return HOSTRES_READONLY;
    }
    return SetField(*par, field, text ? text : "");
}

BOOL CTvskManager::IsParFieldEditable(int index, int field)
{
    const DBPAR* par = IsFileOpen() ? m_parDb.GetPar(index, false) : nullptr;
    if (!par)
        return FALSE;
    return field == 1 || (field == 9 && par->nMenu >= 100);
}

BOOL CTvskManager::RemTmpPar(const char* address, CString& text)
{
    text.Empty();
    if (!address)
        return FALSE;
    const std::lock_guard lock(m_lock);
    for (INT_PTR i = 0; i < m_tmpPars.GetSize(); ++i)
    {
        if (std::strcmp(m_tmpPars[i].szID, address) != 0)
            continue;
        m_parDb.RemTmpPar(m_tmpPars[i]);
        m_tmpPars.RemoveAt(i);
        SetModified(TRUE);
        return TRUE;
    }
    return FALSE;
}

BOOL CTvskManager::AddMonitorParAt(int index)
{
    const DBPAR* par = IsFileOpen() ? m_parDb.GetPar(index, false) : nullptr;
    return par ? AddMonitorPar(par->szID) : FALSE;
}

BOOL CTvskManager::GetMonitorParField(int i, int field, CString& text)
{
    const std::lock_guard lock(m_lock);
    if (i < 0 || i >= m_monitor.GetSize())
    {
        text.Empty();
        return FALSE;
    }
    return ParField(m_monitor[i], field, text);
}

HOSTRES CTvskManager::SetMonitorParField(int i, int field, const char* text)
{
    const std::lock_guard lock(m_lock);
    if (i < 0 || i >= m_monitor.GetSize())
    {
        SetLastError(2050);
        return HOSTRES_NOMONITOR;
    }
    // The entry is a copy: the parameter database's record stays as it is.
    return SetField(m_monitor[i], field, text ? text : "");
}

BOOL CTvskManager::RemoveMonitorPar(int i)
{
    const std::lock_guard lock(m_lock);
    if (i < 0 || i >= m_monitor.GetSize())
        return FALSE;
    m_monitor.RemoveAt(i);
    SetModified(TRUE);
    return TRUE;
}

int CTvskManager::GetMonitorParNum()
{
    const std::lock_guard lock(m_lock);
    return static_cast<int>(m_monitor.GetSize());
}

BOOL CTvskManager::GetMenusNum(int* count)
{
    if (!IsFileOpen() || !count)
        return FALSE;
    *count = static_cast<int>(m_parDb.GetMenusNum());
    return TRUE;
}

BOOL CTvskManager::GetMenu(int i, int* id, CString& name)
{
    const DBMENU* menu = IsFileOpen() ? m_parDb.GetMenu(i) : nullptr;
    if (!menu || !id)
        return FALSE;
    *id = menu->nID;
    if (!m_language.GetMenuString(menu->nID, name) || name.IsEmpty())
        name = menu->szDescr;
    return TRUE;
}

BOOL CTvskManager::SetMenu(int id)
{
    return IsFileOpen() && m_parDb.SetMenu(id);
}

BOOL CTvskManager::GetCurrMenuID(int* id)
{
    if (!IsFileOpen() || !id)
        return FALSE;
    *id = m_parDb.GetCurrMenuID();
    return TRUE;
}

BOOL CTvskManager::ExistPar(const char* name)
{
    return IsFileOpen() && name && m_parDb.GetPar(name, true) != nullptr;
}

BOOL CTvskManager::GetOpMode(short* mode)
{
    if (!IsFileOpen() || !mode || m_parDb.GetOpMode() == 0xFFFF)
        return FALSE;
    *mode = static_cast<short>(m_parDb.GetOpMode());
    return TRUE;
}

long CTvskManager::GetParCustom(const char* name, int which)
{
    const DBPAR* par = IsFileOpen() && name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
        return 0;
    switch (which)
    {
    case 0:
        return par->customBit;
    case 1:
        return par->customWord & 0xFFFF;
    case 2:
        return par->customDWord;
    default:
        return 0;
    }
}

BOOL CTvskManager::SetParCustom(const char* name, int which, long value)
{
    DBPAR* par = IsFileOpen() && name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
        return FALSE;
    switch (which)
    {
    case 0:
        par->customBit = value != 0;
        return TRUE;
    case 1:
        par->customWord = static_cast<int>(value & 0xFFFF);
        return TRUE;
    case 2:
        par->customDWord = static_cast<int>(value);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTvskManager::CreateSessionVar(const char* name, BOOL store)
{
    if (!IsFileOpen() || !name || !*name)
        return FALSE;
    if (m_parDb.GetSessionVar(name, nullptr))
        return TRUE;
    DBSESSVAR var{};
    CopyCut(var.szVarName, name);
    var.bFromFile = store ? 1 : 0;
    if (!m_parDb.SetSessionVar(&var, true))
        return FALSE;
    if (store)
        SetModified(TRUE);
    return TRUE;
}

BOOL CTvskManager::DeleteSessionVar(const char* name)
{
    return IsFileOpen() && name && m_parDb.DeleteSessionVar(name);
}

BOOL CTvskManager::GetSessionVarValue(const char* name, CString& value)
{
    const DBSESSVAR* var = IsFileOpen() && name ? m_parDb.GetSessionVar(name, nullptr) : nullptr;
    value = var ? var->szValue : "";
    return var != nullptr;
}

BOOL CTvskManager::SetSessionVarValue(const char* name, const VARIANT& value)
{
    DBSESSVAR* var = IsFileOpen() && name ? m_parDb.GetSessionVar(name, nullptr) : nullptr;
    if (!var)
        return FALSE;
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR)))
        return FALSE;
    CopyCut(var->szValue, tvsk::com::Utf8FromBstr(text.bstrVal).c_str());
    VariantClear(&text);
    if (var->bFromFile)
        SetModified(TRUE);
    return TRUE;
}
