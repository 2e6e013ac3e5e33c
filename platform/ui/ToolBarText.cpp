// Button texts and tool tips of a toolbar.
#include "ToolBar.h"

BOOL CToolBar::SetButtonText(int index, const char* text)
{
    if (index < 0 || index >= GetCount() || (m_buttons[static_cast<size_t>(index)].style & TBBS_SEPARATOR))
        return FALSE;
    m_buttons[static_cast<size_t>(index)].text = text ? text : "";
    SyncButton(index);
    return TRUE;
}

CString CToolBar::GetButtonText(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[static_cast<size_t>(index)].text : CString();
}

BOOL CToolBar::SetButtonToolTip(int index, const char* text)
{
    if (index < 0 || index >= GetCount() || (m_buttons[static_cast<size_t>(index)].style & TBBS_SEPARATOR))
        return FALSE;
    m_buttons[static_cast<size_t>(index)].toolTip = text ? text : "";
    SyncButton(index);
    return TRUE;
}

CString CToolBar::GetButtonToolTip(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[static_cast<size_t>(index)].toolTip : CString();
}
