// A host's event sink for the tests: records each manager event as "Name(arg,arg)".
#pragma once

#include <htmlbind/JyHtml2.h>

#include <functional>
#include <string>
#include <vector>

class EventLog final : public tvsk::com::ComObject<IDispatch>
{
public:
    std::vector<std::string> events;
    // Runs inside the event, as a page window's handler would.
    std::function<void(DISPID)> onEvent;

    HRESULT GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        std::string entry = NameOf(id) + "(";
        for (UINT i = params->cArgs; i-- > 0;)
        {
            entry += Text(params->rgvarg[i]);
            if (i > 0)
                entry += ",";
        }
        events.push_back(entry + ")");
        if (onEvent)
            onEvent(id);
        return S_OK;
    }

    static std::string Text(const VARIANT& v)
    {
        switch (v.vt)
        {
        case VT_BSTR:
            return tvsk::com::Utf8FromBstr(v.bstrVal);
        case VT_I2:
            return "i2:" + std::to_string(v.iVal);
        case VT_EMPTY:
            return "empty";
        default:
            return "vt" + std::to_string(v.vt);
        }
    }

    static std::string NameOf(DISPID id)
    {
        static const char* const names[] = {"?",
                                            "OnBeforeSetDocument",
                                            "OnAfterSetDocument",
                                            "OnResetManager",
                                            "OnElementFocus",
                                            "OnElementBlur",
                                            "OnElementOver",
                                            "OnElementOut",
                                            "OnElementHelp",
                                            "OnButtonClick",
                                            "OnButtonUp",
                                            "OnButtonDown",
                                            "OnTextEnter",
                                            "OnTextEscape",
                                            "OnRadioChange",
                                            "OnCheckboxChange",
                                            "OnSelectChange",
                                            "OnImageClick",
                                            "OnImageClickSelVal",
                                            "OnPreClick",
                                            "OnAnchorClick",
                                            "OnDocumentHelp"};
        return id > 0 && id <= 21 ? names[id] : "?";
    }
};
