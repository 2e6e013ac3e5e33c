#include "MemoryWindow.h"

#define RETURN_IF_FAILED(call)                                                                               \
    do                                                                                                       \
    {                                                                                                        \
        const HRESULT hr_ = (call);                                                                          \
        if (FAILED(hr_))                                                                                     \
            return hr_;                                                                                      \
    } while (false)

namespace
{
DWORD LittleEndian(const BYTE* bytes, int count)
{
    DWORD value = 0;
    for (int i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

void StoreLittleEndian(DWORD value, BYTE* bytes, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[i] = static_cast<BYTE>(value >> (8 * i));
}
} // namespace

HRESULT CMemoryWindow::Read(LONG address, LONG length, BYTE* buffer)
{
    const bool oddStart = (address & 1) != 0;
    RETURN_IF_FAILED(Put(kWindowAddressPar, 0, VT_UI4, static_cast<DWORD>(address & ~1)));
    RETURN_IF_FAILED(PutBit(kWindowReadBit, true));
    LONG at = 0;
    DWORD value = 0;
    if (oddStart && length > 0)
    {
        RETURN_IF_FAILED(Get(kWindowReadPar, VT_UI2, value));
        buffer[at++] = static_cast<BYTE>(value >> 8);
    }
    for (; length - at >= 4; at += 4)
    {
        RETURN_IF_FAILED(Get(kWindowReadPar, VT_UI4, value));
        StoreLittleEndian(value, buffer + at, 4);
    }
    for (; length - at >= 2; at += 2)
    {
        RETURN_IF_FAILED(Get(kWindowReadPar, VT_UI2, value));
        StoreLittleEndian(value, buffer + at, 2);
    }
    if (length - at == 1)
    {
        RETURN_IF_FAILED(Get(kWindowReadPar, VT_UI2, value));
        buffer[at] = static_cast<BYTE>(value);
    }
    return S_OK;
}

HRESULT CMemoryWindow::Write(LONG address, LONG length, const BYTE* buffer, bool oneShot)
{
    if (address & 1)
        return VRNSER_E_TRANSFER;
    RETURN_IF_FAILED(Put(kWindowAddressPar, 0, VT_UI4, static_cast<DWORD>(address)));
    RETURN_IF_FAILED(PutBit(kWindowWriteBit, true));
    LONG at = 0;
    if (!oneShot)
    {
        RETURN_IF_FAILED(PutBit(kWindowStrobeBit, false));
        for (; length - at >= 2; at += 2)
            RETURN_IF_FAILED(Put(kWindowWritePar, 0, VT_UI2, LittleEndian(buffer + at, 2)));
    }
    else
    {
        for (; length - at >= 4; at += 4)
        {
            RETURN_IF_FAILED(PutBit(kWindowStrobeBit, true));
            RETURN_IF_FAILED(Put(kWindowWritePar, 0, VT_UI4, LittleEndian(buffer + at, 4)));
        }
        for (; length - at >= 2; at += 2)
        {
            RETURN_IF_FAILED(PutBit(kWindowStrobeBit, true));
            RETURN_IF_FAILED(Put(kWindowWritePar, 0, VT_UI2, LittleEndian(buffer + at, 2)));
        }
    }
    if (length - at == 1)
    {
        // The last word is read back so the byte after the block keeps its value.
        const LONG lastWord = address + at;
        BYTE word[2] = {};
        RETURN_IF_FAILED(Read(lastWord, 2, word));
        if (oneShot)
            RETURN_IF_FAILED(PutBit(kWindowStrobeBit, true));
        RETURN_IF_FAILED(Put(kWindowAddressPar, 0, VT_UI4, static_cast<DWORD>(lastWord)));
        RETURN_IF_FAILED(Put(kWindowWritePar, 0, VT_UI2, static_cast<DWORD>(word[1]) << 8 | buffer[at]));
    }
    return S_OK;
}

HRESULT CMemoryWindow::Put(LONG ipa, LONG subI, VARTYPE type, DWORD value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI4;
    v.ulVal = value;
    return m_link.put_Par(ipa, subI, static_cast<SHORT>(type), v);
}

HRESULT CMemoryWindow::Get(LONG ipa, VARTYPE type, DWORD& value)
{
    VARIANT v;
    VariantInit(&v);
    v.llVal = 0;
    const HRESULT hr = m_link.get_Par(ipa, 0, static_cast<SHORT>(type), &v);
    value = v.ulVal;
    VariantClear(&v);
    return hr;
}
