// Event sinks of named items.
#include "EventSink.h"

namespace tvsk::script
{

EventSink::EventSink(ScriptEngine& engine, std::u16string itemName, const com::InterfaceDescription& events)
    : m_keepEngine(static_cast<IActiveScript*>(&engine)), m_engine(engine), m_item(std::move(itemName)),
      m_iid(events.Iid())
{
    for (const com::MemberDescription& m : events.Members())
        m_handlers.emplace_back(m.id, m_item + u"_" + com::Utf16FromUtf8(m.name));
}

HRESULT EventSink::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT*)
{
    // The engine may close (and this sink leave its connection point) while the handler runs.
    const ComPtr<IDispatch> self(this);
    const std::u16string* handler = nullptr;
    for (const auto& [event, name] : m_handlers)
        if (event == id)
            handler = &name;
    if (!handler || m_engine.Interp().Closed())
        return DISP_E_MEMBERNOTFOUND;
    Procedure* procedure = m_engine.Interp().FindProcedure(*handler);
    if (!procedure)
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    std::vector<Value> args(params->cArgs);
    for (UINT i = 0; i < params->cArgs; ++i)
    {
        VARIANT& raw = params->rgvarg[params->cArgs - 1 - i];
        args[i] = Value::Argument(raw);
    }
    Value r;
    const bool ok = m_engine.Enter(
        [&] { r = m_engine.Interp().Call(*procedure, nullptr, args.data(), args.size()); }, exception);
    if (!ok)
        return DISP_E_EXCEPTION;
    if (result)
    {
        VariantClear(result);
        *result = r.Detach();
    }
    return S_OK;
}

} // namespace tvsk::script
