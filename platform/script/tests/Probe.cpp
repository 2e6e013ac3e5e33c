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
            .MethodWithResult(5, "Twice", &Probe::Twice)
            .Get(6, "Item", &Probe::get_Item)
            .Put(6, "Item", &Probe::put_Item)
            .Get(DISPID_NEWENUM, "_NewEnum", &Probe::get_NewEnum);
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
    if (onRecord)
        onRecord();
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

HRESULT Probe::get_Item(BSTR name, VARIANT* value)
{
    auto it = items.find(com::Utf8FromBstr(name));
    if (it == items.end())
        return E_INVALIDARG;
    *value = com::MakeVariantBstr(it->second);
    return S_OK;
}

HRESULT Probe::put_Item(BSTR name, VARIANT value)
{
    VARIANT text;
    VariantInit(&text);
    const HRESULT hr = VariantChangeType(&text, &value, 0, VT_BSTR);
    if (FAILED(hr))
        return hr;
    items[com::Utf8FromBstr(name)] = com::Utf8FromBstr(text.bstrVal);
    VariantClear(&text);
    return S_OK;
}

// The records so far, for For Each.
HRESULT Probe::get_NewEnum(IUnknown** result)
{
    std::vector<VARIANT> values;
    for (const std::string& r : records)
        values.push_back(com::MakeVariantBstr(r));
    auto* e = new com::VariantEnumerator(values);
    for (VARIANT& v : values)
        VariantClear(&v);
    e->AddRef();
    *result = e;
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
