// The wizard manager: the host command dispatcher, options, cams and the PLC program of the file.
#include "TvskManager.h"

#include "PluginCall.h"
#include "TvskAddress.h"
#include "TvskMessages.h"
#include "TvskParValues.h"
#include "TvskWorkingNames.h"

#include <ZoSupport/ProgramError.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace
{

const char* TextParam(long param)
{
    return reinterpret_cast<const char*>(static_cast<std::intptr_t>(param));
}

template <class T> T* PointerParam(long param)
{
    return reinterpret_cast<T*>(static_cast<std::intptr_t>(param));
}

// Transfers answer TRUE or FALSE; their host commands answer 0 or 11.
long TransferResult(BOOL done)
{
    return done ? HOSTRES_OK : HOSTRES_FAILED;
}

} // namespace

long CTvskManager::SendCommand(UINT code, long param1, long param2)
{
    RebuildStaleWorkingList();
    switch (code)
    {
    case HOSTCMD_CONFIGCONN:
    {
        CString* settings = PointerParam<CString>(param2);
        // Unchanged or cancelled settings come back empty: the caller's text stays.
        const CString result = ConfigConnection(settings);
        if (settings && !result.IsEmpty())
            *settings = result;
        return HOSTRES_OK;
    }
    case HOSTCMD_READADDR:
    {
        double* value = PointerParam<double>(param2);
        return value && ReadAddr(param1 & 0xFFFF, 0, (param1 >> 16) & 0xFFFF, value) ? HOSTRES_OK
                                                                                     : HOSTRES_ADDRERR;
    }
    case HOSTCMD_WRITEADDR:
        return WriteAddr(param1 & 0xFFFF, 0, (param1 >> 16) & 0xFFFF, static_cast<double>(param2))
                   ? HOSTRES_OK
                   : HOSTRES_ADDRERR;
    case HOSTCMD_SHOWHELP:
        // A window names the context of its topic; without one the kept request is shown.
        if (param1 > 0)
            return ShowHelpContext(param1) ? HOSTRES_OK : HOSTRES_HELPERR;
        return ChmInvoke() ? HOSTRES_OK : HOSTRES_HELPERR;
    default:
        break;
    }
    if (!IsFileOpen())
    {
        SetLastError(2047);
        return HOSTRES_NOFILE;
    }
    switch (code)
    {
    case HOSTCMD_READPAR:
        return ReadParCommand(TextParam(param1));
    case HOSTCMD_WRITEPAR:
        return WriteParCommand(TextParam(param1));
    case HOSTCMD_DRIVECMD:
        RunDriveCommand(TextParam(param1));
        return HOSTRES_OK;
    case HOSTCMD_CLEARPAGEPARS:
        m_pagePars.clear();
        return HOSTRES_OK;
    case HOSTCMD_ADDPAGEPAR:
        if (const DBPAR* par = param1 ? m_parDb.GetPar(TextParam(param1), true) : nullptr;
            par && std::find(m_pagePars.begin(), m_pagePars.end(), par->szID) == m_pagePars.end())
            m_pagePars.emplace_back(par->szID);
        return HOSTRES_OK;
    case HOSTCMD_CONNECT:
        if (IsConnected())
        {
            Disconnect();
        }
        else if (const int error = ConnectToDrive(); error != 0)
        {
            MessageBox(GetLinkErrorText(error), MB_OK | MB_ICONERROR);
        }
        return HOSTRES_OK;
    case HOSTCMD_SORTPARS:
        m_parDb.Sort();
        return HOSTRES_OK;
    case HOSTCMD_EXECUTE:
        if (const char* commandLine = TextParam(param1))
            if (const CString failure = StartProgram(commandLine); !failure.IsEmpty())
                MessageBox(LocalText(2111) + "\n" + failure, MB_OK | MB_ICONERROR);
        return HOSTRES_OK;
    case HOSTCMD_READPARFAST:
        return ReadParFastCommand(TextParam(param1));
    case HOSTCMD_SETEXCLUSIVE:
        if ((param1 != 0) != (m_bExclusive != FALSE))
        {
            m_bExclusive = param1 != 0;
            if (!m_bExclusive)
                m_pUi->PostToMainWindow(WM_REFRESH_PAGE, 0, 0);
        }
        return HOSTRES_OK;
    case HOSTCMD_LOCKCOMM:
        return m_link.TakeOwner() ? HOSTRES_OK : HOSTRES_FAILED;
    case HOSTCMD_UNLOCKCOMM:
        return m_link.FreeOwner() ? HOSTRES_OK : HOSTRES_FAILED;
    case 20:
        return HOSTRES_ADDRERR;
    case HOSTCMD_WRITEBIT:
        return WriteAddr(param1 & 0xFFFF, (param1 >> 16) & 0xFFFF, 1, param2 != 0 ? 1.0 : 0.0)
                   ? HOSTRES_OK
                   : HOSTRES_ADDRERR;
    case HOSTCMD_PACKET:
    {
        // The count comes from a long: nothing outside one packet's size is read.
        BYTE* buffer = PointerParam<BYTE>(param2);
        if (param1 < 1 || param1 > 0xFFFF || !buffer)
            return -1;
        return m_link.RawRead(static_cast<unsigned short>(param1), buffer);
    }
    case HOSTCMD_PACKETRUN:
        m_link.SetWriteAck(param1 != 0);
        return HOSTRES_OK;
    case HOSTCMD_ENABLECOMM:
        return m_link.Enable(param1 != 0) ? 1 : 0;
    case 27:
    case 28:
        return HOSTRES_NOTAVAIL;
    case HOSTCMD_GETOSCMODE:
        return OscModeCommand(PointerParam<int>(param1), PointerParam<int>(param2));
    case HOSTCMD_SETOSCMODE:
    {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R8;
        value.dblVal = static_cast<double>(param1);
        const CString address = OscModeAddress();
        if (address.IsEmpty() || !IsConnected() || WritePar(address, value) != HOSTRES_OK)
            return -1;
        return param1;
    }
    case HOSTCMD_READPARS:
        ReadAllPars();
        return HOSTRES_OK;
    case HOSTCMD_DOWNLPARAMS:
        WriteAllPars();
        return HOSTRES_OK;
    case HOSTCMD_READALL:
        ReadPagePars();
        return HOSTRES_OK;
    case HOSTCMD_WRITEALL:
        WritePagePars();
        return HOSTRES_OK;
    case HOSTCMD_UPLOADPLC:
        if (!IsPlcEnabled())
        {
            m_nErrorCode = 12; // nothing to upload
            return HOSTRES_OK;
        }
        return TransferResult(UploadPlc());
    case HOSTCMD_DOWNLPLC:
        return TransferResult(DownloadPlc());
    case HOSTCMD_COMPAREPLC:
    {
        int* equal = PointerParam<int>(param1);
        if (!equal)
        {
            ProgramError(__FILE__, __LINE__, "no place for the comparison's answer");
            return HOSTRES_FAILED;
        }
        bool same = false;
        if (!ComparePlc(&same))
            return HOSTRES_FAILED;
        *equal = same ? 1 : 0;
        return HOSTRES_OK;
    }
    case HOSTCMD_DOWNLCAMS:
        return TransferResult(DownloadCams());
    case HOSTCMD_SAVEPARAMETERS:
        return TransferResult(SaveParameters());
    case HOSTCMD_SAVEPLC:
        return TransferResult(SavePlc());
    case HOSTCMD_COMPAREWITHFILE:
        CompareWithFile(PointerParam<CWnd>(param1));
        return HOSTRES_OK;
    case HOSTCMD_COMPAREWITHDRIVE:
        CompareWithDrive(PointerParam<CWnd>(param1));
        return HOSTRES_OK;
    case HOSTCMD_GOONLINE:
        GoOnline(PointerParam<CWnd>(param1));
        return HOSTRES_OK;
    case HOSTCMD_BEGINTRANSFER:
        return BeginPluginTransfer(TextParam(param1), param2);
    case HOSTCMD_TRANSFERSTEP:
        return PluginTransferStep();
    case HOSTCMD_ENDTRANSFER:
        EndPluginTransfer();
        return HOSTRES_OK;
    default:
        return HOSTRES_OK;
    }
}

