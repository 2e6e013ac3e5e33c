// The script manager object.
#include "ZoScriptMng.h"

#include <registry/Profile.h>
#include <ui/InputBox.h>
#include <ui/MessageBox.h>

using tvsk::com::BstrFromUtf8;
using tvsk::com::Utf8FromUtf16;

namespace
{

constexpr const char* ErrorTitle = "Script error";
constexpr DWORD ItemFlags = SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE | SCRIPTITEM_GLOBALMEMBERS; // 14

void ShowError(const char* text)
{
    AfxShowMessageBox(nullptr, text, ErrorTitle, MB_OK | MB_ICONERROR);
}

BSTR Copy(const std::u16string& text)
{
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

bool SameNoCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        char16_t x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char16_t>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char16_t>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

const tvsk::com::DispatchTable<CZoScriptMng>& CZoScriptMng::Dispatch()
{
    using tvsk::com::DispatchTable;
    static const DispatchTable<CZoScriptMng> table =
        DispatchTable<CZoScriptMng>(tvsk::com::InterfaceDescription(IZoScriptMng::Iid, "IZoScriptMng"))
            .Method(1, "Run", &CZoScriptMng::Run)
            .Method(2, "Stop", &CZoScriptMng::Stop)
            .Get(3, "ScripterName", &CZoScriptMng::get_ScripterName)
            .Put(3, "ScripterName", &CZoScriptMng::put_ScripterName)
            .Get(4, "Scripter", &CZoScriptMng::get_Scripter)
            .Put(4, "Scripter", &CZoScriptMng::put_Scripter)
            .Get(5, "Running", &CZoScriptMng::get_Running)
            .Method(6, "AddGlobalItem", &CZoScriptMng::AddGlobalItem)
            .Method(7, "RunEditor", &CZoScriptMng::RunEditor)
            .Get(8, "ScriptCode", &CZoScriptMng::get_ScriptCode)
            .Put(8, "ScriptCode", &CZoScriptMng::put_ScriptCode)
            .Get(9, "CodeModified", &CZoScriptMng::get_CodeModified)
            .Put(9, "CodeModified", &CZoScriptMng::put_CodeModified);
    return table;
}

const tvsk::com::ClassDescription& CZoScriptMng::Class()
{
    static const tvsk::com::InterfaceDescription events = []
    {
        tvsk::com::InterfaceDescription d(DIID__IZoScriptMngEvents, "_IZoScriptMngEvents");
        d.Add({DISPID_ZoScriptMng_Error,
               "Error",
               tvsk::com::MemberKind::Method,
               {VT_BSTR, VT_BSTR, VT_BSTR, VT_I4, VT_I4, VT_INT}});
        return d;
    }();
    static const tvsk::com::ClassDescription cls{CLSID_ZoScriptMng, "ZoScriptMng", &Dispatch().Description(),
                                                 &events};
    return cls;
}

CZoScriptMng::~CZoScriptMng()
{
    CloseEngine();
}

HRESULT CZoScriptMng::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == IZoScriptMng::Iid ? S_OK : S_FALSE;
}

HRESULT CZoScriptMng::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = tvsk::com::NewClassTypeInfo(Class());
    return S_OK;
}

HRESULT CZoScriptMng::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *guid = DIID__IZoScriptMngEvents;
    return S_OK;
}

bool CZoScriptMng::CreateEngine()
{
    IActiveScript* engine = nullptr;
    if (FAILED(CoCreateInstance(CLSID_VBScript, nullptr, CLSCTX_INPROC_SERVER, IActiveScript::Iid,
                                reinterpret_cast<void**>(&engine))) ||
        !engine)
        return false;
    m_engine = ComPtr<IActiveScript>::Adopt(engine);
    m_parse = m_engine.As<IActiveScriptParse>();
    if (!m_parse || FAILED(m_engine->SetScriptSite(static_cast<IActiveScriptSite*>(this))) ||
        FAILED(m_parse->InitNew()))
    {
        if (m_engine)
            m_engine->Close();
        m_parse.Reset();
        m_engine.Reset();
        return false;
    }
    if (FAILED(m_engine->AddNamedItem(m_scripterName.c_str(), ItemFlags)))
        ShowError("Couldn't add global named item.");
    for (const NamedItem& item : m_items)
        if (FAILED(m_engine->AddNamedItem(item.name.c_str(), ItemFlags)))
            ShowError("Couldn't add named item.");
    return true;
}

// Closes and releases the engine, so its event sinks leave the items before another engine comes.
void CZoScriptMng::CloseEngine()
{
    if (m_engine)
    {
        m_engine->SetScriptState(SCRIPTSTATE_CLOSED);
        m_engine->Close();
    }
    m_parse.Reset();
    m_engine.Reset();
    m_running = 0;
}

