// VARIANT: initialise, clear and copy.
#include "Variant.h"

#include "Dispatch.h"
#include "SafeArray.h"
#include "VariantInternal.h"

#include <cstring>

namespace
{

bool IsKnownScalar(VARTYPE vt)
{
    switch (vt)
    {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_ERROR:
    case VT_BSTR:
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return true;
    default:
        return false;
    }
}

bool IsValidType(VARTYPE vt)
{
    if (vt & VT_BYREF)
        return IsKnownScalar(vt & VT_TYPEMASK) || (vt & VT_TYPEMASK) == VT_VARIANT || vt == VT_BYREF ||
               (vt & VT_ARRAY);
    if (vt & VT_ARRAY)
        return IsKnownScalar(vt & VT_TYPEMASK) || (vt & VT_TYPEMASK) == VT_VARIANT;
    return IsKnownScalar(vt);
}

} // namespace

// The value a reference points to, as a variant that shares (does not own) its contents.
HRESULT tvsk::com::detail::Dereference(const VARIANT* src, VARIANT& view)
{
    const VARTYPE base = src->vt & ~VT_BYREF;
    if (base == VT_VARIANT)
    {
        if (!src->pvarVal)
            return E_INVALIDARG;
        view = *src->pvarVal;
        return (view.vt & VT_BYREF) ? E_INVALIDARG : S_OK;
    }
    if (!src->byref)
        return E_INVALIDARG;
    std::memset(&view, 0, sizeof view);
    view.vt = base;
    if (base & VT_ARRAY)
    {
        view.parray = *src->pparray;
        return S_OK;
    }
    switch (base)
    {
    case VT_I1:
    case VT_UI1:
        view.bVal = *src->pbVal;
        break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        view.iVal = *src->piVal;
        break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
        view.lVal = *src->plVal;
        break;
    case VT_R4:
        view.fltVal = *src->pfltVal;
        break;
    case VT_R8:
    case VT_DATE:
        view.dblVal = *src->pdblVal;
        break;
    case VT_CY:
        view.cyVal = *src->pcyVal;
        break;
    case VT_I8:
    case VT_UI8:
        view.llVal = *src->pllVal;
        break;
    case VT_BSTR:
        view.bstrVal = *src->pbstrVal;
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        view.punkVal = *src->ppunkVal;
        break;
    default:
        return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

void VariantInit(VARIANT* v)
{
    if (v)
        std::memset(v, 0, sizeof *v);
}

HRESULT VariantClear(VARIANT* v)
{
    if (!v)
        return E_INVALIDARG;
    if (!IsValidType(v->vt))
        return DISP_E_BADVARTYPE;
    if (!(v->vt & VT_BYREF))
    {
        if (v->vt & VT_ARRAY)
        {
            const HRESULT hr = SafeArrayDestroy(v->parray);
            if (FAILED(hr))
                return hr;
        }
        else if (v->vt == VT_BSTR)
            SysFreeString(v->bstrVal);
        else if ((v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) && v->punkVal)
            v->punkVal->Release();
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (!IsValidType(src->vt))
        return DISP_E_BADVARTYPE;
    if (dest == src)
        return S_OK;
    VARIANT copy = *src;
    if (!(src->vt & VT_BYREF))
    {
        if (src->vt & VT_ARRAY)
        {
            const HRESULT hr = SafeArrayCopy(src->parray, &copy.parray);
            if (FAILED(hr))
                return hr;
        }
        else if (src->vt == VT_BSTR && src->bstrVal)
        {
            copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(src->bstrVal),
                                                 SysStringByteLen(src->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        }
        else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal)
            src->punkVal->AddRef();
    }
    const HRESULT hr = VariantClear(dest);
    if (FAILED(hr))
    {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (!(src->vt & VT_BYREF))
        return VariantCopy(dest, src);
    VARIANT view;
    const HRESULT hr = tvsk::com::detail::Dereference(src, view);
    if (FAILED(hr))
        return hr;
    VARIANT copy;
    VariantInit(&copy);
    const HRESULT copied = VariantCopy(&copy, &view);
    if (FAILED(copied))
        return copied;
    if (dest == src)
    {
        *dest = copy;
        return S_OK;
    }
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

namespace tvsk::com
{

VARIANT MakeVariantI4(LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT MakeVariantR8(double value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

VARIANT MakeVariantBool(bool value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT MakeVariantBstr(std::string_view utf8)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = BstrFromUtf8(utf8);
    return v;
}

} // namespace tvsk::com
