// The script engine interfaces between a host (the site) and an engine, with the published ids.
#pragma once

#include <com/Dispatch.h>
#include <com/TypeInfo.h>

struct HWND__;

enum SCRIPTSTATE : LONG
{
    SCRIPTSTATE_UNINITIALIZED = 0,
    SCRIPTSTATE_STARTED = 1,
    SCRIPTSTATE_CONNECTED = 2,
    SCRIPTSTATE_DISCONNECTED = 3,
    SCRIPTSTATE_CLOSED = 4,
    SCRIPTSTATE_INITIALIZED = 5,
};

constexpr DWORD SCRIPTITEM_ISVISIBLE = 0x2;
constexpr DWORD SCRIPTITEM_ISSOURCE = 0x4;
constexpr DWORD SCRIPTITEM_GLOBALMEMBERS = 0x8;
constexpr DWORD SCRIPTITEM_ISPERSISTENT = 0x40;

constexpr DWORD SCRIPTINFO_IUNKNOWN = 0x1;
constexpr DWORD SCRIPTINFO_ITYPEINFO = 0x2;

constexpr DWORD SCRIPTTEXT_ISVISIBLE = 0x2;
constexpr DWORD SCRIPTTEXT_ISEXPRESSION = 0x20;

// The threads InterruptScriptThread names: the caller's, the engine's first, every one.
using SCRIPTTHREADID = DWORD;
constexpr SCRIPTTHREADID SCRIPTTHREADID_CURRENT = static_cast<SCRIPTTHREADID>(-1);
constexpr SCRIPTTHREADID SCRIPTTHREADID_BASE = static_cast<SCRIPTTHREADID>(-2);
constexpr SCRIPTTHREADID SCRIPTTHREADID_ALL = static_cast<SCRIPTTHREADID>(-3);

constexpr HRESULT OLESCRIPT_E_SYNTAX = MakeHResult(0x80020101u);

// The engine's class id.
constexpr CLSID CLSID_VBScript = MakeGuid("B54F3741-5B07-11CF-A4B0-00AA004A55E8");

// An error the engine reports to its site: what, where, and the text of that line.
struct IActiveScriptError : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("EAE1BA61-A4ED-11CF-8F20-00805F2CD064");
    virtual HRESULT GetExceptionInfo(EXCEPINFO* info) = 0;
    // Line from the starting line given to ParseScriptText, character from 0.
    virtual HRESULT GetSourcePosition(DWORD* context, ULONG* line, LONG* character) = 0;
    virtual HRESULT GetSourceLineText(BSTR* line) = 0;

protected:
    ~IActiveScriptError() = default;
};

struct IActiveScriptSite : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("DB01A1E3-A42B-11CF-8F20-00805F2CD064");
    virtual HRESULT GetLCID(LCID* lcid) = 0;
    // mask: SCRIPTINFO_IUNKNOWN and/or SCRIPTINFO_ITYPEINFO.
    virtual HRESULT GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetDocVersionString(BSTR* version) = 0;
    virtual HRESULT OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) = 0;
    virtual HRESULT OnStateChange(SCRIPTSTATE state) = 0;
    virtual HRESULT OnScriptError(IActiveScriptError* error) = 0;
    virtual HRESULT OnEnterScript() = 0;
    virtual HRESULT OnLeaveScript() = 0;

protected:
    ~IActiveScriptSite() = default;
};

struct IActiveScriptSiteWindow : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("D10F6761-83E9-11CF-8F20-00805F2CD064");
    virtual HRESULT GetWindow(HWND__** window) = 0;
    virtual HRESULT EnableModeless(BOOL enable) = 0;

protected:
    ~IActiveScriptSiteWindow() = default;
};

struct IActiveScript : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("BB1A2AE1-A4F9-11CF-8F20-00805F2CD064");
    virtual HRESULT SetScriptSite(IActiveScriptSite* site) = 0;
    virtual HRESULT GetScriptSite(REFIID iid, void** site) = 0;
    virtual HRESULT SetScriptState(SCRIPTSTATE state) = 0;
    virtual HRESULT GetScriptState(SCRIPTSTATE* state) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT AddNamedItem(LPCOLESTR name, DWORD flags) = 0;
    virtual HRESULT AddTypeLib(REFGUID libid, DWORD major, DWORD minor, DWORD flags) = 0;
    // The script's global procedures and variables by name (item name null).
    virtual HRESULT GetScriptDispatch(LPCOLESTR itemName, IDispatch** dispatch) = 0;
    // From any thread: the running script stops at its next statement with the error given (its
    // scode, description and source) or "Operation aborted"; no On Error Resume Next catches it.
    virtual HRESULT InterruptScriptThread(SCRIPTTHREADID thread, const EXCEPINFO* exception, DWORD flags) = 0;

protected:
    ~IActiveScript() = default;
};

// Offered by a site that watches a running script: asked on the script's thread about every 50 ms.
struct IActiveScriptSiteInterruptPoll : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("539698A0-CDCA-11CF-A5EB-00AA0047A063");
    // S_OK lets the script go on; S_FALSE stops it as InterruptScriptThread does.
    virtual HRESULT QueryContinue() = 0;

protected:
    ~IActiveScriptSiteInterruptPoll() = default;
};

struct IActiveScriptParse : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("BB1A2AE2-A4F9-11CF-8F20-00805F2CD064");
    virtual HRESULT InitNew() = 0;
    virtual HRESULT AddScriptlet(LPCOLESTR defaultName, LPCOLESTR code, LPCOLESTR itemName,
                                 LPCOLESTR subItemName, LPCOLESTR eventName, LPCOLESTR delimiter,
                                 DWORD sourceContext, ULONG startingLine, DWORD flags, BSTR* name,
                                 EXCEPINFO* exception) = 0;
    virtual HRESULT ParseScriptText(LPCOLESTR code, LPCOLESTR itemName, IUnknown* context,
                                    LPCOLESTR delimiter, DWORD sourceContext, ULONG startingLine, DWORD flags,
                                    VARIANT* result, EXCEPINFO* exception) = 0;

protected:
    ~IActiveScriptParse() = default;
};

// Offered by a site that shows the script's message and input boxes (MsgBox, InputBox).
struct IScriptDialogs : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("4B2E8D17-6A0C-4F3E-9C55-1D7E2A9B6F40");
    // pressed: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
    virtual HRESULT MessageBox(BSTR prompt, LONG buttons, BSTR title, LONG* pressed) = 0;
    // S_FALSE and a null answer when cancelled.
    virtual HRESULT InputBox(BSTR prompt, BSTR title, BSTR defaultText, BSTR* answer) = 0;

protected:
    ~IScriptDialogs() = default;
};
