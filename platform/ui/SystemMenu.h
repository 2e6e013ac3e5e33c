// A window's system menu: its items send WM_SYSCOMMAND with their id; shown on a context-menu
// request that reaches the window unanswered, and on Alt+Space.
#pragma once

#include "Menu.h"

// System commands of WM_SYSCOMMAND (the low four bits are the system's own)
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_KEYMENU = 0xF100;

namespace tvsk::ui
{
// Shows the window's system menu at a screen point; the chosen item is posted as WM_SYSCOMMAND.
void ShowSystemMenu(CWnd* wnd, CPoint screenPoint);
// The default handling of WM_SYSCOMMAND: SC_CLOSE closes the window.
LRESULT DefaultSysCommand(CWnd* wnd, WPARAM wParam);
} // namespace tvsk::ui
