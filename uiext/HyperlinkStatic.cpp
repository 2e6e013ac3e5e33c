// Hyperlink painting, hover tracking and opening the address.
#include "HyperlinkStatic.h"

#include <ui/App.h>
#include <ui/Dc.h>

void CHyperlinkStatic::SetCaption(const CString& caption)
{
    m_strCaption = caption;
    m_bCaptionSizeKnown = 0;
    Invalidate();
}

void CHyperlinkStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    m_strCaption = GetWindowText();
}

void CHyperlinkStatic::CreateUnderlinedFont()
{
    if (m_bFontCreated)
        return;
    LOGFONT logFont;
    CWnd* parent = GetParent();
    CFont* parentFont = parent ? parent->GetFont() : nullptr;
    if (!parentFont || !parentFont->GetLogFont(&logFont))
    {
        CFont stock;
        stock.CreateStockObject(ANSI_VAR_FONT);
        stock.GetLogFont(&logFont);
    }
    logFont.lfUnderline = 1;
    m_fntUnderline.CreateFontIndirect(&logFont);
    m_bFontCreated = 1;
}

CRect CHyperlinkStatic::GetCaptionRect()
{
    if (!m_bFontCreated)
        return CRect();
    CRect client;
    GetClientRect(&client);
    if (!m_bCaptionSizeKnown)
    {
        CDC measure;
        measure.SelectObject(&m_fntUnderline);
        const CSize extent = measure.GetTextExtent(m_strCaption);
        m_nCaptionWidth = extent.cx;
        m_nCaptionHeight = extent.cy;
        m_bCaptionSizeKnown = 1;
    }
    const int left = client.left + (client.Width() - m_nCaptionWidth) / 2;
    return CRect(left, client.top, left + m_nCaptionWidth, client.bottom);
}

void CHyperlinkStatic::OnPaint()
{
    CPaintDC dc(this);
    CreateUnderlinedFont();
    CFont* old = dc.SelectObject(&m_fntUnderline);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_bHover ? kHoverColour : kLinkColour);
    CRect client;
    GetClientRect(&client);
    dc.DrawText(m_strCaption, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(old);
}

void CHyperlinkStatic::OnMouseMove(UINT, CPoint point)
{
    if (!m_bTracking)
    {
        TRACKMOUSEEVENT track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = this;
        m_bTracking = TrackMouseEvent(&track) ? 1 : 0;
        return;
    }
    const BYTE hover = GetCaptionRect().PtInRect(point) ? 1 : 0;
    if (hover != m_bHover)
    {
        m_bHover = hover;
        Invalidate();
    }
    ::SetCursor(hover ? m_hLinkCursor : m_hNormalCursor);
}

void CHyperlinkStatic::OnMouseLeave()
{
    m_bTracking = 0;
    ::SetCursor(m_hNormalCursor);
    m_bHover = 0;
    Invalidate();
}

void CHyperlinkStatic::OnLButtonDown(UINT, CPoint point)
{
    if (GetCaptionRect().PtInRect(point))
        ShellExecute(nullptr, "open", m_strHyperlink, nullptr, nullptr, SW_SHOWNORMAL);
}

void CHyperlinkStatic::OnDestroy()
{
    m_fntUnderline.DeleteObject();
    m_bFontCreated = 0;
    m_bCaptionSizeKnown = 0;
    CStatic::OnDestroy();
}
