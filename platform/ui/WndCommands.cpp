// Command routing: handlers mapped by id and notification, update handlers, dialog controls' state.
#include "WndInternal.h"

#include "CmdUI.h"

void CWnd::MapCommand(UINT id, std::function<void()> handler, WORD notifyCode)
{
    m_commands[{id, notifyCode}] = std::move(handler);
}

void CWnd::MapUpdateCommandUI(UINT id, std::function<void(CCmdUI*)> handler)
{
    m_updateHandlers[id] = std::move(handler);
}

BOOL CWnd::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (code == CN_UPDATE_COMMAND_UI)
    {
        const auto it = m_updateHandlers.find(id);
        if (it == m_updateHandlers.end() || !cmdUI)
            return FALSE;
        it->second(cmdUI);
        return TRUE;
    }
    const auto it = m_commands.find({id, static_cast<WORD>(code)});
    if (it == m_commands.end())
        return FALSE;
    // The handler may unmap itself: run a copy.
    const std::function<void()> handler = it->second;
    handler();
    return TRUE;
}

bool CWnd::HasCommandHandler(UINT id) const
{
    return m_commands.count({id, static_cast<WORD>(0)}) != 0;
}

void CWnd::UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler)
{
    if (!m_widget || !target)
        return;
    const auto children = m_widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
    {
        CWnd* control = FromWidget(child);
        if (!control || control->GetDlgCtrlID() == 0 || !(control->m_style & WS_CHILD))
            continue;
        CCmdUI state;
        state.m_nID = static_cast<UINT>(control->GetDlgCtrlID());
        state.m_pOther = control;
        // Static texts and group boxes carry no command.
        if (control->m_className == "Static" ||
            (control->m_className == "Button" && (control->m_style & BS_TYPEMASK) == BS_GROUPBOX))
            continue;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr);
}
