// The script's globals as an IDispatch.
#include "GlobalDispatch.h"

#include "Ast.h"
#include "Dispatch.h"

namespace tvsk::script
{

GlobalDispatch::GlobalDispatch(ScriptEngine& engine)
    : m_keepEngine(static_cast<IActiveScript*>(&engine)), m_engine(engine)
{
}

HRESULT GlobalDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT GlobalDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT GlobalDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || !count || !names[0])
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const std::u16string lower = Lower(names[0]);
    if (!m_engine.Interp().FindProcedure(lower) && !m_engine.Interp().FindGlobal(lower))
        return DISP_E_UNKNOWNNAME;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == lower)
        {
            ids[0] = static_cast<DISPID>(i + 1);
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    m_names.push_back(lower);
    ids[0] = static_cast<DISPID>(m_names.size());
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT GlobalDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT*)
{
    if (id < 1 || static_cast<size_t>(id) > m_names.size() || m_engine.Interp().Closed())
        return DISP_E_MEMBERNOTFOUND;
    const std::u16string& name = m_names[static_cast<size_t>(id) - 1];
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    Value r;
    HRESULT hr = S_OK;
    const bool ok = m_engine.Enter(
        [&]
        {
            Interpreter& interp = m_engine.Interp();
            if (Value* variable = interp.FindGlobal(name))
            {
                if (put)
                {
                    if (params->cArgs != 1)
                    {
                        hr = DISP_E_BADPARAMCOUNT;
                        return;
                    }
                    *variable = Value(params->rgvarg[0]);
                }
                else if (params->cArgs)
                    hr = DISP_E_BADPARAMCOUNT;
                else
                    r = *variable;
                return;
            }
            Procedure* procedure = interp.FindProcedure(name);
            if (!procedure || put)
            {
                hr = DISP_E_MEMBERNOTFOUND;
                return;
            }
            std::vector<Value> args(params->cArgs);
            for (UINT i = 0; i < params->cArgs; ++i)
            {
                VARIANT& raw = params->rgvarg[params->cArgs - 1 - i];
                args[i] = Value::Argument(raw);
            }
            if (args.size() != procedure->params.size())
            {
                hr = DISP_E_BADPARAMCOUNT;
                return;
            }
            r = interp.Call(*procedure, nullptr, args.data(), args.size());
        },
        exception);
    if (!ok)
        return DISP_E_EXCEPTION;
    if (SUCCEEDED(hr) && result && !put)
    {
        VariantClear(result);
        *result = r.Detach();
    }
    return hr;
}

} // namespace tvsk::script
