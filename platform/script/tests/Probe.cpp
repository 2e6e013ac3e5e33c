#include "Probe.h"

namespace tvsk::script::testing
{

const com::DispatchTable<Probe>& Probe::Dispatch()
{
    static const com::DispatchTable<Probe> table =
        com::DispatchTable<Probe>(com::InterfaceDescription(IProbe::Iid, "IProbe"))
            .Method(1, "Record", &Probe::Record)
            .Get(2, "Value", &Probe::get_Value)
            .Put(2, "Value", &Probe::put_Value)
            .Method(3, "Inc", &Probe::Inc)
            .Method(4, "Fill", &Probe::Fill)
            .MethodWithResult(5, "Twice", &Probe::Twice);
    return table;
}

const com::ClassDescription& Probe::Class()
{
    static const com::InterfaceDescription events = []
    {
        com::InterfaceDescription d(DIID_ProbeEvents, "_ProbeEvents");
        d.Add({DISPID_Ping, "Ping", com::MemberKind::Method, {VT_I4}});
        d.Add({DISPID_Named, "Named", com::MemberKind::Method, {VT_BSTR, VT_BYREF | VT_VARIANT}});
        d.Add({DISPID_Unhandled, "Unhandled", com::MemberKind::Method, {}});
        return d;
    }();
    static const com::ClassDescription cls{MakeGuid("0E3B7B53-2C44-4D7F-A1C2-6B1F0E9A7D11"), "Probe",
                                           &Dispatch().Description(), &events};
    return cls;
}

HRESULT Probe::Record(BSTR text)
{
    records.push_back(com::Utf8FromBstr(text));
    return S_OK;
}

HRESULT Probe::get_Value(LONG* v)
{
    *v = value;
    return S_OK;
}

HRESULT Probe::put_Value(LONG v)
{
    value = v;
    return S_OK;
}

HRESULT Probe::Inc(LONG* v)
{
    ++*v;
    return S_OK;
}

HRESULT Probe::Fill(VARIANT* out)
{
    VariantClear(out);
    *out = com::MakeVariantBstr("filled");
    return S_OK;
}

HRESULT Probe::Twice(LONG v, LONG* result)
{
    *result = v * 2;
    return S_OK;
}

HRESULT Probe::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT Probe::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    return com::FindConnectionPointIn({&m_events}, iid, point);
}

HRESULT Probe::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = com::NewClassTypeInfo(Class());
    return S_OK;
}

HRESULT Probe::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid || kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *guid = DIID_ProbeEvents;
    return S_OK;
}

com::FireResult Probe::Fire(DISPID id, std::vector<VARIANT> args)
{
    return m_events.Fire(id, args);
}

} // namespace tvsk::script::testing
