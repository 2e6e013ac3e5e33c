#include "ParArguments.h"

#include "AsciiCommand.h"
#include "DeviceLinkError.h"

#include <framework/Truncate.h>

namespace
{
bool WidthOfType(VARTYPE type, ParWidth& width)
{
    switch (type)
    {
    case VT_BOOL:
        width = ParWidth::Bit;
        return true;
    case VT_I1:
    case VT_UI1:
        width = ParWidth::Byte;
        return true;
    case VT_I2:
    case VT_UI2:
        width = ParWidth::Word;
        return true;
    case VT_I4:
    case VT_UI4:
        width = ParWidth::DWord;
        return true;
    default:
        return false;
    }
}

// ASCII commands send memory word m as m - 0x3000: parameters in that range would read memory.
bool AliasesAsciiMemory(const ParAccess& access)
{
    return access.area == ParArea::Parameter && access.index >= kFirstMemoryWord - kAsciiMemoryOffset &&
           access.index <= kLastMemoryWord - kAsciiMemoryOffset;
}

bool FitsBinaryFrame(const ParAccess& access, const CDriveSettings& settings)
{
    if (settings.address < 0 || settings.address > kLastBinaryDriveAddress)
        return false;
    return access.area == ParArea::Memory || access.index <= kLastBinaryParameter;
}

} // namespace

int MakeParAccess(LONG ipa, LONG subI, VARTYPE type, const CDriveSettings& settings, ParAccess& access)
{
    if (!IsParIndex(ipa) || subI < 0 || subI > kLastBit)
        return DLE_BAD_INDEX;
    access.area = ipa >= kFirstMemoryWord ? ParArea::Memory : ParArea::Parameter;
    access.index = static_cast<int>(ipa);
    access.bit = static_cast<int>(subI);
    if (!settings.asciiMode && !settings.canOpenMode && !FitsBinaryFrame(access, settings))
        return DLE_BAD_INDEX;
    if (settings.asciiMode && !settings.canOpenMode && AliasesAsciiMemory(access))
        return DLE_BAD_INDEX;
    if (!WidthOfType(type, access.width))
        return DLE_BAD_TYPE;
    if (access.area == ParArea::Memory && access.width != ParWidth::Word && access.width != ParWidth::DWord)
        return DLE_BAD_TYPE;
    return DLE_OK;
}

DWORD ParValueOf(const VARIANT& value)
{
    switch (value.vt)
    {
    case VT_I2:
        return static_cast<DWORD>(static_cast<LONG>(value.iVal));
    case VT_BOOL:
        return static_cast<DWORD>(static_cast<LONG>(value.boolVal));
    case VT_UI2:
        return value.uiVal;
    case VT_I1:
        return static_cast<DWORD>(static_cast<LONG>(static_cast<signed char>(value.cVal)));
    case VT_UI1:
        return value.bVal;
    case VT_I4:
    case VT_UI4:
        return value.ulVal;
    case VT_R4:
        return TruncateToDWord(value.fltVal);
    case VT_R8:
        return TruncateToDWord(value.dblVal);
    default:
        return 0;
    }
}

void SetParResult(VARIANT& result, VARTYPE type, DWORD value)
{
    VariantClear(&result);
    result.vt = type;
    result.llVal = 0;
    result.ulVal = value;
}
