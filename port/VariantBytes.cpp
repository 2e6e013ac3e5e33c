// Sizes of the scalar types and the locked data of arrays.
#include "VariantBytes.h"

namespace lanyard
{

ULONG ScalarSize(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
        return 2;
    case VT_I4:
    case VT_R4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return 4;
    case VT_R8:
        return 8;
    default:
        return 0;
    }
}

ULONG ArrayByteCount(SAFEARRAY* array)
{
    if (!array || array->cDims == 0)
        return 0;
    // The product of the dimensions: a sum of them could reach past the data (a 1 x 1 array).
    ULONG elements = 1;
    for (USHORT d = 0; d < array->cDims; ++d)
        elements *= array->rgsabound[d].cElements;
    return elements * array->cbElements;
}

HRESULT WithArrayData(SAFEARRAY* array, const std::function<bool(BYTE* data, ULONG bytes)>& transfer,
                      bool& done)
{
    done = false;
    void* data = nullptr;
    const HRESULT accessed = SafeArrayAccessData(array, &data);
    if (FAILED(accessed))
        return accessed;
    done = transfer(static_cast<BYTE*>(data), ArrayByteCount(array));
    return SafeArrayUnaccessData(array);
}

} // namespace lanyard
