// Drawing of a coloured label.
#include "ColourText.h"

#include <ui/Dc.h>

BOOL CColourText::Create(const char* text, COLORREF colour, const RECT& rect, CWnd* parent)
{
    m_colour = colour;
    return CWnd::Create(nullptr, text, WS_CHILD | WS_VISIBLE, rect, parent, 0xFFFF);
}

BOOL CColourText::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CColourText::OnPaint()
{
    CPaintDC dc(this);
    CFont* previous = dc.SelectObject(GetParent() ? GetParent()->GetFont() : nullptr);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_colour);
    CRect client;
    GetClientRect(&client);
    dc.DrawText(GetWindowText(), &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.SelectObject(previous);
}