HRESULT CZoScriptMng::Run()
{
    const ComPtr<IZoScriptMng> self(this);
    CloseEngine();
    const UINT limit =
        CProfile::Instance().GetProfileInt(BusyLimitSection, BusyLimitEntry, DefaultBusyLimitMs);
    m_busyLimit = std::chrono::milliseconds(limit > 0 ? limit : DefaultBusyLimitMs);
    if (!CreateEngine())
    {
        ShowError("Failed to create script engine");
        return E_FAIL;
    }
    if (FAILED(m_parse->ParseScriptText(m_scriptCode.c_str(), m_scripterName.c_str(), nullptr, nullptr, 0, 0,
                                        0, nullptr, nullptr)))
    {
        ShowError("Failed to parse script");
        CloseEngine(); // the engine holds this site: left open, neither would ever be freed
        return E_FAIL;
    }
    if (FAILED(m_engine->SetScriptState(SCRIPTSTATE_CONNECTED)))
    {
        ShowError("Failed to connect to script engine");
        CloseEngine();
        return E_FAIL;
    }
    if (!m_engine)
        return E_FAIL; // the script stopped its own engine while it ran
    m_running = 1;
    return S_OK;
}

HRESULT CZoScriptMng::Stop()
{
    if (!m_engine)
    {
        m_running = 0;
        return S_OK;
    }
    const ComPtr<IZoScriptMng> self(this);
    const ComPtr<IActiveScript> engine = m_engine;
    if (FAILED(engine->SetScriptState(SCRIPTSTATE_CLOSED)))
        return E_FAIL;
    if (FAILED(engine->Close()))
    {
        ShowError("Attempt to stop running script failed.\n");
        return S_OK;
    }
    m_parse.Reset();
    m_engine.Reset();
    m_running = 0;
    return S_OK;
}

HRESULT CZoScriptMng::get_ScripterName(BSTR* name)
{
    if (!name)
        return E_POINTER;
    *name = Copy(m_scripterName);
    return S_OK;
}

HRESULT CZoScriptMng::put_ScripterName(BSTR name)
{
    m_scripterName = std::u16string(tvsk::com::BstrView(name));
    return S_OK;
}

HRESULT CZoScriptMng::get_Scripter(IDispatch** scripter)
{
    if (!scripter)
        return E_POINTER;
    *scripter = m_scripter.Get();
    if (*scripter)
        (*scripter)->AddRef();
    return S_OK;
}

HRESULT CZoScriptMng::put_Scripter(IDispatch* scripter)
{
    m_scripter = ComPtr<IDispatch>(scripter);
    return S_OK;
}

HRESULT CZoScriptMng::get_Running(LONG* running)
{
    if (!running)
        return E_POINTER;
    *running = m_running;
    return S_OK;
}

