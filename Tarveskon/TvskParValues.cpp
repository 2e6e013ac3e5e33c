// Scaling of parameter values and the VARIANTs of drive transfers.
#include "TvskParValues.h"

#include <framework/ExactNumber.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tvsk::values
{

int Scale(DBPAR& par)
{
    if (par.nScale == 0)
        par.nScale = 1;
    return par.nScale;
}

double ToRaw(DBPAR& par, double value)
{
    return value * Scale(par) + par.nOffs;
}

double WholeRaw(double raw)
{
    const double whole = std::round(raw);
    return std::abs(raw - whole) <= 1e-12 * std::max(1.0, std::abs(whole)) ? whole : std::trunc(raw);
}

double FromRaw(DBPAR& par, double raw)
{
    // Words arrive signed; a parameter whose range holds no negative raw value has them unsigned.
    if (raw < 0 && (par.nBitDim == 16 || par.nBitDim == 32) && ToRaw(par, par.dblMin) >= 0)
        raw += std::ldexp(1.0, par.nBitDim);
    return (raw - par.nOffs) / Scale(par);
}

bool RawFits(int bits, double raw)
{
    if (!std::isfinite(raw))
        return false;
    switch (bits)
    {
    case 1:
        return raw == 0.0 || raw == 1.0;
    case 16:
        return raw >= -32768.0 && raw <= 65535.0;
    case 32:
        return raw >= -2147483648.0 && raw <= 4294967295.0;
    default:
        return false;
    }
}

VARIANT WriteVariant(int bits, double raw)
{
    VARIANT value;
    VariantInit(&value);
    switch (bits)
    {
    case 1:
        value.vt = VT_BOOL;
        value.boolVal = raw != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case 16:
        if (raw >= 0)
        {
            value.vt = VT_UI2;
            value.uiVal = static_cast<USHORT>(raw);
        }
        else
        {
            value.vt = VT_I2;
            value.iVal = static_cast<SHORT>(raw);
        }
        break;
    case 32:
        if (raw >= 0)
        {
            value.vt = VT_UI4;
            value.ulVal = static_cast<ULONG>(raw);
        }
        else
        {
            value.vt = VT_I4;
            value.lVal = static_cast<LONG>(raw);
        }
        break;
    default:
        break;
    }
    return value;
}

VARTYPE ReadType(int bits)
{
    switch (bits)
    {
    case 1:
        return VT_BOOL;
    case 16:
        return VT_I2;
    case 32:
        return VT_I4;
    default:
        return VT_EMPTY;
    }
}

bool BitLivesIn(const DBPAR& bit, const DBPAR& word)
{
    if (bit.nBitDim != 1 || (word.nBitDim != 16 && word.nBitDim != 32))
        return false;
    const int position = (bit.nAddr - word.nAddr) * 16 + bit.nSubAddr;
    return bit.nAddr >= word.nAddr && bit.nSubAddr >= 0 && bit.nSubAddr < 16 && position < word.nBitDim;
}

double WordWithBits(DBPAR& word, const std::vector<DBPAR*>& bits)
{
    const std::uint64_t mask = word.nBitDim == 32 ? 0xFFFFFFFFULL : 0xFFFFULL;
    std::uint64_t raw =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(WholeRaw(ToRaw(word, word.dblDefVal)))) & mask;
    for (DBPAR* bit : bits)
    {
        if (!BitLivesIn(*bit, word))
            continue;
        const std::uint64_t flag = 1ULL << ((bit->nAddr - word.nAddr) * 16 + bit->nSubAddr);
        raw = WholeRaw(ToRaw(*bit, bit->dblDefVal)) != 0.0 ? raw | flag : raw & ~flag;
    }
    return static_cast<double>(raw);
}

CString ValueText(double value)
{
    if (value >= kUnreadValue)
        return "---";
    return tvsk::ExactText(value);
}

} // namespace tvsk::values
