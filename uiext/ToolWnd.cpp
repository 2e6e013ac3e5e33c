// Tool window class registration, creation and its visible flag.
#include "ToolWnd.h"

#include <ui/Gdi.h>

namespace
{
constexpr const char* kToolWndClass = "ZoMfcExtToolWnd";
} // namespace

CToolWnd::CToolWnd()
{
    RegisterWindowClass();
}

BOOL CToolWnd::RegisterWindowClass()
{
    WNDCLASS existing;
    if (GetClassInfo(kToolWndClass, &existing))
        return TRUE;
    WNDCLASS wndClass;
    wndClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wndClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wndClass.background = GetSysColor(COLOR_BTNFACE);
    wndClass.lpszClassName = kToolWndClass;
    if (!AfxRegisterClass(&wndClass))
        AfxThrowResourceException();
    return TRUE;
}

BOOL CToolWnd::Create(const char* title, CRect rect, CWnd*, UINT id, int)
{
    return CreateEx(WS_EX_TOOLWINDOW, kToolWndClass, title,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, rect, nullptr, id);
}

int CToolWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    m_bVisible = 1;
    return 0;
}

void CToolWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CWnd::OnActivate(state, other, minimized);
    m_bVisible = 1;
    if (state == WA_ACTIVE)
        ShowWindow(SW_SHOW);
}

void CToolWnd::OnDestroy()
{
    CWnd::OnDestroy();
}
