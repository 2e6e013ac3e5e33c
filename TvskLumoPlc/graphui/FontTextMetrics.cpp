#include "FontTextMetrics.h"

CFontTextMetrics::CFontTextMetrics()
{
    m_dc.CreateCompatibleDC(nullptr);
    m_surface.CreateBitmap(1, 1);
    m_dc.SelectObject(&m_surface);
}

bool CFontTextMetrics::SetFont(int size, const char* face)
{
    m_normal.DeleteObject();
    m_bold.DeleteObject();
    m_extents.clear();
    if (!m_normal.CreatePointFont(size, face))
        return false;
    LOGFONT bold;
    m_normal.GetLogFont(&bold);
    bold.lfWeight = 900;
    return m_bold.CreateFontIndirect(&bold) != FALSE;
}

int CFontTextMetrics::GetTextHeight() const
{
    if (!HasFont())
        return 0;
    m_dc.SelectObject(const_cast<CFont*>(&m_normal));
    TEXTMETRIC metrics{};
    m_dc.GetTextMetrics(&metrics);
    return metrics.tmHeight;
}

CSize CFontTextMetrics::GetTextExtent(const char* text, bool bold) const
{
    if (!HasFont())
        return {0, 0};
    m_dc.SelectObject(const_cast<CFont*>(bold ? &m_bold : &m_normal));
    return m_dc.GetTextExtent(text ? text : "");
}
