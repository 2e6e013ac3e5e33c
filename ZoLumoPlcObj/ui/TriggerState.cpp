// Painting of the status cell: the button-face strip, the coloured field, the sunken frame and the text.
#include "TriggerState.h"

#include <ui/Dc.h>

namespace
{
constexpr int DefaultWidth = 75;
constexpr int Height = 20;
constexpr UINT ControlId = 0xFFFF;
constexpr int StripWidth = 5; // button-face strip at the left edge
} // namespace

CTriggerState::~CTriggerState()
{
    DestroyWindow();
}

BOOL CTriggerState::Create(DWORD style, CWnd* parent, int width)
{
    m_dwStyle = style;
    const CRect rect(0, 0, width == -1 ? DefaultWidth : width, Height);
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, ControlId);
}

void CTriggerState::SetStatusArray(TRIG_STATE* table, int count)
{
    m_Rows.SetTable(table, count);
    SetInfo(0, 0, false);
}

void CTriggerState::SetInfo(int row, DWORD value, bool redraw)
{
    if (m_Rows.Select(row, value) && redraw)
        Invalidate(TRUE);
}

void CTriggerState::SetPosition(int x, int y)
{
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Invalidate(TRUE);
    UpdateWindow();
}

void CTriggerState::SetStyle(DWORD style)
{
    m_dwStyle = style;
    Invalidate(TRUE);
}

BOOL CTriggerState::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    CRect field = client;
    field.left += StripWidth;
    dc->FillSolidRect(&field, ShowsState() ? m_Rows.GetBackground() : GetSysColor(COLOR_BTNFACE));
    CRect strip = client;
    strip.right = strip.left + StripWidth;
    dc->FillSolidRect(&strip, GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CTriggerState::OnPaint()
{
    CPaintDC dc(this);
    CFont stock;
    stock.CreateStockObject(ANSI_VAR_FONT);
    LOGFONT logFont;
    stock.GetLogFont(&logFont);
    logFont.lfWeight = FW_BOLD;
    CFont bold;
    bold.CreateFontIndirect(&logFont);
    CFont* previous = dc.SelectObject(&bold);
    dc.SetBkMode(TRANSPARENT);
    if (ShowsState())
    {
        CRect rect;
        GetClientRect(&rect);
        rect.left += StripWidth;
        dc.Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        rect.top += 2;
        dc.SetTextColor(m_Rows.GetTextColour());
        dc.DrawText(m_Rows.GetText(), &rect, DT_CENTER | DT_VCENTER);
    }
    dc.SelectObject(previous);
}
