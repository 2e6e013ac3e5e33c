// Toolbar controls in separators and command forwarding to the dialog.
#include "ToolBarDlg.h"

CToolBarDlg::CToolBarDlg() = default;

CToolBarDlg::~CToolBarDlg() = default;

CRect CToolBarDlg::MakeRoomFor(UINT id, int width, int& index)
{
    index = CommandToIndex(id);
    if (index < 0)
        return CRect();
    SetButtonInfo(index, id, TBBS_SEPARATOR, width);
    CRect rect;
    GetItemRect(index, &rect);
    return rect;
}

void CToolBarDlg::TakeFont(CWnd& control)
{
    if (!m_font.IsCreated())
    {
        CFont stock;
        stock.CreateStockObject(ANSI_VAR_FONT);
        LOGFONT logFont;
        stock.GetLogFont(&logFont);
        m_font.CreateFontIndirect(&logFont);
    }
    control.SetFont(&m_font);
}

int CToolBarDlg::CreateComboBox(UINT id, int width, int dropHeight)
{
    int index = -1;
    CRect rect = MakeRoomFor(id, width, index);
    if (index < 0)
        return 0;
    rect.top = 0;
    rect.bottom = dropHeight;
    if (!m_wndCombo.Create(WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, rect, this, id))
        return 0;
    TakeFont(m_wndCombo);
    return 1;
}

int CToolBarDlg::CreateEditBox(UINT id, int width)
{
    int index = -1;
    const CRect rect = MakeRoomFor(id, width, index);
    if (index < 0)
        return 0;
    if (!m_wndEdit.Create(WS_VISIBLE | WS_TABSTOP, rect, this, id))
        return 0;
    TakeFont(m_wndEdit);
    return 1;
}

CComboBox* CToolBarDlg::GetComboBox()
{
    return m_wndCombo.GetSafeHwnd() ? &m_wndCombo : nullptr;
}

BOOL CToolBarDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CWnd* parent = GetParent();
    if (parent && parent->SendMessage(WM_COMMAND, wParam, lParam))
        return TRUE;
    return CToolBar::OnCommand(wParam, lParam);
}
