// Errors handed to the site.
#include "SiteError.h"

namespace tvsk::script
{

SiteError::SiteError(ScriptError error, std::u16string lineText, DWORD context)
    : m_error(std::move(error)), m_lineText(std::move(lineText)), m_context(context)
{
}

HRESULT SiteError::GetExceptionInfo(EXCEPINFO* info)
{
    if (!info)
        return E_POINTER;
    *info = EXCEPINFO{};
    info->bstrSource = com::BstrFromUtf8(m_error.source);
    info->bstrDescription = com::BstrFromUtf8(m_error.description);
    info->scode = HResultOf(m_error.number);
    return S_OK;
}

HRESULT SiteError::GetSourcePosition(DWORD* context, ULONG* line, LONG* character)
{
    if (context)
        *context = m_context;
    if (line)
        *line = static_cast<ULONG>(m_error.line < 0 ? 0 : m_error.line);
    if (character)
        *character = m_error.column;
    return S_OK;
}

HRESULT SiteError::GetSourceLineText(BSTR* line)
{
    if (!line)
        return E_POINTER;
    *line = SysAllocStringLen(m_lineText.data(), static_cast<UINT>(m_lineText.size()));
    return S_OK;
}

} // namespace tvsk::script
