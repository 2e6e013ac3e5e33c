#include "GridEditors.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include <cstring>

bool GridEditAccepts(UINT ch, bool numericOnly)
{
    if (!numericOnly || ch < 0x20 || ch == 0x7F)
        return true;
    return (ch >= '0' && ch <= '9') || (ch < 0x80 && std::strchr("+-.Ee", static_cast<int>(ch)) != nullptr);
}

LRESULT CGridEditBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* edit = qobject_cast<QLineEdit*>(GetWidget());
    switch (message)
    {
    case WM_COPY:
        if (edit)
            edit->copy();
        return 0;
    case WM_CUT:
        if (edit)
            edit->cut();
        return 0;
    case WM_PASTE:
        if (edit)
            edit->paste();
        return 0;
    default:
        return CEdit::WindowProc(message, wParam, lParam);
    }
}

void CGridEditBox::OnKeyDown(UINT key, UINT, UINT)
{
    CWnd* grid = GetParent();
    if (grid && grid->SendMessage(WM_EG_KEY, key, 0))
        return;
    Default();
}

void CGridEditBox::OnChar(UINT ch, UINT, UINT)
{
    if (GridEditAccepts(ch, m_numericOnly))
        Default();
}

void CGridEditBox::OnKillFocus(CWnd*)
{
    Default();
    if (CWnd* grid = GetParent())
        grid->SendMessage(WM_EG_KILLFOCUS);
}

void CGridComboBox::OnKeyDown(UINT key, UINT, UINT)
{
    // With the list dropped down the keys choose entries.
    const auto* combo = qobject_cast<QComboBox*>(GetWidget());
    const bool listClosed = !combo || !combo->view()->isVisible();
    CWnd* grid = GetParent();
    if (listClosed && grid && grid->SendMessage(WM_EG_KEY, key, 0))
        return;
    Default();
}

void CGridOptionButton::OnLButtonDown(UINT, CPoint)
{
    if (CWnd* grid = GetParent())
        grid->SendMessage(WM_EG_OPTIONCLICK);
}
