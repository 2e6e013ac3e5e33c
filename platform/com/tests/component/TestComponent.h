// The interface of the small component the component-model tests create, register and call.
#pragma once

#include <com/Com.h>

constexpr CLSID CLSID_TestCounter = MakeGuid("AFD4D63F-3742-4A8E-9945-1424CCE6F609");
constexpr GUID LIBID_TestCounter = MakeGuid("484C7119-135C-49B6-9F5C-92EF1AFD8D8F");
constexpr IID DIID_ICounterEvents = MakeGuid("E7158ECD-6632-4A81-8FDC-CD7ECEBDA82D");

constexpr DISPID DISPID_CounterChanged = 1;

struct ICounter : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("D4DDC781-EB4D-4FB3-B6F0-BBD77D7604BD");
    virtual HRESULT get_Value(LONG* value) = 0;
    // Fires Changed(value, "put").
    virtual HRESULT put_Value(LONG value) = 0;
    virtual HRESULT Add(LONG amount, LONG* total) = 0;
    virtual HRESULT Join(BSTR first, BSTR second, BSTR* joined) = 0;
    virtual HRESULT get_Item(BSTR name, VARIANT* value) = 0;
    virtual HRESULT put_Item(BSTR name, VARIANT value) = 0;
    virtual HRESULT Swap(LONG* first, LONG* second) = 0;
    virtual HRESULT get_Positive(VARIANT_BOOL* positive) = 0;
    // Fails with E_FAIL and error information "counter refused".
    virtual HRESULT Refuse() = 0;

protected:
    ~ICounter() = default;
};
