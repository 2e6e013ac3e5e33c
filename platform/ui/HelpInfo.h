// Help requests: F1 sends WM_HELP to the focused window; unanswered, it climbs to the parent.
#pragma once

#include "UiDefs.h"

constexpr UINT WM_HELP = 0x0053;
constexpr int HELPINFO_WINDOW = 1;

// lParam of WM_HELP
struct HELPINFO
{
    UINT cbSize = sizeof(HELPINFO);
    int iContextType = HELPINFO_WINDOW;
    int iCtrlId = 0;
    HWND hItemHandle = nullptr; // the window the request started at
    DWORD_PTR dwContextId = 0;
    POINT MousePos{};
};

namespace tvsk::ui
{
// Sends WM_HELP for a help key pressed in wnd.
void SendHelpRequest(CWnd* wnd);
// The default handling of WM_HELP: a child window hands the request to its parent.
LRESULT DefaultHelp(CWnd* wnd, WPARAM wParam, LPARAM lParam);
} // namespace tvsk::ui
