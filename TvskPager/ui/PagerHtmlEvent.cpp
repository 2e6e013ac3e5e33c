#include "PagerHtmlEvent.h"

#include "PagerHtmlWnd.h"
#include "PagerIds.h"

#include <Tarveskon/PluginCall.h>
#include <ZoSupport/TokString.h>
#include <com/Bstr.h>
#include <htmlbind/JyHtml2.h>

#include <cstring>

namespace
{

LPARAM Text(const std::string& text)
{
    return reinterpret_cast<LPARAM>(text.c_str());
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

} // namespace

HRESULT CPagerHtmlEvent::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IDispatch || iid == IID_IUnknown || iid == DIID__IJyHtml2MngEvents)
    {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT CPagerHtmlEvent::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids)
{
    for (UINT i = 0; ids && i < count; ++i)
        ids[i] = -1;
    return DISP_E_UNKNOWNNAME;
}

HRESULT CPagerHtmlEvent::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                UINT*)
{
    std::string name;
    // Arguments arrive last first.
    if (params && params->cArgs >= 1)
    {
        const VARIANT& first = params->rgvarg[params->cArgs - 1];
        if (first.vt == VT_BSTR)
            name = tvsk::com::Utf8FromBstr(first.bstrVal);
    }
    OnEvent(name, id, params);
    return S_OK;
}

void CPagerHtmlEvent::OnEvent(const std::string& name, DISPID id, DISPPARAMS* params)
{
    if (!m_pManager || !m_pWnd)
        return;
    VARIANT empty;
    VariantInit(&empty);
    const VARIANT& value = params && params->cArgs >= 2 ? params->rgvarg[params->cArgs - 2] : empty;
    switch (id)
    {
    case DISPID_OnElementFocus:
        m_pWnd->SendMessage(WM_ELEMENT_FOCUS, 1, Text(name));
        break;
    case DISPID_OnElementBlur:
        m_pWnd->SendMessage(WM_ELEMENT_FOCUS, 0, Text(name));
        break;
    case DISPID_OnElementOver:
        m_pWnd->SendMessage(WM_ELEMENT_OVER, 0, Text(name));
        break;
    case DISPID_OnElementOut:
        m_pWnd->SendMessage(WM_ELEMENT_OUT, 0, Text(name));
        break;
    case DISPID_OnElementHelp:
        m_pWnd->SendMessage(WM_HTML_HELP, 0, Text(name));
        break;
    case DISPID_OnButtonClick:
    case DISPID_OnImageClick:
        Keyword(name);
        break;
    case DISPID_OnTextEnter:
        m_pWnd->Binding().EnterClick(name);
        break;
    case DISPID_OnRadioChange:
    case DISPID_OnSelectChange:
        m_pWnd->Binding().ChoiceChange(name, value);
        break;
    case DISPID_OnCheckboxChange:
        m_pWnd->Binding().CheckboxChange(name);
        break;
    case DISPID_OnImageClickSelVal:
        m_pWnd->SendMessage(WM_HTML_IMAGECLICK, reinterpret_cast<WPARAM>(&value), Text(name));
        break;
    case DISPID_OnDocumentHelp:
        m_pWnd->SendMessage(WM_HTML_HELP, 1, 0);
        break;
    default:
        break;
    }
}

void CPagerHtmlEvent::Keyword(const std::string& name)
{
    if (StartsWith(name, "CMD#"))
    {
        const std::string word = name.substr(4);
        m_pWnd->SendMessage(WM_HTML_COMMAND, 0, Text(word));
    }
    else if (StartsWith(name, "PLUGIN#"))
    {
        const CTokString tokens(name.c_str() + 7, "_", 0);
        const CString plugin = tokens[0];
        const CString argument = tokens[1];
        PLUGIN_CALL call{};
        call.pszName = tokens.NumToks() >= 1 ? plugin.GetString() : nullptr;
        call.pszArg = tokens.NumToks() == 2 ? argument.GetString() : nullptr;
        m_pWnd->SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
    }
    else if (StartsWith(name, "EXE#"))
    {
        const std::string line = name.substr(4);
        m_pWnd->SendMessage(WM_HTML_EXE, 0, Text(line));
    }
}
