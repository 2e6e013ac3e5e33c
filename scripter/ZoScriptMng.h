// ZoScriptMng: runs a script in the script engine with the client's objects, and reports its errors
// as the Error event.
#pragma once

#include "ZoScripter.h"

#include <com/Com.h>
#include <script/ActiveScript.h>

#include <chrono>
#include <string>
#include <vector>

class CZoScriptMng
    : public tvsk::com::DispatchObject<CZoScriptMng, ISupportErrorInfo, IProvideClassInfo2, IZoScriptMng,
                                       IActiveScriptSite, IActiveScriptSiteWindow, IConnectionPointContainer,
                                       IScriptDialogs, IActiveScriptSiteInterruptPoll>
{
public:
    static const tvsk::com::DispatchTable<CZoScriptMng>& Dispatch();
    static const tvsk::com::ClassDescription& Class();

    // ISupportErrorInfo, IProvideClassInfo2
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;
    HRESULT GetClassInfo(ITypeInfo** info) override;
    HRESULT GetGUID(DWORD kind, GUID* guid) override;

    // IZoScriptMng
    HRESULT Run() override;
    HRESULT Stop() override;
    HRESULT get_ScripterName(BSTR* name) override;
    HRESULT put_ScripterName(BSTR name) override;
    HRESULT get_Scripter(IDispatch** scripter) override;
    HRESULT put_Scripter(IDispatch* scripter) override;
    HRESULT get_Running(LONG* running) override;
    HRESULT AddGlobalItem(BSTR itemName, IDispatch* itemDisp) override;
    HRESULT RunEditor() override;
    HRESULT get_ScriptCode(BSTR* code) override;
    HRESULT put_ScriptCode(BSTR code) override;
    HRESULT get_CodeModified(LONG* modified) override;
    HRESULT put_CodeModified(LONG modified) override;

    // IActiveScriptSite
    HRESULT GetLCID(LCID* lcid) override;
    HRESULT GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** typeInfo) override;
    HRESULT GetDocVersionString(BSTR* version) override;
    HRESULT OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) override;
    HRESULT OnStateChange(SCRIPTSTATE state) override;
    HRESULT OnScriptError(IActiveScriptError* error) override;
    HRESULT OnEnterScript() override;
    HRESULT OnLeaveScript() override;

    // IActiveScriptSiteWindow
    HRESULT GetWindow(HWND__** window) override;
    HRESULT EnableModeless(BOOL enable) override;

    // IConnectionPointContainer
    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IScriptDialogs: the script's MsgBox and InputBox through the program's boxes.
    HRESULT MessageBox(BSTR prompt, LONG buttons, BSTR title, LONG* pressed) override;
    HRESULT InputBox(BSTR prompt, BSTR title, BSTR defaultText, BSTR* answer) override;

    // IActiveScriptSiteInterruptPoll: a script that keeps the program busy past the profile's limit
    // is stopped when the user says so.
    HRESULT QueryContinue() override;

    // The profile's limit of a busy script: section, entry, default (milliseconds).
    static constexpr const char* BusyLimitSection = "Settings";
    static constexpr const char* BusyLimitEntry = "ScriptBusyLimit";
    static constexpr int DefaultBusyLimitMs = 10000;

private:
    ~CZoScriptMng() override;

    struct NamedItem
    {
        std::u16string name;
        ComPtr<IDispatch> object;
    };

    bool CreateEngine();
    void CloseEngine();
    IDispatch* FindItem(std::u16string_view name, bool& found);

    ComPtr<IActiveScript> m_engine;
    ComPtr<IActiveScriptParse> m_parse;
    std::u16string m_scripterName;
    ComPtr<IDispatch> m_scripter;
    std::u16string m_scriptCode;
    LONG m_codeModified = 0;
    LONG m_running = 0;
    std::vector<NamedItem> m_items;
    // How long the script has kept the program busy, not counting the boxes it shows.
    int m_entries = 0;
    std::chrono::steady_clock::time_point m_busySince;
    std::chrono::milliseconds m_busyLimit{DefaultBusyLimitMs};
    tvsk::com::ConnectionPoint m_events{*this, DIID__IZoScriptMngEvents};
};
