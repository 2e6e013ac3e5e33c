// The engine component.
#include "ScriptEngine.h"

#include "EventSink.h"
#include "GlobalDispatch.h"
#include "SiteError.h"

#include <new>

namespace tvsk::script
{

namespace
{

// MsgBox and InputBox through the site's IScriptDialogs.
class SiteDialogs final : public ScriptUi
{
public:
    explicit SiteDialogs(ComPtr<IScriptDialogs> dialogs) : m_dialogs(std::move(dialogs)) {}

    int MessageBox(const std::u16string& prompt, int buttons, const std::u16string& title) override
    {
        BSTR p = SysAllocStringLen(prompt.data(), static_cast<UINT>(prompt.size()));
        BSTR t = SysAllocStringLen(title.data(), static_cast<UINT>(title.size()));
        LONG pressed = 1;
        m_dialogs->MessageBox(p, buttons, t, &pressed);
        SysFreeString(p);
        SysFreeString(t);
        return pressed;
    }

    std::optional<std::u16string> InputBox(const std::u16string& prompt, const std::u16string& title,
                                           const std::u16string& defaultText) override
    {
        BSTR p = SysAllocStringLen(prompt.data(), static_cast<UINT>(prompt.size()));
        BSTR t = SysAllocStringLen(title.data(), static_cast<UINT>(title.size()));
        BSTR d = SysAllocStringLen(defaultText.data(), static_cast<UINT>(defaultText.size()));
        BSTR answer = nullptr;
        const HRESULT hr = m_dialogs->InputBox(p, t, d, &answer);
        SysFreeString(p);
        SysFreeString(t);
        SysFreeString(d);
        std::optional<std::u16string> result;
        if (hr == S_OK)
            result = std::u16string(com::BstrView(answer));
        SysFreeString(answer);
        return result;
    }

private:
    ComPtr<IScriptDialogs> m_dialogs;
};

std::u16string Text(LPCOLESTR text)
{
    return text ? std::u16string(text) : std::u16string();
}

} // namespace

ScriptEngine::ScriptEngine() : m_interp(Interpreter::Create()) {}

ScriptEngine::~ScriptEngine()
{
    if (m_state != SCRIPTSTATE_CLOSED)
        Shutdown();
}

HRESULT ScriptEngine::SetScriptSite(IActiveScriptSite* site)
{
    if (!site)
        return E_POINTER;
    if (m_site || m_state == SCRIPTSTATE_CLOSED)
        return E_UNEXPECTED;
    m_site = ComPtr<IActiveScriptSite>(site);
    ComPtr<IScriptDialogs> dialogs = m_site.As<IScriptDialogs>();
    if (dialogs)
    {
        m_ui = std::make_unique<SiteDialogs>(dialogs);
        m_interp->SetUi(m_ui.get());
    }
    m_interp->SetItemResolver([this](const std::u16string& name) { return ItemObject(name); });
    m_poll = m_site.As<IActiveScriptSiteInterruptPoll>();
    if (m_poll)
        m_interp->SetPoll([this] { return !m_poll || m_poll->QueryContinue() != S_FALSE; });
    return S_OK;
}

HRESULT ScriptEngine::GetScriptSite(REFIID iid, void** site)
{
    if (!site)
        return E_POINTER;
    *site = nullptr;
    if (!m_site)
        return S_FALSE;
    return m_site->QueryInterface(iid, site);
}

ComPtr<IDispatch> ScriptEngine::ItemObject(const std::u16string& name)
{
    if (!m_site)
        return {};
    IUnknown* unknown = nullptr;
    if (FAILED(m_site->GetItemInfo(name.c_str(), SCRIPTINFO_IUNKNOWN, &unknown, nullptr)) || !unknown)
        return {};
    ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(unknown);
    return held.As<IDispatch>();
}

void ScriptEngine::ChangeState(SCRIPTSTATE state)
{
    m_state = state;
    if (m_site)
        m_site->OnStateChange(state);
}

HRESULT ScriptEngine::InitNew()
{
    if (m_state != SCRIPTSTATE_UNINITIALIZED)
        return E_UNEXPECTED;
    ChangeState(SCRIPTSTATE_INITIALIZED);
    return S_OK;
}

HRESULT ScriptEngine::AddNamedItem(LPCOLESTR name, DWORD flags)
{
    if (!name)
        return E_INVALIDARG;
    if (m_state == SCRIPTSTATE_CLOSED)
        return E_UNEXPECTED;
    m_items.push_back({Text(name), flags});
    m_interp->AddNamedItem(Text(name), (flags & SCRIPTITEM_GLOBALMEMBERS) != 0);
    return S_OK;
}

HRESULT ScriptEngine::AddTypeLib(REFGUID, DWORD, DWORD, DWORD)
{
    return E_NOTIMPL;
}

HRESULT ScriptEngine::InterruptScriptThread(SCRIPTTHREADID thread, const EXCEPINFO* exception, DWORD)
{
    // Scripts run on their callers' threads; every name reaches the one that runs.
    if (thread != SCRIPTTHREADID_CURRENT && thread != SCRIPTTHREADID_BASE && thread != SCRIPTTHREADID_ALL)
        return E_INVALIDARG;
    const std::int32_t code = exception && FAILED(exception->scode) ? exception->scode : E_ABORT;
    ScriptError error{ErrorNumberOf(code), "", RuntimeErrorSource};
    if (exception && exception->bstrDescription)
        error.description = com::Utf8FromBstr(exception->bstrDescription);
    else
        error.description = *ErrorText(error.number) ? ErrorText(error.number) : HResultText(code);
    if (exception && exception->bstrSource)
        error.source = com::Utf8FromBstr(exception->bstrSource);
    m_interp->Interrupt(std::move(error));
    return S_OK;
}

HRESULT ScriptEngine::GetScriptDispatch(LPCOLESTR, IDispatch** dispatch)
{
    if (!dispatch)
        return E_POINTER;
    *dispatch = nullptr;
    if (m_state == SCRIPTSTATE_CLOSED)
        return E_UNEXPECTED;
    auto* global = new (std::nothrow) GlobalDispatch(*this);
    if (!global)
        return E_OUTOFMEMORY;
    global->AddRef();
    *dispatch = global;
    return S_OK;
}

std::u16string ScriptEngine::LineText(int line) const
{
    for (const Source& s : m_sources)
    {
        if (line < static_cast<int>(s.firstLine))
            continue;
        int at = static_cast<int>(s.firstLine);
        size_t start = 0;
        while (at < line)
        {
            const size_t end = s.text.find_first_of(u"\r\n", start);
            if (end == std::u16string::npos)
            {
                start = std::u16string::npos;
                break;
            }
            start =
                end + ((s.text[end] == u'\r' && end + 1 < s.text.size() && s.text[end + 1] == u'\n') ? 2 : 1);
            ++at;
        }
        if (start == std::u16string::npos)
            continue;
        const size_t end = s.text.find_first_of(u"\r\n", start);
        return s.text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
    }
    return {};
}

DWORD ScriptEngine::ContextOf(int line) const
{
    DWORD context = 0;
    for (const Source& s : m_sources)
        if (line >= static_cast<int>(s.firstLine))
            context = s.context;
    return context;
}

void ScriptEngine::ReportError(const ScriptError& error, DWORD context)
{
    if (!m_site)
        return;
    auto* report = new (std::nothrow) SiteError(error, LineText(error.line), context);
    if (!report)
        return;
    report->AddRef();
    m_site->OnScriptError(report);
    report->Release();
}

bool ScriptEngine::Enter(const std::function<void()>& body, EXCEPINFO* exception)
{
    const ComPtr<IActiveScript> self(this);
    const ComPtr<IActiveScriptSite> site = m_site;
    if (site)
        site->OnEnterScript();
    bool ok = true;
    ScriptError error;
    try
    {
        body();
    }
    catch (const ScriptException& e)
    {
        ok = false;
        error = e.error;
    }
    catch (const std::bad_alloc&)
    {
        ok = false;
        error = {err::OutOfMemory, ErrorText(err::OutOfMemory), RuntimeErrorSource};
    }
    if (!ok)
    {
        m_interp->SetError(error);
        ReportError(error, ContextOf(error.line));
        if (exception)
        {
            *exception = EXCEPINFO{};
            exception->scode = HResultOf(error.number);
            exception->bstrDescription = com::BstrFromUtf8(error.description);
            exception->bstrSource = com::BstrFromUtf8(error.source);
        }
    }
    if (site)
        site->OnLeaveScript();
    return ok;
}

HRESULT ScriptEngine::AddScriptlet(LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, LPCOLESTR, DWORD,
                                   ULONG, DWORD, BSTR*, EXCEPINFO*)
{
    return E_NOTIMPL;
}

HRESULT ScriptEngine::ParseScriptText(LPCOLESTR code, LPCOLESTR, IUnknown*, LPCOLESTR, DWORD sourceContext,
                                      ULONG startingLine, DWORD flags, VARIANT* result, EXCEPINFO* exception)
{
    if (m_state == SCRIPTSTATE_CLOSED || m_state == SCRIPTSTATE_UNINITIALIZED)
        return E_UNEXPECTED;
    if (result)
        VariantInit(result);
    m_sources.push_back({Text(code), startingLine, sourceContext});
    if (flags & SCRIPTTEXT_ISEXPRESSION)
    {
        // An expression is evaluated at once, in the global scope, and answered in result.
        const std::u16string& text = m_sources.back().text;
        return Enter(
                   [&]
                   {
                       Frame f{*m_interp};
                       Value v = m_interp->Evaluate(text, f);
                       if (result)
                           *result = v.Detach();
                   },
                   exception)
                   ? S_OK
                   : DISP_E_EXCEPTION;
    }
    const Unit* unit = nullptr;
    try
    {
        unit = &m_interp->Compile(m_sources.back().text, static_cast<int>(startingLine));
    }
    catch (const ScriptException& e)
    {
        ReportError(e.error, sourceContext);
        if (exception)
        {
            *exception = EXCEPINFO{};
            exception->scode = HResultOf(e.error.number);
            exception->bstrDescription = com::BstrFromUtf8(e.error.description);
            exception->bstrSource = com::BstrFromUtf8(e.error.source);
        }
        return OLESCRIPT_E_SYNTAX;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    if (m_state == SCRIPTSTATE_STARTED || m_state == SCRIPTSTATE_CONNECTED)
        return Enter([&] { m_interp->Run(*unit); }, exception) ? S_OK : DISP_E_EXCEPTION;
    m_pending.push_back(unit);
    return S_OK;
}

void ScriptEngine::RunPending()
{
    std::vector<const Unit*> pending;
    pending.swap(m_pending);
    for (const Unit* unit : pending)
        Enter([&] { m_interp->Run(*unit); });
}

void ScriptEngine::ConnectEvents()
{
    for (const Item& item : m_items)
    {
        if (!(item.flags & SCRIPTITEM_ISSOURCE) || !m_site)
            continue;
        ITypeInfo* info = nullptr;
        if (FAILED(m_site->GetItemInfo(item.name.c_str(), SCRIPTINFO_ITYPEINFO, nullptr, &info)) || !info)
            continue;
        ComPtr<ITypeInfo> typeInfo = ComPtr<ITypeInfo>::Adopt(info);
        const com::ClassDescription* cls = typeInfo->GetClassDescription();
        ComPtr<IDispatch> object = ItemObject(item.name);
        if (!object)
            continue;
        ComPtr<ITypeInfo> classInfo;
        if ((!cls || !cls->defaultSource))
        {
            // Interface information names no events: ask the object for its class.
            ComPtr<IProvideClassInfo> provider = object.As<IProvideClassInfo>();
            if (provider && SUCCEEDED(provider->GetClassInfo(classInfo.Receive())) && classInfo)
                cls = classInfo->GetClassDescription();
        }
        if (!cls || !cls->defaultSource)
            continue;
        ComPtr<IConnectionPointContainer> container = object.As<IConnectionPointContainer>();
        if (!container)
            continue;
        ComPtr<IConnectionPoint> point;
        if (FAILED(container->FindConnectionPoint(cls->defaultSource->Iid(), point.Receive())) || !point)
            continue;
        auto* sink = new EventSink(*this, item.name, *cls->defaultSource);
        sink->AddRef();
        DWORD cookie = 0;
        if (SUCCEEDED(point->Advise(static_cast<IDispatch*>(sink), &cookie)))
            m_connections.push_back({point, cookie});
        sink->Release();
    }
}

void ScriptEngine::DisconnectEvents()
{
    std::vector<Connection> connections;
    connections.swap(m_connections);
    for (Connection& c : connections)
        c.point->Unadvise(c.cookie);
}

HRESULT ScriptEngine::SetScriptState(SCRIPTSTATE state)
{
    switch (state)
    {
    case SCRIPTSTATE_STARTED:
    case SCRIPTSTATE_CONNECTED:
    {
        if (!m_site || m_state == SCRIPTSTATE_CLOSED || m_state == SCRIPTSTATE_UNINITIALIZED)
            return E_UNEXPECTED;
        const ComPtr<IActiveScript> self(this);
        RunPending();
        if (m_state == SCRIPTSTATE_CLOSED)
            return S_OK;
        if (state == SCRIPTSTATE_CONNECTED && m_connections.empty())
            ConnectEvents();
        ChangeState(state);
        return S_OK;
    }
    case SCRIPTSTATE_DISCONNECTED:
        if (m_state == SCRIPTSTATE_CLOSED)
            return E_UNEXPECTED;
        DisconnectEvents();
        ChangeState(state);
        return S_OK;
    case SCRIPTSTATE_CLOSED:
        return Close();
    default:
        return E_NOTIMPL;
    }
}

HRESULT ScriptEngine::GetScriptState(SCRIPTSTATE* state)
{
    if (!state)
        return E_POINTER;
    *state = m_state;
    return S_OK;
}

HRESULT ScriptEngine::Close()
{
    if (m_state == SCRIPTSTATE_CLOSED)
        return S_OK;
    const ComPtr<IActiveScript> self(this);
    Shutdown();
    return S_OK;
}

void ScriptEngine::Shutdown()
{
    DisconnectEvents();
    m_pending.clear();
    m_interp->Close();
    ChangeState(SCRIPTSTATE_CLOSED);
    m_interp->SetUi(nullptr);
    m_interp->SetPoll(nullptr);
    m_ui.reset();
    m_poll.Reset();
    m_site.Reset();
    m_items.clear();
}

} // namespace tvsk::script
