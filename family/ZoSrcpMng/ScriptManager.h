// The client of the outside script manager "ZoScripter.ZoScriptMng.1": one script, one scripter
// object whose events the script handles, and its errors handed on as one text.
#pragma once

#include <com/Com.h>
#include <framework/CString.h>

struct IZoScriptMng;

// Receives the script's compilation and run-time errors.
class CScriptManagerEvIntf
{
public:
    virtual ~CScriptManagerEvIntf() = default;
    virtual void OnScriptError(CString text) = 0;
};

class CScriptManager
{
public:
    CScriptManager();
    ~CScriptManager();
    CScriptManager(const CScriptManager&) = delete;
    CScriptManager& operator=(const CScriptManager&) = delete;

    // 0 when the script manager was created and its errors reach events, else the failure's HRESULT.
    HRESULT Init(CScriptManagerEvIntf* events);
    // The object the script reaches under name and whose events it handles.
    HRESULT AddScripter(const char* name, IDispatch* scripter);
    // TRUE when the code parsed and its top level ran.
    BOOL Run(const char* code);
    BOOL IsRunning();
    void Stop();

private:
    class CErrorSink;

    ComPtr<IZoScriptMng> m_mng;
    ComPtr<IConnectionPoint> m_point;
    CErrorSink* m_sink = nullptr;
    DWORD m_cookie = 0;
};
