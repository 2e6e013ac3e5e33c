// The base of the language's own objects.
#include "NativeObject.h"

#include "Ast.h"
#include "Dispatch.h"

#include <vector>

namespace tvsk::script
{

NativeObject* NativeObject::From(IDispatch* object)
{
    return dynamic_cast<NativeObject*>(object);
}

HRESULT NativeObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT NativeObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT NativeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || !count || !names[0])
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const std::u16string lower = Lower(names[0]);
    for (const Member& m : Members())
        if (lower == m.name)
        {
            ids[0] = m.id;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    return DISP_E_UNKNOWNNAME;
}

HRESULT NativeObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT*)
{
    if (!Knows(id))
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (put && params->cArgs < 1)
        return DISP_E_BADPARAMCOUNT;
    const UINT count = params->cArgs - (put ? 1 : 0);
    try
    {
        std::vector<Value> args;
        args.reserve(count);
        // Arguments travel last first; a put's value is the first.
        for (UINT i = 0; i < count; ++i)
        {
            const VARIANT& raw = params->rgvarg[params->cArgs - 1 - i];
            args.push_back(Value::Argument(raw));
        }
        Value value = put ? Value(params->rgvarg[0]) : Value();
        Value r = Call(id, flags, args.data(), args.size(), put ? &value : nullptr);
        if (result && !put)
        {
            VariantClear(result);
            *result = r.Detach();
        }
        return S_OK;
    }
    catch (const ScriptException& e)
    {
        return ReportException(e.error, exception);
    }
}

bool NativeObject::Knows(DISPID id) const
{
    for (const Member& m : Members())
        if (m.id == id)
            return true;
    return false;
}

void NeedArguments(size_t count, size_t needed)
{
    if (count != needed)
        Throw(err::WrongArguments);
}

} // namespace tvsk::script