HRESULT CZoScriptMng::AddGlobalItem(BSTR itemName, IDispatch* itemDisp)
{
    try
    {
        m_items.push_back({std::u16string(tvsk::com::BstrView(itemName)), ComPtr<IDispatch>(itemDisp)});
    }
    catch (const std::bad_alloc&)
    {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CZoScriptMng::RunEditor()
{
    return S_OK;
}

HRESULT CZoScriptMng::get_ScriptCode(BSTR* code)
{
    if (!code)
        return E_POINTER;
    *code = Copy(m_scriptCode);
    return S_OK;
}

HRESULT CZoScriptMng::put_ScriptCode(BSTR code)
{
    m_scriptCode = std::u16string(tvsk::com::BstrView(code));
    return S_OK;
}

HRESULT CZoScriptMng::get_CodeModified(LONG* modified)
{
    if (!modified)
        return E_POINTER;
    *modified = m_codeModified;
    return S_OK;
}

HRESULT CZoScriptMng::put_CodeModified(LONG modified)
{
    m_codeModified = modified;
    return S_OK;
}

HRESULT CZoScriptMng::GetLCID(LCID*)
{
    return S_OK;
}

IDispatch* CZoScriptMng::FindItem(std::u16string_view name, bool& found)
{
    found = true;
    if (SameNoCase(name, m_scripterName))
        return m_scripter.Get();
    for (const NamedItem& item : m_items)
        if (SameNoCase(name, item.name))
            return item.object.Get();
    found = false;
    return nullptr;
}

HRESULT CZoScriptMng::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** typeInfo)
{
    if (mask & SCRIPTINFO_ITYPEINFO)
    {
        if (!typeInfo)
            return E_INVALIDARG;
        *typeInfo = nullptr;
    }
    if (mask & SCRIPTINFO_IUNKNOWN)
    {
        if (!item)
            return E_INVALIDARG;
        *item = nullptr;
    }
    bool found = false;
    IDispatch* object = FindItem(name ? std::u16string_view(name) : std::u16string_view(), found);
    if (!found)
        return E_INVALIDARG;
    if (!object)
        return E_FAIL;
    if (mask & SCRIPTINFO_ITYPEINFO)
    {
        ComPtr<IProvideClassInfo> provider;
        object->QueryInterface(IProvideClassInfo::Iid, reinterpret_cast<void**>(provider.Receive()));
        const HRESULT hr = provider ? provider->GetClassInfo(typeInfo) : object->GetTypeInfo(0, 0, typeInfo);
        if (FAILED(hr) || !*typeInfo)
            return E_FAIL;
    }
    // Both asked: both answered (the object as well as its type information).
    if (mask & SCRIPTINFO_IUNKNOWN)
    {
        *item = object;
        object->AddRef();
    }
    return S_OK;
}

HRESULT CZoScriptMng::GetDocVersionString(BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CZoScriptMng::OnScriptTerminate(const VARIANT*, const EXCEPINFO*)
{
    return S_OK;
}
HRESULT CZoScriptMng::OnStateChange(SCRIPTSTATE)
{
    return S_OK;
}
HRESULT CZoScriptMng::OnEnterScript()
{
    if (m_entries++ == 0)
        m_busySince = std::chrono::steady_clock::now();
    return S_OK;
}
HRESULT CZoScriptMng::OnLeaveScript()
{
    if (m_entries > 0)
        --m_entries;
    return S_OK;
}

HRESULT CZoScriptMng::QueryContinue()
{
    if (std::chrono::steady_clock::now() - m_busySince < m_busyLimit)
        return S_OK;
    const int answer = AfxShowMessageBox(nullptr, "A script keeps the program busy. Stop the script?",
                                         ErrorTitle, MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES)
        return S_FALSE;
    m_busySince = std::chrono::steady_clock::now();
    return S_OK;
}

HRESULT CZoScriptMng::OnScriptError(IActiveScriptError* error)
{
    if (!error)
        return E_POINTER;
    EXCEPINFO info{};
    error->GetExceptionInfo(&info);
    DWORD context = 0;
    ULONG line = 0;
    LONG character = 0;
    error->GetSourcePosition(&context, &line, &character);
    BSTR text = nullptr;
    error->GetSourceLineText(&text);
    VARIANT args[6];
    for (VARIANT& a : args)
        VariantInit(&a);
    args[0].vt = VT_BSTR;
    args[0].bstrVal = info.bstrSource;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = info.bstrDescription;
    args[2].vt = VT_BSTR;
    args[2].bstrVal = text;
    args[3] = tvsk::com::MakeVariantI4(static_cast<LONG>(line));
    args[4] = tvsk::com::MakeVariantI4(character);
    args[5].vt = VT_INT;
    args[5].intVal = info.scode;
    const ComPtr<IZoScriptMng> self(this);
    m_events.Fire(DISPID_ZoScriptMng_Error, args);
    for (VARIANT& a : args)
        VariantClear(&a);
    SysFreeString(info.bstrHelpFile);
    return S_OK;
}

HRESULT CZoScriptMng::GetWindow(HWND__**)
{
    return S_OK;
}
HRESULT CZoScriptMng::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT CZoScriptMng::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT CZoScriptMng::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    return tvsk::com::FindConnectionPointIn({&m_events}, iid, point);
}

HRESULT CZoScriptMng::MessageBox(BSTR prompt, LONG buttons, BSTR title, LONG* pressed)
{
    const int answer = AfxShowMessageBox(nullptr, tvsk::com::Utf8FromBstr(prompt).c_str(),
                                         tvsk::com::Utf8FromBstr(title).c_str(), static_cast<UINT>(buttons));
    m_busySince = std::chrono::steady_clock::now();
    if (pressed)
        *pressed = answer;
    return S_OK;
}

HRESULT CZoScriptMng::InputBox(BSTR prompt, BSTR title, BSTR defaultText, BSTR* answer)
{
    if (!answer)
        return E_POINTER;
    CString text = tvsk::com::Utf8FromBstr(defaultText).c_str();
    const bool entered = AfxInputBox(nullptr, tvsk::com::Utf8FromBstr(prompt).c_str(),
                                     tvsk::com::Utf8FromBstr(title).c_str(), text);
    m_busySince = std::chrono::steady_clock::now();
    if (!entered)
    {
        *answer = nullptr;
        return S_FALSE;
    }
    *answer = BstrFromUtf8(text.GetString());
    return S_OK;
}
