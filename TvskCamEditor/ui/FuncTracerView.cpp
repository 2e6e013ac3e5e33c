// Drawing and cursor of the cam graph.
#include <TvskCamEditor/ui/FuncTracerView.h>

#include <TvskCamEditor/model/CamTable.h>

#include <ui/Dc.h>
#include <ui/Gdi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
constexpr COLORREF kFrameColour = 0xC4C4C4;
constexpr COLORREF kValueColour = 0xFF0000;
constexpr COLORREF kFirstDiffColour = 0x0000FF;
constexpr COLORREF kSecondDiffColour = 0x000000;
constexpr COLORREF kCursorColour = 0x808080;
constexpr int kTopMargin = 20;
constexpr int kBottomMargin = 20;
constexpr int kRightMargin = 10;
constexpr int kPointGap = 4; // the cross-hair leaves this many pixels free around the point

CFont& LabelFont();

// Width of the longest 32-bit integer in the label font.
int LabelWidth()
{
    static int width = 0;
    if (width == 0)
    {
        CBitmap bitmap;
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(1, 1);
        dc.SelectObject(&bitmap);
        dc.SelectObject(&LabelFont());
        width = dc.GetTextExtent("-2147483648").cx;
    }
    return width;
}

CFont& LabelFont()
{
    static CFont font;
    if (!font.IsCreated())
        font.CreatePointFont(80, "Arial");
    return font;
}
} // namespace

CFuncTracerView::CFuncTracerView() = default;

void CFuncTracerView::ShowValues(bool show)
{
    m_bValues = show;
    Invalidate(FALSE);
}

void CFuncTracerView::ShowFirstDiff(bool show)
{
    m_bFirstDiff = show;
    Invalidate(FALSE);
}

void CFuncTracerView::ShowSecondDiff(bool show)
{
    m_bSecondDiff = show;
    Invalidate(FALSE);
}

bool CFuncTracerView::SetCursorMode(bool on)
{
    if (on && (!m_pTable || !m_pTable->IsComplete()))
        return false;
    m_bCursor = on;
    Invalidate(FALSE);
    return true;
}

void CFuncTracerView::SetCursor(int index)
{
    if (!m_pTable || m_pTable->GetCount() == 0)
        return;
    index = std::clamp(index, 0, m_pTable->GetCount() - 1);
    if (index == m_nCursor)
        return;
    InvalidateCursor(m_nCursor);
    m_nCursor = index;
    InvalidateCursor(m_nCursor);
}

CRect CFuncTracerView::PlotRect() const
{
    CRect client;
    GetClientRect(&client);
    CRect box(LabelWidth() + 60, kTopMargin, client.right - kRightMargin, client.bottom - kBottomMargin);
    if (box.right <= box.left)
        box.right = box.left + 1;
    if (box.bottom <= box.top)
        box.bottom = box.top + 1;
    return box;
}

CPoint CFuncTracerView::Map(const CRect& box, int count, int i, double v, double lo, double hi)
{
    const double xs = count > 1 ? static_cast<double>(box.Width()) / (count - 1) : 0.0;
    const double span = hi - lo;
    const double ys = span != 0.0 && std::isfinite(span) ? box.Height() / span : 0.0;
    const double y = std::clamp(box.bottom - (v - lo) * ys, -1e6, 1e6);
    return CPoint(box.left + static_cast<int>(std::lround(i * xs)), static_cast<int>(std::lround(y)));
}

double CFuncTracerView::Sample(Trace trace, int i) const
{
    const CAM_POINT& point = m_pTable->GetPointAt(i);
    return trace == Trace::Values      ? point.dValue
           : trace == Trace::FirstDiff ? point.dFirstDiff
                                       : point.dSecondDiff;
}

BOOL CFuncTracerView::OnEraseBkgnd(CDC* /*dc*/)
{
    return TRUE;
}

void CFuncTracerView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, 0xFFFFFF);
    const CRect box = PlotRect();
    DrawFrame(dc, box);
    if (!m_pTable || m_pTable->GetCount() == 0)
        return;
    if (m_bSecondDiff)
        DrawTrace(dc, box, Trace::SecondDiff, kSecondDiffColour);
    if (m_bFirstDiff)
        DrawTrace(dc, box, Trace::FirstDiff, kFirstDiffColour);
    if (m_bValues)
        DrawTrace(dc, box, Trace::Values, kValueColour);
    if (m_bCursor)
        DrawCursor(dc, box);
}

void CFuncTracerView::DrawFrame(CDC& dc, const CRect& box) const
{
    CPen pen(PS_SOLID, 1, kFrameColour);
    CPen* oldPen = dc.SelectObject(&pen);
    dc.MoveTo(box.left, box.top);
    dc.LineTo(box.right, box.top);
    dc.LineTo(box.right, box.bottom);
    dc.LineTo(box.left, box.bottom);
    dc.LineTo(box.left, box.top);
    dc.SelectObject(oldPen);
    if (!m_pTable)
        return;
    CFont* oldFont = dc.SelectObject(&LabelFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0x000000);
    CString text;
    const int count = m_pTable->GetCount();
    text.Format("%d", 0);
    dc.TextOut(box.left, box.bottom + 4, text);
    text.Format("%d", count > 0 ? count - 1 : 0);
    dc.TextOut(box.right - dc.GetTextExtent(text).cx, box.bottom + 4, text);
    const double lo = m_pTable->GetHost() ? m_pTable->GetMinValue() : 0.0;
    const double hi = m_pTable->GetHost() ? m_pTable->GetMaxValue() : 0.0;
    text.Format("%d", static_cast<int>(hi));
    dc.TextOut(box.left - dc.GetTextExtent(text).cx - 4, box.top - 6, text);
    text.Format("%d", static_cast<int>(lo));
    dc.TextOut(box.left - dc.GetTextExtent(text).cx - 4, box.bottom - 6, text);
    dc.SelectObject(oldFont);
}

