// A sink that records every event with its arguments as text, in natural order.
#pragma once

#include <com/Com.h>

#include <string>
#include <vector>

class EventRecorder final : public tvsk::com::ComObject<IDispatch>
{
public:
    struct Event
    {
        DISPID id;
        std::vector<std::string> args;
    };

    HRESULT GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                   UINT*) override
    {
        if (flags != DISPATCH_METHOD)
            return E_FAIL;
        Event event{id, {}};
        for (UINT i = params->cArgs; i-- > 0;)
        {
            VARIANT text;
            VariantInit(&text);
            if (params->rgvarg[i].vt == VT_DISPATCH)
                event.args.push_back(params->rgvarg[i].pdispVal ? "dispatch" : "null");
            else if (SUCCEEDED(VariantChangeType(&text, &params->rgvarg[i], 0, VT_BSTR)))
                event.args.push_back(tvsk::com::Utf8FromBstr(text.bstrVal));
            VariantClear(&text);
        }
        events.push_back(event);
        return S_OK;
    }

    // The events of that id, in the order they came.
    std::vector<Event> Of(DISPID id) const
    {
        std::vector<Event> found;
        for (const Event& e : events)
            if (e.id == id)
                found.push_back(e);
        return found;
    }

    std::vector<Event> events;
};
