// A host object for engine tests: records what scripts call, fires events, and describes its class.
#pragma once

#include <com/Com.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tvsk::script::testing
{

struct IProbe : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("0E3B7B51-2C44-4D7F-A1C2-6B1F0E9A7D11");

protected:
    ~IProbe() = default;
};
constexpr IID DIID_ProbeEvents = MakeGuid("0E3B7B52-2C44-4D7F-A1C2-6B1F0E9A7D11");
constexpr DISPID DISPID_Ping = 1;
constexpr DISPID DISPID_Named = 2;
constexpr DISPID DISPID_Unhandled = 3;

class Probe : public com::DispatchObject<Probe, IProbe, IConnectionPointContainer, IProvideClassInfo2>
{
public:
    static const com::DispatchTable<Probe>& Dispatch();
    static const com::ClassDescription& Class();

    HRESULT Record(BSTR text);
    HRESULT get_Value(LONG* value);
    HRESULT put_Value(LONG value);
    HRESULT Inc(LONG* value);
    HRESULT Fill(VARIANT* out);
    HRESULT Twice(LONG value, LONG* result);
    HRESULT get_Item(BSTR name, VARIANT* value);
    HRESULT put_Item(BSTR name, VARIANT value);
    HRESULT get_NewEnum(IUnknown** items);

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    HRESULT GetClassInfo(ITypeInfo** info) override;
    HRESULT GetGUID(DWORD kind, GUID* guid) override;

    com::FireResult Fire(DISPID id, std::vector<VARIANT> args = {});
    size_t Sinks() const { return m_events.SinkCount(); }

    std::vector<std::string> records;
    // Called after each Record.
    std::function<void()> onRecord;
    std::map<std::string, std::string> items;
    LONG value = 0;

private:
    com::ConnectionPoint m_events{*this, DIID_ProbeEvents};
};

} // namespace tvsk::script::testing
