#include "TvskHtmlWndImpl.h"

BOOL CTvskHtmlWndImpl::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    const BOOL created = CHtmlWnd::Create(windowName, style, rect, parent, id, nullptr);
    if (created)
    {
        UseCustomContextMenu(TRUE);
        UseAdvancedContextMenu(FALSE);
        UseCustomMessage(TRUE);
        SetUIFlag_NoScrollbar(TRUE);
    }
    return created;
}