DBPAR* CTvskManager::CommandPar(const char* name)
{
    if (!name || !*name)
    {
        SetLastError(2045);
        return nullptr;
    }
    DBPAR* par = m_parDb.GetPar(name, true);
    if (!par)
        SetLastError(2046);
    return par;
}

long CTvskManager::ReadParCommand(const char* name)
{
    DBPAR* par = CommandPar(name);
    if (!par)
        return HOSTRES_NOTFOUND;
    // A read-only value is the drive's state, not the configuration's.
    if (!ReadParFromDrive(par, tvsk::IsReadWrite(*par)))
    {
        SetLastError(2049);
        return HOSTRES_READERR;
    }
    return HOSTRES_OK;
}

long CTvskManager::WriteParCommand(const char* name)
{
    DBPAR* par = CommandPar(name);
    if (!par)
        return HOSTRES_NOTFOUND;
    if (!tvsk::IsReadWrite(*par))
    {
        SetLastError(2083);
        return HOSTRES_READONLY;
    }
    if (!WriteParToDrive(par))
    {
        SetLastError(2051);
        return HOSTRES_WRITEERR;
    }
    return HOSTRES_OK;
}

long CTvskManager::ReadParFastCommand(const char* name)
{
    if (!name || !*name)
    {
        SetLastError(2045);
        return HOSTRES_NOTFOUND;
    }
    const auto find = [this, name]() -> DBPAR*
    {
        for (DBPAR& entry : m_monitor)
            if (std::strcmp(entry.szID, name) == 0)
                return &entry;
        return nullptr;
    };
    DBPAR entry{};
    {
        const std::lock_guard lock(m_lock);
        const DBPAR* found = find();
        if (!found)
        {
            SetLastError(2046);
            return HOSTRES_NOTFOUND;
        }
        entry = *found;
    }
    // The manager's lock is not held across the link: the link's modal dialog runs windows that
    // take it.
    double raw = 0.0;
    const bool read = ReadAddr(entry.nAddr, entry.nSubAddr, entry.nBitDim, &raw, true);
    {
        const std::lock_guard lock(m_lock);
        if (DBPAR* stored = find()) // the entry may have gone meanwhile
            stored->dblDefVal = read ? tvsk::values::FromRaw(entry, raw) : tvsk::values::kUnreadValue;
    }
    if (!read)
    {
        SetLastError(2049);
        return HOSTRES_READERR;
    }
    if (m_parDb.IsOpModePar(entry.szID))
        OperatingModeChanged();
    return HOSTRES_OK;
}

