// The script manager client and its Error event sink.
#include "ScriptManager.h"

#include <scripter/ZoScripter.h>

using namespace tvsk::com;

namespace
{

constexpr char16_t kProgId[] = u"ZoScripter.ZoScriptMng.1";

BSTR Bstr(const char* text)
{
    return BstrFromUtf8(text ? text : "");
}

} // namespace

// Error (type, description, source line, line, character, code) as one text; lines from 1.
class CScriptManager::CErrorSink final : public ComObject<IDispatch>
{
public:
    explicit CErrorSink(CScriptManagerEvIntf* events) : m_events(events) {}
    void Forget() { m_events = nullptr; }

    HRESULT GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (id != DISPID_ZoScriptMng_Error)
            return DISP_E_MEMBERNOTFOUND;
        if (!params || params->cArgs != 6)
            return DISP_E_BADPARAMCOUNT;
        const VARIANT* args = params->rgvarg; // last argument first
        if (args[5].vt != VT_BSTR || args[4].vt != VT_BSTR || args[3].vt != VT_BSTR || args[2].vt != VT_I4 ||
            args[1].vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        CString text;
        text.Format("%s\n%s\nLine %ld, character %ld:\n%s", Utf8FromBstr(args[5].bstrVal).c_str(),
                    Utf8FromBstr(args[4].bstrVal).c_str(), static_cast<long>(args[2].lVal) + 1,
                    static_cast<long>(args[1].lVal) + 1, Utf8FromBstr(args[3].bstrVal).c_str());
        if (m_events)
            m_events->OnScriptError(text);
        return S_OK;
    }

private:
    CScriptManagerEvIntf* m_events;
};

CScriptManager::CScriptManager() = default;

CScriptManager::~CScriptManager()
{
    // A running engine holds the script manager as its site: only closing it frees both.
    if (m_mng)
        m_mng->Stop();
    if (m_point)
        m_point->Unadvise(m_cookie);
    m_point.Reset();
    m_mng.Reset();
    if (m_sink)
    {
        m_sink->Forget();
        m_sink->Release();
    }
}

HRESULT CScriptManager::Init(CScriptManagerEvIntf* events)
{
    if (m_mng)
        return E_UNEXPECTED;
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(kProgId, &clsid);
    if (FAILED(hr))
        return hr;
    IZoScriptMng* created = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IZoScriptMng::Iid,
                          reinterpret_cast<void**>(&created));
    if (FAILED(hr))
        return hr;
    m_mng = ComPtr<IZoScriptMng>::Adopt(created);
    auto container = m_mng.As<IConnectionPointContainer>();
    if (!container)
        return E_NOINTERFACE;
    hr = container->FindConnectionPoint(DIID__IZoScriptMngEvents, m_point.Receive());
    if (FAILED(hr))
        return hr;
    m_sink = new CErrorSink(events);
    m_sink->AddRef();
    hr = m_point->Advise(static_cast<IDispatch*>(m_sink), &m_cookie);
    if (FAILED(hr))
        m_point.Reset();
    return hr;
}

HRESULT CScriptManager::AddScripter(const char* name, IDispatch* scripter)
{
    if (!m_mng)
        return E_UNEXPECTED;
    BSTR text = Bstr(name);
    HRESULT hr = m_mng->put_ScripterName(text);
    SysFreeString(text);
    return FAILED(hr) ? hr : m_mng->put_Scripter(scripter);
}

BOOL CScriptManager::Run(const char* code)
{
    if (!m_mng)
        return FALSE;
    BSTR text = Bstr(code);
    const HRESULT hr = m_mng->put_ScriptCode(text);
    SysFreeString(text);
    return SUCCEEDED(hr) && SUCCEEDED(m_mng->Run());
}

BOOL CScriptManager::IsRunning()
{
    LONG running = 0;
    return m_mng && SUCCEEDED(m_mng->get_Running(&running)) && running != 0;
}

void CScriptManager::Stop()
{
    if (m_mng)
        m_mng->Stop();
}
