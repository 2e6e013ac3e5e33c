// The main and status page windows.
#include "TvskHtmlWnd.h"

#include <ZoSupport/ProgramError.h>

BOOL CTvskHtmlWnd::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_pManager)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    return CTvskHtmlWndImpl::Create(windowName, style, rect, parent, id);
}

BOOL CTvskHtmlStatus::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_pManager)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    return CHtmlWnd::Create(windowName, style, rect, parent, id);
}

BOOL CTvskHtmlStatus::PreCreateWindow(CREATESTRUCT& cs)
{
    const BOOL created = CHtmlWnd::PreCreateWindow(cs);
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return created;
}