CString CTvskManager::OscModeAddress()
{
    CString address = GetOptionValue("OSCMODE", 0);
    address.TrimLeft("bPr");
    return address;
}

long CTvskManager::OscModeCommand(int* first, int* second)
{
    const auto parsed = [this](int i)
    {
        const CString value = GetOptionValue("OSCMODE", i);
        return value.IsEmpty() ? -1 : std::atoi(value);
    };
    if (first)
        *first = parsed(1);
    if (second)
        *second = parsed(2);
    const CString address = OscModeAddress();
    if (address.IsEmpty() || !IsConnected())
        return -1;
    VARIANT value;
    VariantInit(&value);
    if (ReadPar(address, &value) != HOSTRES_OK)
        return -1;
    return static_cast<long>(value.dblVal);
}

CString CTvskManager::GetOscResetTries()
{
    const CString value = GetOptionValue("OSCRESETTRIES", 0);
    return value.IsEmpty() ? CString("1") : value;
}

CString CTvskManager::GetOscMinBaud()
{
    const CString value = GetOptionValue("OSCMINBAUD", 0);
    return value.IsEmpty() ? CString("19200") : value;
}

int CTvskManager::GetPlcMaxLen()
{
    const CString value = GetOptionValue("PLCMAXLEN", 0);
    return value.IsEmpty() ? 128 : std::atoi(value);
}

