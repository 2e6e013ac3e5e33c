// GetScriptDispatch: the script's global procedures and variables, called and read by name.
#pragma once

#include "ScriptEngine.h"

namespace tvsk::script
{

class GlobalDispatch final : public com::ComObject<IDispatch>
{
public:
    explicit GlobalDispatch(ScriptEngine& engine);

    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

private:
    ComPtr<IActiveScript> m_keepEngine;
    ScriptEngine& m_engine;
    std::vector<std::u16string> m_names; // DISPID = index + 1
};

} // namespace tvsk::script
