// IDispatch over a class's DispatchTable, and the type information that describes it.
#pragma once

#include "ComObject.h"
#include "DispatchTable.h"
#include "TypeInfo.h"

namespace tvsk::com
{

ITypeInfo* NewInterfaceTypeInfo(const InterfaceDescription& description);
ITypeInfo* NewClassTypeInfo(const ClassDescription& description);

// `class CThing : public DispatchObject<CThing, IThing, ...>` where IThing derives from IDispatch and
// CThing has `static const DispatchTable<CThing>& Dispatch();`.
template <class T, class... Interfaces> class DispatchObject : public ComObject<Interfaces...>
{
public:
    HRESULT GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_INVALIDARG;
        *count = 1;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (!info)
            return E_INVALIDARG;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        *info = NewInterfaceTypeInfo(T::Dispatch().Description());
        return S_OK;
    }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return T::Dispatch().Description().GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override
    {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        return T::Dispatch().Invoke(static_cast<T&>(*this), id, flags, params, result, exception, argError);
    }
};

} // namespace tvsk::com