void CTvskManager::ResetPlc()
{
    if (IsFileOpen())
        m_parDb.ResetParPlc();
}

BOOL CTvskManager::GetPlcInstr(int i, CString& text, int operands[3])
{
    const DBPLC* instruction = IsFileOpen() ? m_parDb.GetPlcInstr(i) : nullptr;
    if (!instruction || !operands)
        return FALSE;
    text = instruction->szIstr;
    for (int k = 0; k < 3; ++k)
        operands[k] = instruction->iOperands[k];
    return TRUE;
}

int CTvskManager::SetPlcInstr(int i, const char* text, const int operands[3])
{
    if (!IsFileOpen())
        return HOSTRES_NOFILE;
    if (i < 0 || i > m_parDb.GetInstrNum() || !text || !operands)
        return HOSTRES_INVALID;
    DBPLC* target = m_parDb.AllocatePlcInstr(i);
    if (!target)
        return HOSTRES_INVALID;
    std::snprintf(target->szIstr, sizeof target->szIstr, "%s", text);
    for (int k = 0; k < 3; ++k)
        target->iOperands[k] = operands[k];
    return HOSTRES_OK;
}

BOOL CTvskManager::IsPlcTerminated()
{
    const long count = IsFileOpen() ? m_parDb.GetInstrNum() : 0;
    const DBPLC* last = count > 0 ? m_parDb.GetPlcInstr(static_cast<int>(count - 1)) : nullptr;
    return last && std::strcmp(last->szIstr, "END") == 0;
}

int CTvskManager::GetCamDefNum()
{
    const long count = IsFileOpen() ? m_parDb.GetCamDefNum() : 0;
    return count > 0 ? static_cast<int>(count) : 1;
}

int CTvskManager::GetCamDefIndex(int i)
{
    const DBCAMDEF* def = IsFileOpen() ? m_parDb.GetCamDefPar(i) : nullptr;
    return def ? def->iIndex : 0;
}

int CTvskManager::GetCamStartAddr(int cam)
{
    for (long i = 0; IsFileOpen() && i < m_parDb.GetCamDefNum(); ++i)
        if (const DBCAMDEF* def = m_parDb.GetCamDefPar(static_cast<int>(i)); def && def->iIndex == cam)
            return def->iStartAddr;
    return 2048;
}

double CTvskManager::GetCamMinValue()
{
    const CString value = GetOptionValue("CAMMADEF", 1);
    return value.IsEmpty() ? 0.0 : std::atof(value);
}

double CTvskManager::GetCamMaxValue()
{
    const CString value = GetOptionValue("CAMMADEF", 2);
    return value.IsEmpty() ? 10000.0 : std::atof(value);
}

// The cam points live in the parameter database's work list, which the file's cams and an
// imported listing's fill and which both kinds of save write out.
const DBCAMMA* CTvskManager::FindCamPoint(int point, int cam)
{
    for (long i = 0; IsFileOpen() && i < m_parDb.GetCamWorkNum(); ++i)
        if (const DBCAMMA* found = m_parDb.GetCam(i); found && found->nIdx == point && found->nCamNo == cam)
            return found;
    return nullptr;
}

int CTvskManager::GetCamData(int point, double* value, int* interp, int* valid, int cam)
{
    const DBCAMMA* found = m_dataDb.IsOpen() ? FindCamPoint(point, cam) : nullptr;
    if (value)
        *value = found ? found->dblVal : 0.0;
    if (interp)
        *interp = found ? found->interp : 0;
    if (valid)
        *valid = found ? 1 : 0;
    return 1;
}

BOOL CTvskManager::SetCamData(int point, double value, int interp, BOOL store, int cam)
{
    if (!m_dataDb.IsOpen() || !IsFileOpen())
        return FALSE;
    if (store)
    {
        m_parDb.SetCamData(point, value, interp, cam);
        SetModified(TRUE);
    }
    return TRUE;
}
