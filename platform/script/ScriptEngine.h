// The engine component: IActiveScript and IActiveScriptParse over the interpreter, calling its site.
#pragma once

#include "ActiveScript.h"
#include "Interpreter.h"

#include <com/ComObject.h>
#include <com/ConnectionPoint.h>

#include <memory>
#include <string>
#include <vector>

namespace tvsk::script
{

class EventSink;

class ScriptEngine final : public com::ComObject<IActiveScript, IActiveScriptParse>
{
public:
    ScriptEngine();

    HRESULT SetScriptSite(IActiveScriptSite* site) override;
    HRESULT GetScriptSite(REFIID iid, void** site) override;
    HRESULT SetScriptState(SCRIPTSTATE state) override;
    HRESULT GetScriptState(SCRIPTSTATE* state) override;
    HRESULT Close() override;
    HRESULT AddNamedItem(LPCOLESTR name, DWORD flags) override;
    HRESULT AddTypeLib(REFGUID libid, DWORD major, DWORD minor, DWORD flags) override;
    HRESULT GetScriptDispatch(LPCOLESTR itemName, IDispatch** dispatch) override;
    HRESULT InterruptScriptThread(SCRIPTTHREADID thread, const EXCEPINFO* exception, DWORD flags) override;

    HRESULT InitNew() override;
    HRESULT AddScriptlet(LPCOLESTR defaultName, LPCOLESTR code, LPCOLESTR itemName, LPCOLESTR subItemName,
                         LPCOLESTR eventName, LPCOLESTR delimiter, DWORD sourceContext, ULONG startingLine,
                         DWORD flags, BSTR* name, EXCEPINFO* exception) override;
    HRESULT ParseScriptText(LPCOLESTR code, LPCOLESTR itemName, IUnknown* context, LPCOLESTR delimiter,
                            DWORD sourceContext, ULONG startingLine, DWORD flags, VARIANT* result,
                            EXCEPINFO* exception) override;

    // One entry into the script (global code, an event, a call from the host): the site hears of
    // it, and a run-time error ends only this entry and goes to the site. False on an error.
    bool Enter(const std::function<void()>& body, EXCEPINFO* exception = nullptr);
    Interpreter& Interp() { return *m_interp; }

private:
    ~ScriptEngine() override;

    struct Source
    {
        std::u16string text;
        ULONG firstLine;
        DWORD context;
    };
    struct Item
    {
        std::u16string name;
        DWORD flags;
    };
    struct Connection
    {
        ComPtr<IConnectionPoint> point;
        DWORD cookie;
    };

    void ReportError(const ScriptError& error, DWORD context);
    std::u16string LineText(int line) const;
    DWORD ContextOf(int line) const;
    void RunPending();
    void ConnectEvents();
    void DisconnectEvents();
    void ChangeState(SCRIPTSTATE state);
    // Close without holding a reference (the destructor's part of it).
    void Shutdown();
    ComPtr<IDispatch> ItemObject(const std::u16string& name);

    std::shared_ptr<Interpreter> m_interp;
    ComPtr<IActiveScriptSite> m_site;
    ComPtr<IActiveScriptSiteInterruptPoll> m_poll;
    std::unique_ptr<ScriptUi> m_ui;
    SCRIPTSTATE m_state = SCRIPTSTATE_UNINITIALIZED;
    std::vector<Source> m_sources;
    std::vector<Item> m_items;
    std::vector<const Unit*> m_pending;
    std::vector<Connection> m_connections;
};

} // namespace tvsk::script
