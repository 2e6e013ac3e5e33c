// Helpers of the component-model tests: the test component's objects and an event sink.
#pragma once

#include "component/TestComponent.h"

#include <kernel/SharedLibrary.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A counter straight from the test component's factory, without the registry.
inline ComPtr<ICounter> NewCounter()
{
    // Stays loaded until the process ends: the counters it makes outlive this call.
    static const CSharedLibrary* const library = []
    {
        auto* opened = new CSharedLibrary;
        EXPECT_TRUE(opened->Open(TVSK_TEST_COMPONENT)) << opened->Error();
        return opened;
    }();
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(library->Symbol("DllGetClassObject"));
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(entry(CLSID_TestCounter, IID_IClassFactory, reinterpret_cast<void**>(factory.Receive())), S_OK);
    ComPtr<ICounter> counter;
    EXPECT_EQ(factory->CreateInstance(nullptr, ICounter::Iid, reinterpret_cast<void**>(counter.Receive())),
              S_OK);
    return counter;
}

inline ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

// Records the events it receives, arguments in natural order, converted to text.
class RecordingSink : public tvsk::com::ComObject<IDispatch>
{
public:
    struct Event
    {
        DISPID id;
        std::vector<std::string> arguments;
    };

    HRESULT GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                   UINT*) override
    {
        EXPECT_EQ(flags, DISPATCH_METHOD);
        Event e{id, {}};
        for (UINT i = params->cArgs; i-- > 0;)
        {
            VARIANT text;
            VariantInit(&text);
            EXPECT_EQ(VariantChangeType(&text, &params->rgvarg[i], 0, VT_BSTR), S_OK);
            e.arguments.push_back(tvsk::com::Utf8FromBstr(text.bstrVal));
            VariantClear(&text);
        }
        events.push_back(e);
        return S_OK;
    }

    std::vector<Event> events;
};
