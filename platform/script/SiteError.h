// A script error as the site receives it: IActiveScriptError over a ScriptError and its line's text.
#pragma once

#include "ActiveScript.h"
#include "ScriptError.h"

#include <com/ComObject.h>

namespace tvsk::script
{

class SiteError final : public com::ComObject<IActiveScriptError>
{
public:
    SiteError(ScriptError error, std::u16string lineText, DWORD context);
    HRESULT GetExceptionInfo(EXCEPINFO* info) override;
    HRESULT GetSourcePosition(DWORD* context, ULONG* line, LONG* character) override;
    HRESULT GetSourceLineText(BSTR* line) override;

private:
    ScriptError m_error;
    std::u16string m_lineText;
    DWORD m_context;
};

} // namespace tvsk::script
