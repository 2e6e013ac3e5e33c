// Drawing of the diagnostics hex view.
#include "ComDBuff.h"

#include <ui/Dc.h>

#include <algorithm>

BOOL CComDBuff::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(nullptr, "ComDBuff", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CComDBuff::SetView(const BYTE* bytes, const BYTE* tags)
{
    std::copy_n(bytes, CPortSpy::VIEW_SIZE, m_bytes);
    std::copy_n(tags, CPortSpy::VIEW_SIZE, m_tags);
    Invalidate(TRUE);
}

COLORREF CComDBuff::TagColour(BYTE tag) noexcept
{
    switch (tag)
    {
    case SPY_RECEIVED:
        return ReceivedColour;
    case SPY_SENT:
        return SentColour;
    default:
        return EmptyColour;
    }
}

BOOL CComDBuff::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    CBrush grey(Background);
    dc->FillRect(&client, &grey);
    return TRUE;
}

void CComDBuff::OnPaint()
{
    CPaintDC dc(this);
    CFont font;
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New");
    CFont* previous = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < CPortSpy::VIEW_SIZE; ++i)
    {
        CString text;
        text.Format("%02X", m_bytes[i]);
        dc.SetTextColor(TagColour(m_tags[i]));
        dc.TextOut((i % CPortSpy::ROW_SIZE) * ColumnWidth, (i / CPortSpy::ROW_SIZE) * RowHeight, text);
    }
    dc.SelectObject(previous);
}
