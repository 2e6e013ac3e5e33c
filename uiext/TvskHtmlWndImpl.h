// The page window base of the main program: a browser host with its own context menu, message boxes
// and no scroll bars.
#pragma once

#include "HtmlWnd.h"

class CTvskHtmlWndImpl : public CHtmlWnd
{
public:
    // As CHtmlWnd::Create without a create context; then custom context menu on, advanced context
    // menu off, custom messages on and no scroll bars.
    BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
};
