// ZoScripter's interfaces and ids: the script manager object ZoScriptMng and its Error event.
#pragma once

#include <com/Dispatch.h>

constexpr CLSID CLSID_ZoScriptMng = MakeGuid("BB86D5E8-F900-457E-8695-35EC2B80047F");
constexpr GUID LIBID_ZOSCRIPTERLib = MakeGuid("A37DADF6-7E49-4134-8698-644353FF11CE");
constexpr IID DIID__IZoScriptMngEvents = MakeGuid("BA308518-DAE0-45CB-9B48-4FE17BE0571D");
constexpr DISPID DISPID_ZoScriptMng_Error = 1;

// Dual: each member is also reached by DISPID 1..9 through IDispatch.
struct IZoScriptMng : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("28CA5559-FADA-46B4-AF5A-172435939E36");
    virtual HRESULT Run() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT get_ScripterName(BSTR* name) = 0;
    virtual HRESULT put_ScripterName(BSTR name) = 0;
    virtual HRESULT get_Scripter(IDispatch** scripter) = 0;
    virtual HRESULT put_Scripter(IDispatch* scripter) = 0;
    virtual HRESULT get_Running(LONG* running) = 0;
    virtual HRESULT AddGlobalItem(BSTR itemName, IDispatch* itemDisp) = 0;
    virtual HRESULT RunEditor() = 0;
    virtual HRESULT get_ScriptCode(BSTR* code) = 0;
    virtual HRESULT put_ScriptCode(BSTR code) = 0;
    virtual HRESULT get_CodeModified(LONG* modified) = 0;
    virtual HRESULT put_CodeModified(LONG modified) = 0;

protected:
    ~IZoScriptMng() = default;
};
