// The event sinks' IDispatch.
#include "ImpIDispatch.h"

#include <string>

HRESULT CImpIDispatch::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IUnknown::Iid && iid != IDispatch::Iid && iid != EventIid())
        return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

HRESULT CImpIDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CImpIDispatch::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    std::string text;
    bool hasText = false;
    if (params && params->cArgs > 0 && params->rgvarg[params->cArgs - 1].vt == VT_BSTR)
    {
        text = tvsk::com::Utf8FromBstr(params->rgvarg[params->cArgs - 1].bstrVal);
        hasText = true;
    }
    OnEvent(id, hasText ? text.c_str() : nullptr, params);
    return S_OK;
}
