// The main program's private window messages, sent by the page sinks and host commands.
#pragma once

#include <ui/UiDefs.h>

constexpr UINT WM_HTML_PAGE = WM_USER + 2;
constexpr UINT WM_HTML_COMMAND = WM_USER + 3;
constexpr UINT WM_HTML_TAGCOMMAND = WM_USER + 4;
constexpr UINT WM_HTML_PLUGIN = WM_USER + 5;
constexpr UINT WM_SELECT_LANGUAGE = WM_USER + 6;
constexpr UINT WM_ELEMENT_OVER = WM_USER + 7;
constexpr UINT WM_ELEMENT_OUT = WM_USER + 8;
constexpr UINT WM_HTML_SELCHANGE = WM_USER + 9;
constexpr UINT WM_HTML_RADIOCHANGE = WM_USER + 11;
constexpr UINT WM_HTML_HELP = WM_USER + 12;
constexpr UINT WM_HTML_EXE = WM_USER + 16;
constexpr UINT WM_REFRESH_PAGE = WM_USER + 17;
constexpr UINT WM_UPDATE_VALUES = WM_USER + 18;
// wParam: the IntfWindowCall the automation object posted.
constexpr UINT WM_INTF_WINDOW = WM_USER + 19;

// The command that starts the wizard (the page's "btnStartWiz").
constexpr UINT ID_START_WIZARD = 6000;

// lParam of WM_HTML_SELCHANGE and WM_HTML_RADIOCHANGE; lives only for the call.
struct HTML_SELCHANGE
{
    const char* pszName;
    const char* pszValue; // null when the event carried no value
};
