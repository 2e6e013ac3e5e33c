// Sending, posting and dispatching a window's messages, their default processing, and timers.
#include "WndInternal.h"

#include "Dc.h"
#include "HelpInfo.h"
#include "SystemMenu.h"

#include <QCoreApplication>
#include <QThread>

namespace tvsk::ui
{

int g_dispatchDepth = 0;

} // namespace tvsk::ui

using namespace tvsk::ui;

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_widget)
        return 0;
    if (QThread::currentThread() != m_widget->thread())
    {
        // From another thread the call waits until the window's thread has run it.
        LRESULT result = 0;
        QMetaObject::invokeMethod(
            m_bridge, [&]() { result = m_widget ? Dispatch(message, wParam, lParam, false) : 0; },
            Qt::BlockingQueuedConnection);
        return result;
    }
    return Dispatch(message, wParam, lParam, false);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard guard(m_postBox->lock);
    if (!m_postBox->target)
        return FALSE;
    QCoreApplication::postEvent(m_postBox->target, new WndMessageEvent(message, wParam, lParam));
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*)
{
    if (!m_bridge)
        return 0;
    if (const auto it = m_timers.find(id); it != m_timers.end())
        m_bridge->StopTimer(it->second);
    const int toolkitId = m_bridge->StartTimer(static_cast<int>(elapse));
    if (toolkitId == 0)
    {
        m_timers.erase(id);
        return 0;
    }
    m_timers[id] = toolkitId;
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end() || !m_bridge)
        return FALSE;
    m_bridge->StopTimer(it->second);
    m_timers.erase(it);
    return TRUE;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool fromToolkit)
{
    m_messages.push_back({message, wParam, lParam, fromToolkit, false});
    ++g_dispatchDepth;
    const LRESULT result = WindowProc(message, wParam, lParam);
    --g_dispatchDepth;
    m_messages.pop_back();
    return result;
}

bool CWnd::DispatchFromToolkit(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    m_messages.push_back({message, wParam, lParam, true, false});
    ++g_dispatchDepth;
    const LRESULT r = WindowProc(message, wParam, lParam);
    --g_dispatchDepth;
    const bool pass = m_messages.back().defaultRequested;
    m_messages.pop_back();
    if (result)
        *result = r;
    return pass;
}

LRESULT CWnd::Default()
{
    if (m_messages.empty())
        return 0;
    CurrentMessage& current = m_messages.back();
    if (current.fromToolkit)
    {
        current.defaultRequested = true;
        if (current.message != WM_ERASEBKGND && current.message != WM_CLOSE)
            return 0;
    }
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SYSCOMMAND:
        return tvsk::ui::DefaultSysCommand(this, wParam);
    case WM_HELP:
        return tvsk::ui::DefaultHelp(this, wParam, lParam);
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<CDC*>(wParam));
        return 1;
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SETCURSOR:
    {
        WNDCLASS wc;
        if (::GetClassInfo(m_className, &wc) && wc.hCursor)
            ::SetCursor(wc.hCursor);
        return 0;
    }
    default:
        return 0;
    }
}

void CWnd::EraseBackground(CDC* dc)
{
    if (!dc)
        return;
    COLORREF background = 0xFFFFFFFF;
    WNDCLASS wc;
    if (::GetClassInfo(m_className, &wc))
        background = wc.background;
    else if (m_className == kDialogClass)
        background = GetSysColor(COLOR_BTNFACE);
    if (background == 0xFFFFFFFF)
        return;
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, background);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return OnWndMsg(message, wParam, lParam);
}

LRESULT CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message)
    {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCT*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
               HIWORD(static_cast<DWORD_PTR>(lParam)));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), reinterpret_cast<CWnd*>(lParam), HIWORD(wParam));
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<CWnd*>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
                           HIWORD(static_cast<DWORD_PTR>(lParam)));
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), point);
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
                  HIWORD(static_cast<DWORD_PTR>(lParam)));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
                HIWORD(static_cast<DWORD_PTR>(lParam)));
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(static_cast<UINT>(wParam));
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
               HIWORD(static_cast<DWORD_PTR>(lParam)));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<CWnd*>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<CWnd*>(wParam));
        return 0;
    case WM_CANCELMODE:
        OnCancelMode();
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_HELP:
        return OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

int CWnd::OnCreate(CREATESTRUCT*)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseLeave()
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
UINT CWnd::OnGetDlgCode(UINT)
{
    return 0;
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}

LRESULT SendMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return wnd ? wnd->SendMessage(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return wnd ? wnd->PostMessage(message, wParam, lParam) : FALSE;
}
