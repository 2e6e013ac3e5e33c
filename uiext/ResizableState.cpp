// Window placement in the profile.
#include "ResizableState.h"

#include <ui/App.h>

#include <cstdio>

namespace
{
constexpr const char* kPlacementEntry = "WindowPlacement";
constexpr const char* kPlacementFormat = "%d,%d,%d,%d,%d,%d";
} // namespace

BOOL CResizableState::SaveWindowRect(const char* section, BOOL rectOnly)
{
    CWnd* wnd = GetResizableWnd();
    CWinApp* app = AfxGetApp();
    WINDOWPLACEMENT placement;
    if (!wnd || !app || !wnd->GetWindowPlacement(&placement))
        return FALSE;
    if (rectOnly)
    {
        CRect rect;
        wnd->GetWindowRect(&rect);
        placement.rcNormalPosition = rect;
        placement.showCmd = SW_SHOWNORMAL;
        placement.flags = 0;
    }
    const RECT& r = placement.rcNormalPosition;
    const CString value = FormatString(
        kPlacementFormat, static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
        static_cast<int>(r.bottom), static_cast<int>(placement.showCmd), static_cast<int>(placement.flags));
    return app->WriteProfileString(section, kPlacementEntry, value);
}

BOOL CResizableState::LoadWindowRect(const char* section, BOOL rectOnly)
{
    CWnd* wnd = GetResizableWnd();
    CWinApp* app = AfxGetApp();
    if (!wnd || !app)
        return FALSE;
    const CString value = app->GetProfileString(section, kPlacementEntry, "");
    if (value.IsEmpty())
        return FALSE;
    WINDOWPLACEMENT placement;
    if (!wnd->GetWindowPlacement(&placement))
        return FALSE;
    int left = 0, top = 0, right = 0, bottom = 0, show = 0, flags = 0;
    if (std::sscanf(value.GetString(), kPlacementFormat, &left, &top, &right, &bottom, &show, &flags) != 6)
        return FALSE;
    if (rectOnly)
        return wnd->SetWindowPos(nullptr, left, top, right - left, bottom - top,
                                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    placement.rcNormalPosition = CRect(left, top, right, bottom);
    placement.showCmd = static_cast<UINT>(show);
    placement.flags = static_cast<UINT>(flags);
    return wnd->SetWindowPlacement(&placement);
}
