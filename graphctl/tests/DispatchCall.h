// Calls through IDispatch::Invoke as a host does, arguments in natural order.
#pragma once

#include <com/Com.h>

#include <vector>

struct InvokeResult
{
    HRESULT hr;
    VARIANT value;
};

inline InvokeResult InvokeMember(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT)
    {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    InvokeResult result{S_OK, {}};
    VariantInit(&result.value);
    result.hr = object->Invoke(id, IID_NULL, 0, flags, &params, &result.value, nullptr, nullptr);
    return result;
}

inline InvokeResult GetProperty(IDispatch* object, DISPID id, std::vector<VARIANT> args = {})
{
    return InvokeMember(object, id, DISPATCH_PROPERTYGET, std::move(args));
}

inline HRESULT PutProperty(IDispatch* object, DISPID id, std::vector<VARIANT> args)
{
    InvokeResult r = InvokeMember(object, id, DISPATCH_PROPERTYPUT, std::move(args));
    VariantClear(&r.value);
    return r.hr;
}

inline InvokeResult CallMethod(IDispatch* object, DISPID id, std::vector<VARIANT> args = {})
{
    return InvokeMember(object, id, DISPATCH_METHOD, std::move(args));
}