void CFuncTracerView::DrawTrace(CDC& dc, const CRect& box, Trace trace, COLORREF colour) const
{
    const int count = m_pTable->GetCount();
    double lo = 0.0;
    double hi = 0.0;
    if (trace == Trace::Values && m_pTable->GetHost())
    {
        lo = m_pTable->GetMinValue();
        hi = m_pTable->GetMaxValue();
    }
    else
    {
        for (int i = 0; i < count; ++i)
        {
            lo = i ? std::min(lo, Sample(trace, i)) : Sample(trace, i);
            hi = i ? std::max(hi, Sample(trace, i)) : Sample(trace, i);
        }
        if (hi == lo)
            hi = lo + 1.0;
    }
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(Map(box, count, 0, Sample(trace, 0), lo, hi));
    for (int i = 1; i < count; ++i)
        dc.LineTo(Map(box, count, i, Sample(trace, i), lo, hi));
    dc.SelectObject(old);
}

void CFuncTracerView::DrawCursor(CDC& dc, const CRect& box) const
{
    const int count = m_pTable->GetCount();
    const double lo = m_pTable->GetHost() ? m_pTable->GetMinValue() : 0.0;
    const double hi = m_pTable->GetHost() ? m_pTable->GetMaxValue() : 1.0;
    const CPoint at = Map(box, count, m_nCursor, Sample(Trace::Values, m_nCursor), lo, hi);
    DottedLine(dc, CPoint(at.x, box.top), CPoint(at.x, at.y - kPointGap), kCursorColour);
    DottedLine(dc, CPoint(at.x, at.y + kPointGap), CPoint(at.x, box.bottom), kCursorColour);
    DottedLine(dc, CPoint(box.left, at.y), CPoint(at.x - kPointGap, at.y), kCursorColour);
    DottedLine(dc, CPoint(at.x + kPointGap, at.y), CPoint(box.right, at.y), kCursorColour);
    CString text;
    text.Format("%d: %d", m_nCursor, static_cast<int>(Sample(Trace::Values, m_nCursor)));
    CFont* oldFont = dc.SelectObject(&LabelFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0x000000);
    const int x = std::min(at.x + 4, static_cast<int>(box.right) - dc.GetTextExtent(text).cx);
    dc.TextOut(x, box.top - 16, text);
    dc.SelectObject(oldFont);
}

void CFuncTracerView::DottedLine(CDC& dc, CPoint from, CPoint to, COLORREF colour) const
{
    if (m_nRun <= 0)
    {
        CPen pen(PS_SOLID, 1, colour);
        CPen* old = dc.SelectObject(&pen);
        dc.MoveTo(from);
        dc.LineTo(to);
        dc.SelectObject(old);
        return;
    }
    const int length = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    const int dx = to.x > from.x ? 1 : to.x < from.x ? -1 : 0;
    const int dy = to.y > from.y ? 1 : to.y < from.y ? -1 : 0;
    const int period = m_nRun + std::max(m_nGap, 0);
    for (int k = 0; k <= length; ++k)
        if (k % period < m_nRun)
            dc.SetPixel(from.x + dx * k, from.y + dy * k, colour);
}

void CFuncTracerView::InvalidateCursor(int index)
{
    if (!m_pTable || index < 0 || index >= m_pTable->GetCount())
        return;
    const CRect box = PlotRect();
    const double lo = m_pTable->GetHost() ? m_pTable->GetMinValue() : 0.0;
    const double hi = m_pTable->GetHost() ? m_pTable->GetMaxValue() : 1.0;
    const CPoint at = Map(box, m_pTable->GetCount(), index, Sample(Trace::Values, index), lo, hi);
    // The vertical line with its label above the box, and the horizontal line.
    const CRect vertical(at.x - 2, 0, at.x + 200, box.bottom + 1);
    const CRect horizontal(box.left, at.y - 1, box.right + 1, at.y + 2);
    InvalidateRect(&vertical, FALSE);
    InvalidateRect(&horizontal, FALSE);
}

int CFuncTracerView::PointAt(CPoint point) const
{
    const CRect box = PlotRect();
    const int count = m_pTable ? m_pTable->GetCount() : 0;
    if (count < 2)
        return 0;
    const double step = static_cast<double>(box.Width()) / (count - 1);
    return std::clamp(static_cast<int>(std::lround((point.x - box.left) / step)), 0, count - 1);
}

void CFuncTracerView::OnLButtonDown(UINT /*flags*/, CPoint point)
{
    SetFocus();
    if (!m_bCursor)
        return;
    m_bDragging = true;
    SetCapture();
    SetCursor(PointAt(point));
}

void CFuncTracerView::OnLButtonUp(UINT /*flags*/, CPoint /*point*/)
{
    if (!m_bDragging)
        return;
    m_bDragging = false;
    ReleaseCapture();
}

void CFuncTracerView::OnMouseMove(UINT /*flags*/, CPoint point)
{
    if (m_bDragging)
        SetCursor(PointAt(point));
}

void CFuncTracerView::OnKeyDown(UINT key, UINT /*repeat*/, UINT /*flags*/)
{
    if (!m_bCursor)
        return;
    if (key == VK_LEFT)
        SetCursor(m_nCursor - 1);
    else if (key == VK_RIGHT)
        SetCursor(m_nCursor + 1);
}
