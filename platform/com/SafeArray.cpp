// SAFEARRAY: a multi-dimensional array of one automation type with bounds and locked data access.
#include "SafeArray.h"

#include "Dispatch.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace
{

ULONG ElementSize(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_I8:
    case VT_UI8:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return sizeof(IUnknown*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

size_t ElementCount(const SAFEARRAY* a)
{
    size_t n = 1;
    for (USHORT d = 0; d < a->cDims; ++d)
        n *= a->rgsabound[d].cElements;
    return a->cDims ? n : 0;
}

// Row-major offset (the last index varies fastest); false outside the bounds.
bool ElementOffset(const SAFEARRAY* a, const LONG* indices, size_t& offset)
{
    size_t index = 0;
    for (USHORT d = 0; d < a->cDims; ++d)
    {
        const SAFEARRAYBOUND& b = a->rgsabound[d];
        const long long rel = static_cast<long long>(indices[d]) - b.lLbound;
        if (rel < 0 || rel >= static_cast<long long>(b.cElements))
            return false;
        index = index * b.cElements + static_cast<size_t>(rel);
    }
    offset = index * a->cbElements;
    return true;
}

void ReleaseElements(SAFEARRAY* a)
{
    const size_t n = ElementCount(a);
    for (size_t i = 0; i < n; ++i)
    {
        void* e = static_cast<BYTE*>(a->pvData) + i * a->cbElements;
        if (a->vt == VT_BSTR)
            SysFreeString(*static_cast<BSTR*>(e));
        else if (a->vt == VT_UNKNOWN || a->vt == VT_DISPATCH)
        {
            if (auto* p = *static_cast<IUnknown**>(e))
                p->Release();
        }
        else if (a->vt == VT_VARIANT)
            VariantClear(static_cast<VARIANT*>(e));
    }
}

// Copies one element into raw, zeroed storage.
HRESULT CopyElement(VARTYPE vt, void* dest, const void* src, ULONG size)
{
    if (vt == VT_BSTR)
    {
        BSTR s = *static_cast<const BSTR*>(src);
        BSTR copy =
            s ? SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s)) : nullptr;
        if (s && !copy)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(dest) = copy;
        return S_OK;
    }
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH)
    {
        auto* p = *static_cast<IUnknown* const*>(src);
        if (p)
            p->AddRef();
        *static_cast<IUnknown**>(dest) = p;
        return S_OK;
    }
    if (vt == VT_VARIANT)
    {
        VariantInit(static_cast<VARIANT*>(dest));
        return VariantCopy(static_cast<VARIANT*>(dest), static_cast<const VARIANT*>(src));
    }
    std::memcpy(dest, src, size);
    return S_OK;
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds)
{
    const ULONG size = ElementSize(vt);
    if (size == 0 || dims == 0 || dims > 0xFFFF || !bounds)
        return nullptr;
    const size_t header = sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
    auto* a = static_cast<SAFEARRAY*>(std::calloc(1, header));
    if (!a)
        return nullptr;
    a->cDims = static_cast<USHORT>(dims);
    a->cbElements = size;
    a->vt = vt;
    std::memcpy(a->rgsabound, bounds, dims * sizeof(SAFEARRAYBOUND));
    const size_t count = ElementCount(a);
    if (count && count > static_cast<size_t>(-1) / size)
    {
        std::free(a);
        return nullptr;
    }
    // Zeroed storage is a valid empty element of every type (null strings, VT_EMPTY variants).
    a->pvData = count ? std::calloc(count, size) : nullptr;
    if (count && !a->pvData)
    {
        std::free(a);
        return nullptr;
    }
    return a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements)
{
    const SAFEARRAYBOUND bound{elements, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array)
{
    if (!array)
        return S_OK;
    if (array->cLocks)
        return DISP_E_ARRAYISLOCKED;
    ReleaseElements(array);
    std::free(array->pvData);
    std::free(array);
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy)
{
    if (!copy)
        return E_INVALIDARG;
    *copy = nullptr;
    if (!array)
        return S_OK;
    SAFEARRAY* c = SafeArrayCreate(array->vt, array->cDims, array->rgsabound);
    if (!c)
        return E_OUTOFMEMORY;
    const size_t n = ElementCount(array);
    for (size_t i = 0; i < n; ++i)
    {
        const size_t at = i * array->cbElements;
        const HRESULT hr = CopyElement(array->vt, static_cast<BYTE*>(c->pvData) + at,
                                       static_cast<const BYTE*>(array->pvData) + at, array->cbElements);
        if (FAILED(hr))
        {
            SafeArrayDestroy(c);
            return hr;
        }
    }
    *copy = c;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array)
{
    return array ? array->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* array)
{
    return array ? array->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt)
{
    if (!array || !vt)
        return E_INVALIDARG;
    *vt = array->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound)
{
    if (!array || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    *bound = array->rgsabound[dim - 1].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound)
{
    if (!array || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = array->rgsabound[dim - 1];
    *bound = static_cast<LONG>(b.lLbound + static_cast<long long>(b.cElements) - 1);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array)
{
    if (!array)
        return E_INVALIDARG;
    ++array->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array)
{
    if (!array)
        return E_INVALIDARG;
    if (array->cLocks == 0)
        return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data)
{
    if (!array || !data)
        return E_INVALIDARG;
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array)
{
    return SafeArrayUnlock(array);
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, const LONG* indices, void* value)
{
    size_t offset = 0;
    if (!array || !indices || !value)
        return E_INVALIDARG;
    if (!ElementOffset(array, indices, offset))
        return DISP_E_BADINDEX;
    return CopyElement(array->vt, value, static_cast<const BYTE*>(array->pvData) + offset, array->cbElements);
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const void* value)
{
    size_t offset = 0;
    if (!array || !indices || !value)
        return E_INVALIDARG;
    if (!ElementOffset(array, indices, offset))
        return DISP_E_BADINDEX;
    void* e = static_cast<BYTE*>(array->pvData) + offset;
    if (array->vt == VT_BSTR || array->vt == VT_UNKNOWN || array->vt == VT_DISPATCH ||
        array->vt == VT_VARIANT)
    {
        // Copy first so a failed copy leaves the old element in place.
        alignas(VARIANT) BYTE fresh[sizeof(VARIANT)] = {};
        const HRESULT hr = CopyElement(array->vt, fresh, value, array->cbElements);
        if (FAILED(hr))
            return hr;
        if (array->vt == VT_BSTR)
            SysFreeString(*static_cast<BSTR*>(e));
        else if (array->vt == VT_VARIANT)
            VariantClear(static_cast<VARIANT*>(e));
        else if (auto* old = *static_cast<IUnknown**>(e))
            old->Release();
        std::memcpy(e, fresh, array->cbElements);
        return S_OK;
    }
    std::memcpy(e, value, array->cbElements);
    return S_OK;
}
