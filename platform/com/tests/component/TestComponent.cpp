// A counter component: dual interface, indexed property, events and error information.
#include "TestComponent.h"

#include <map>
#include <string>

using namespace tvsk::com;

namespace
{

class CCounter : public DispatchObject<CCounter, ICounter, IConnectionPointContainer, ISupportErrorInfo>
{
public:
    static const DispatchTable<CCounter>& Dispatch()
    {
        static const DispatchTable<CCounter> table =
            DispatchTable<CCounter>(InterfaceDescription(ICounter::Iid, "ICounter"))
                .Get(1, "Value", &CCounter::get_Value)
                .Put(1, "Value", &CCounter::put_Value)
                .MethodWithResult(2, "Add", &CCounter::Add)
                .MethodWithResult(3, "Join", &CCounter::Join)
                .Get(4, "Item", &CCounter::get_Item)
                .Put(4, "Item", &CCounter::put_Item)
                .Method(5, "Swap", &CCounter::Swap)
                .Get(6, "Positive", &CCounter::get_Positive, "", VT_BOOL)
                .Method(7, "Refuse", &CCounter::Refuse);
        return table;
    }

    ~CCounter() override
    {
        for (auto& [name, value] : m_items)
            VariantClear(&value);
    }

    HRESULT get_Value(LONG* value) override
    {
        *value = m_value;
        return S_OK;
    }
    HRESULT put_Value(LONG value) override
    {
        m_value = value;
        VARIANT args[2] = {MakeVariantI4(value), MakeVariantBstr("put")};
        m_events.Fire(DISPID_CounterChanged, args);
        VariantClear(&args[1]);
        return S_OK;
    }
    HRESULT Add(LONG amount, LONG* total) override
    {
        m_value += amount;
        *total = m_value;
        return S_OK;
    }
    HRESULT Join(BSTR first, BSTR second, BSTR* joined) override
    {
        *joined = BstrFromUtf8(Utf8FromBstr(first) + Utf8FromBstr(second));
        return S_OK;
    }
    HRESULT get_Item(BSTR name, VARIANT* value) override
    {
        auto it = m_items.find(Utf8FromBstr(name));
        if (it == m_items.end())
            return E_INVALIDARG;
        return VariantCopy(value, &it->second);
    }
    HRESULT put_Item(BSTR name, VARIANT value) override
    {
        VARIANT& slot = m_items[Utf8FromBstr(name)];
        return VariantCopy(&slot, &value);
    }
    HRESULT Swap(LONG* first, LONG* second) override
    {
        std::swap(*first, *second);
        return S_OK;
    }
    HRESULT get_Positive(VARIANT_BOOL* positive) override
    {
        *positive = m_value > 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT Refuse() override { return ReportError(E_FAIL, ICounter::Iid, "Counter", "counter refused"); }

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override
    {
        if (points)
            *points = nullptr;
        return E_NOTIMPL;
    }
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        return FindConnectionPointIn({&m_events}, iid, point);
    }
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override { return iid == ICounter::Iid ? S_OK : S_FALSE; }

private:
    LONG m_value = 0;
    std::map<std::string, VARIANT> m_items;
    ConnectionPoint m_events{*this, DIID_ICounterEvents};
};

const ComClass kClasses[] = {{CLSID_TestCounter, "TestCounter Class", "TvskComTest.Counter.1",
                              "TvskComTest.Counter", true, "Apartment", &LIBID_TestCounter, true,
                              &CreateObject<CCounter>}};
const TypeLibrary kLibrary{LIBID_TestCounter, "1.0", "TvskComTest 1.0 Type Library"};

} // namespace

TVSK_COM_MODULE_EXPORTS(kClasses, &kLibrary)
