#include "CanOpenPar.h"

namespace
{
// A bit lives in a 16-bit parameter.
constexpr DWORD kBitCarrierLength = 2;

DWORD LittleEndian(const BYTE* bytes, DWORD length)
{
    DWORD value = 0;
    for (DWORD i = 0; i < length; ++i)
        value |= static_cast<DWORD>(bytes[i]) << (8 * i);
    return value;
}
} // namespace

int CCanOpenPar::ObjectNumber(LONG ipa)
{
    return static_cast<int>(ipa >= kFirstMemoryWord ? ipa - kFirstMemoryWord : ipa);
}

CCanOpenPar::CCanOpenPar(CCanMessagePort& port, BYTE node) : m_sdo(&port)
{
    m_sdo.SetAddress(node);
}

WORD CCanOpenPar::ValueIndex(const ParAccess& access)
{
    return access.area == ParArea::Memory ? MemoryIndex : ParameterIndex;
}

BYTE CCanOpenPar::Subindex(const ParAccess& access)
{
    return static_cast<BYTE>(ObjectNumber(access.index) + 1);
}

C_ERRO CCanOpenPar::Read(const ParAccess& access, DWORD& value)
{
    const bool bit = access.width == ParWidth::Bit;
    BYTE bytes[4] = {};
    DWORD length = bit ? kBitCarrierLength : static_cast<DWORD>(access.width);
    const C_ERRO result = m_sdo.UploadData(ValueIndex(access), Subindex(access), bytes, &length);
    if (result != C_ERRO_OK)
        return result;
    value = LittleEndian(bytes, length);
    if (bit)
        value = (value >> access.bit) & 1;
    return C_ERRO_OK;
}

C_ERRO CCanOpenPar::Write(const ParAccess& access, DWORD value)
{
    BYTE bytes[4] = {};
    if (access.width == ParWidth::Bit)
    {
        const DWORD mask = DWORD{1} << access.bit;
        bytes[0] = LOBYTE(mask);
        bytes[1] = HIBYTE(mask);
        return m_sdo.DownloadData(value != 0 ? SetBitsIndex : ClearBitsIndex, Subindex(access), bytes,
                                  kBitCarrierLength);
    }
    const auto length = static_cast<DWORD>(access.width);
    for (DWORD i = 0; i < length; ++i)
        bytes[i] = static_cast<BYTE>(value >> (8 * i));
    return m_sdo.DownloadData(ValueIndex(access), Subindex(access), bytes, length);
}
