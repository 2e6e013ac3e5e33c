// Resource ids and private messages of the page viewer.
#pragma once

#include <Tarveskon/TvskMessages.h>

constexpr UINT IDD_PAGER = 11000;
constexpr UINT IDC_PAGER_FRAME = 11001;
constexpr UINT IDC_PAGER_PAGE = 100;

// Clear of the program's shared page messages.
constexpr UINT WM_ELEMENT_FOCUS = WM_USER + 60;   // wParam 1 focus, 0 blur; lParam the name
constexpr UINT WM_HTML_IMAGECLICK = WM_USER + 61; // wParam the value; lParam the name
constexpr UINT WM_PAGER_SHOW = WM_USER + 62;      // the modal loop runs: show the dialog

// The module that owns the viewer's dialog template.
HINSTANCE PagerModule();
