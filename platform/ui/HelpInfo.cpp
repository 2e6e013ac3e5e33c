#include "HelpInfo.h"

#include "Wnd.h"

namespace tvsk::ui
{

void SendHelpRequest(CWnd* wnd)
{
    HELPINFO info;
    info.iCtrlId = wnd->GetDlgCtrlID();
    info.hItemHandle = wnd;
    GetCursorPos(&info.MousePos);
    wnd->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

// A child's unanswered request goes to its parent, a window's to its owner.
LRESULT DefaultHelp(CWnd* wnd, WPARAM wParam, LPARAM lParam)
{
    CWnd* parent = wnd->GetParent();
    return parent ? parent->SendMessage(WM_HELP, wParam, lParam) : FALSE;
}

} // namespace tvsk::ui

BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    return static_cast<BOOL>(Default());
}
