// Command state updates routed through a window's update handlers.
#include "CmdUI.h"

#include "Controls.h"
#include "Wnd.h"

void CCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = true;
    if (m_pOther)
        m_pOther->EnableWindow(on);
}

void CCmdUI::SetCheck(int check)
{
    if (auto* button = dynamic_cast<CButton*>(m_pOther))
        button->SetCheck(check);
}

void CCmdUI::SetText(const char* text)
{
    if (m_pOther)
        m_pOther->SetWindowText(text);
}

BOOL CCmdUI::DoUpdate(CWnd* target, BOOL disableIfNoHandler)
{
    if (!target)
        return FALSE;
    m_bEnableChanged = false;
    const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (disableIfNoHandler && !m_bEnableChanged)
        Enable(target->HasCommandHandler(m_nID) ? TRUE : FALSE);
    return handled;
}
