#include "GraphPainter.h"

#include "GraphImages.h"
#include "TraceRow.h"

#include <ui/Gdi.h>

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{

constexpr double kPixelLimit = 1.0e6;

// Far off the graph stays far off; a value that is no number lands at the left edge of the range.
double PixelRange(double value)
{
    return std::isnan(value) ? -kPixelLimit : std::clamp(value, -kPixelLimit, kPixelLimit);
}

LONG ToPixel(double value)
{
    return static_cast<LONG>(std::lround(PixelRange(value)));
}

// Collapses runs of points in one pixel column to their entry, extremes and exit.
void AppendDecimated(std::vector<POINT>& out, const std::vector<POINT>& in)
{
    size_t i = 0;
    while (i < in.size())
    {
        size_t j = i;
        LONG low = in[i].y;
        LONG high = in[i].y;
        while (j + 1 < in.size() && in[j + 1].x == in[i].x)
        {
            ++j;
            low = std::min(low, in[j].y);
            high = std::max(high, in[j].y);
        }
        const LONG x = in[i].x;
        for (const LONG y : {in[i].y, low, high, in[j].y})
            if (out.empty() || out.back().x != x || out.back().y != y)
                out.push_back({x, y});
        i = j + 1;
    }
}

CString Format(const char* format, double value)
{
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

CRect GraphPainter::GripRect(const CZoGraphCtl4& control, int bar)
{
    const CRect& g = control.Geometry().graph;
    const int at = control.BarPosition(bar);
    if (bar == 3)
        return CRect(g.right, at - 4, g.right + 10, at + 6);
    return CRect(at - 4, g.top - 10, at + 6, g.top);
}

void GraphPainter::DrawBackground(CDC& dc, std::vector<TraceMarker>* markers) const
{
    const GraphLayout& layout = m_control.Geometry();
    const CRect& g = layout.graph;
    dc.FillSolidRect(&layout.client, GetSysColor(COLOR_3DFACE));
    dc.FillSolidRect(&g, m_control.BackColor());
    if (m_control.GridOn() && g.Width() > 0 && g.Height() > 0)
    {
        CPen grid(PS_DOT, 1, m_control.GridColor());
        CPen* old = dc.SelectObject(&grid);
        for (int i = 1; i < 10; ++i)
        {
            const int y = g.top + static_cast<int>(i * layout.spacingY);
            dc.MoveTo(g.left + 1, y);
            dc.LineTo(g.right - 1, y);
            const int x = g.left + static_cast<int>(i * layout.spacingX);
            dc.MoveTo(x, g.top + 1);
            dc.LineTo(x, g.bottom - 1);
        }
        dc.SelectObject(old);
    }
    DrawAxes(dc);
    if (m_control.MarkersShown())
        DrawMarkers(dc, markers);
    DrawTimeTexts(dc);
}

void GraphPainter::DrawAxes(CDC& dc) const
{
    const GraphLayout& layout = m_control.Geometry();
    const CRect& g = layout.graph;
    CPen pen(PS_SOLID, layout.factor > 1 ? Scaled(1) / 4 + 1 : 1, m_control.GraphColor());
    CPen* old = dc.SelectObject(&pen);
    CBrush hollow;
    hollow.CreateStockObject(NULL_BRUSH);
    CBrush* oldBrush = dc.SelectObject(&hollow);
    dc.Rectangle(g.left, g.top, g.right + 1, g.bottom + 1);
    dc.SelectObject(oldBrush);

    const double tick = layout.spacingX / 10.0;
    for (int i = 0; i <= 100 && tick > 0; ++i)
    {
        const int x = g.left + static_cast<int>(i * tick);
        dc.MoveTo(x, g.bottom);
        dc.LineTo(x, g.bottom + Scaled(i % 5 == 0 ? 5 : 2));
    }
    const bool halfRows = layout.spacingY / 5.0 < Scaled(4);
    const int ticksPerRow = halfRows ? 2 : 5;
    const double rowTick = layout.spacingY / ticksPerRow;
    for (int i = 0; i <= 10 * ticksPerRow && rowTick > 0; ++i)
    {
        const int y = g.top + static_cast<int>(i * rowTick);
        const int length = Scaled(i % ticksPerRow == 0 ? 5 : 3);
        dc.MoveTo(g.left, y);
        dc.LineTo(g.left - length, y);
        dc.MoveTo(g.right, y);
        dc.LineTo(g.right + length, y);
    }
    for (const int x : {g.left, g.right})
    {
        dc.MoveTo(x, g.bottom);
        dc.LineTo(x, g.bottom + Scaled(5));
    }
    dc.SelectObject(old);
}

void GraphPainter::DrawMarkers(CDC& dc, std::vector<TraceMarker>* markers) const
{
    const CRect& g = m_control.Geometry().graph;
    const int height = g.Height();
    for (CTrack4* track : m_control.Tracks().Tracks())
    {
        const double scale = track->Scale();
        if (!track->Shown() || height <= 0 || scale == 0 || !std::isfinite(scale))
            continue;
        const double zero = g.bottom - (track->Offset() - track->Min()) / (scale / height);
        if (std::isnan(zero))
            continue;
        const int far = g.left - Scaled(25);
        const int near = g.left - Scaled(5);
        const int half = Scaled(5);
        std::vector<POINT> shape;
        if (zero < g.top)
            shape = {{far, g.top + half}, {near, g.top + half}, {(far + near) / 2, g.top - half}};
        else if (zero > g.bottom)
            shape = {{far, g.bottom - half}, {near, g.bottom - half}, {(far + near) / 2, g.bottom + half}};
        else
        {
            const int y = static_cast<int>(zero);
            shape = {{far, y - half},
                     {near - half, y - half},
                     {near, y},
                     {near - half, y + half},
                     {far, y + half}};
        }
        CPen pen(PS_SOLID, 1, 0);
        CBrush brush(track->Color());
        CPen* oldPen = dc.SelectObject(&pen);
        CBrush* oldBrush = dc.SelectObject(&brush);
        dc.Polygon(shape.data(), static_cast<int>(shape.size()));
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        if (markers)
        {
            CRect box(shape.front().x, shape.front().y, shape.front().x, shape.front().y);
            for (const POINT& p : shape)
                box = CRect(std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x + 1),
                            std::max(box.bottom, p.y + 1));
            markers->push_back({track, box});
        }
    }
}

void GraphPainter::DrawTimeTexts(CDC& dc) const
{
    if (!m_control.TimeScaleShown())
        return;
    const GraphLayout& layout = m_control.Geometry();
    const CRect& g = layout.graph;
    const float xScale = m_control.XScaleValue();
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_control.GraphColor());

    // The device context's current font at four times its height and width.
    LOGFONT current{};
    dc.GetCurrentFont()->GetLogFont(&current);
    current.lfHeight *= 4;
    current.lfWidth *= 4;
    current.lfWeight = FW_NORMAL;
    CFont big;
    big.CreateFontIndirect(&current);
    CFont* old = dc.SelectObject(&big);
    const CString scaleText =
        xScale != 0 ? Format("t/div : %.03f", m_control.TimeDivValue() / xScale) : CString("t/div : ...");
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    // Clear of the trigger mark that stands at the left edge when the trigger is out of view.
    dc.TextOut(g.left + Scaled(18), g.top + Scaled(2), scaleText);

    CFont small;
    small.CreateFont(-Scaled(11), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    dc.SelectObject(&small);
    const CTrack4* first = m_control.Tracks().At(0);
    double right = 0;
    CString leftText = "...";
    CString rightText = "...";
    if (first && xScale != 0 && m_control.RightEdgeTime(*first, right))
    {
        // The left edge lies ViewRange before the right one (10 x TimeDiv once either was set).
        leftText = Format("%g", (right - m_control.ViewRangeValue()) / xScale);
        rightText = Format("%g", right / xScale);
    }
    const int boxHalf = Scaled(40);
    const int top = g.bottom + Scaled(6);
    CRect leftBox(g.left - boxHalf, top, g.left + boxHalf, top + Scaled(20));
    CRect rightBox(g.right - boxHalf, top, g.right + boxHalf, top + Scaled(20));
    dc.DrawText(leftText, &leftBox, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    dc.DrawText(rightText, &rightBox, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(old);
}

void GraphPainter::DrawTraces(CDC& dc) const
{
    for (const CTrack4* track : m_control.Tracks().DrawOrder())
    {
        const long newest = m_control.RightEdgeAge(*track);
        if (track->Shown() && newest >= 0)
            DrawTrace(dc, *track, newest, track->Buffer().SamplesNum() - 1, 0);
    }
}

void GraphPainter::DrawNewSamples(CDC& dc, int num, double residual) const
{
    for (const CTrack4* track : m_control.Tracks().DrawOrder())
    {
        const long newest = m_control.RightEdgeAge(*track);
        if (!track->Shown() || newest < 0)
            continue;
        const long oldest = std::min<long>(newest + std::max(num, 0), track->Buffer().SamplesNum() - 1);
        DrawTrace(dc, *track, newest, oldest, residual);
    }
}

void GraphPainter::DrawTrace(CDC& dc, const CTrack4& track, long newestAge, long oldestAge,
                             double rightShift) const
{
    const GraphLayout& layout = m_control.Geometry();
    const CRect& g = layout.graph;
    const double scale = track.Scale();
    const double step = m_control.TimeStep();
    // A trace without a range, or a graph of no height, has nothing to show.
    if (g.Height() <= 0 || scale == 0 || !std::isfinite(scale) || !(step > 0) || !std::isfinite(track.Min()))
        return;
    const double valueStep = scale / g.Height();
    const double base = track.Min() - track.Offset();
    const TraceBuffer& buffer = track.Buffer();
    const double rightTime = buffer.Time(buffer.SlotOfAge(newestAge));
    const bool printing = layout.factor > 1;

    CPen pen(PS_SOLID, printing ? 5 : 1, track.Color());
    CBrush brush(track.Color());
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(g.left - 1, g.top - 1, g.right + 2, g.bottom + 2);

    std::vector<POINT> raw;
    std::vector<POINT> line;
    std::vector<POINT> samples;
    auto flush = [&]()
    {
        AppendDecimated(line, raw);
        if (line.size() > 1)
            dc.Polyline(line.data(), static_cast<int>(line.size()));
        else if (line.size() == 1)
            dc.SetPixel(line[0].x, line[0].y, track.Color());
        raw.clear();
        line.clear();
    };
    for (long age = newestAge; age <= oldestAge; ++age)
    {
        const long slot = buffer.SlotOfAge(age);
        const double value = buffer.Value(slot);
        if (value == TraceBuffer::kEmptyMark)
        {
            flush();
            continue;
        }
        const double x = g.right - (rightTime - buffer.Time(slot)) / step - rightShift;
        const POINT p{ToPixel(x), ToPixel(g.bottom - (value - base) / valueStep)};
        if (track.Digital() && !raw.empty())
            raw.push_back({raw.back().x, p.y});
        raw.push_back(p);
        if (m_control.AcquisitionsShown())
            samples.push_back(p);
        if (x < g.left)
            break;
    }
    flush();
    const int radius = printing ? Scaled(1) : 2;
    for (const POINT& p : samples)
        dc.Ellipse(p.x - radius, p.y - radius, p.x + radius + 1, p.y + radius + 1);
    dc.RestoreDC(saved);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void GraphPainter::DrawMarks(CDC& dc) const
{
    const GraphLayout& layout = m_control.Geometry();
    const CRect& g = layout.graph;
    const CTrack4* first = m_control.Tracks().At(0);
    if (m_control.TriggerShown() && first)
    {
        double right = 0;
        const double step = m_control.TimeStep();
        UINT image = IDB_TRIGGER;
        double x = g.left;
        if (m_control.RightEdgeTime(*first, right) && step > 0)
            x = PixelRange(g.right - (right - m_control.TriggerPosValue()) / step);
        int left = static_cast<int>(x) - Scaled(13) / 2;
        if (x < g.left)
        {
            image = IDB_TRIGGER_LEFT;
            left = g.left;
        }
        else if (x > g.right)
        {
            image = IDB_TRIGGER_RIGHT;
            left = g.right - Scaled(13);
        }
        dc.DrawImage(left, g.top, Scaled(13), Scaled(9), GraphImage(image));
    }
    if (m_control.UserStringsShown())
    {
        CFont font;
        font.CreateFont(-Scaled(11), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
        CFont* old = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        for (const CDescString4* string : m_control.UserStrings())
        {
            const UINT align = string->Align() == 0 ? TA_LEFT : (string->Align() == 2 ? TA_RIGHT : TA_CENTER);
            dc.SetTextAlign(align | TA_TOP);
            dc.SetTextColor(string->Color());
            dc.TextOut(g.left + Scaled(string->X()), g.top + Scaled(string->Y()), string->Text().c_str());
        }
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        dc.SelectObject(old);
    }
    if (m_control.BarsOn())
    {
        const COLORREF colours[3] = {kBar1Colour, kBar2Colour, kBar3Colour};
        const UINT grips[3] = {IDB_GRIP_BAR1, IDB_GRIP_BAR2, IDB_GRIP_BAR3};
        for (int bar = 1; bar <= 3; ++bar)
        {
            CPen pen(PS_DOT, layout.factor > 1 ? Scaled(1) / 4 + 1 : 1, colours[bar - 1]);
            CPen* old = dc.SelectObject(&pen);
            const int at = m_control.BarPosition(bar);
            if (bar == 3)
            {
                dc.MoveTo(g.left, at);
                dc.LineTo(g.right, at);
            }
            else
            {
                dc.MoveTo(at, g.top);
                dc.LineTo(at, g.bottom);
            }
            dc.SelectObject(old);
            const CRect grip = GripRect(m_control, bar);
            dc.DrawImage(grip.left, grip.top, grip.Width(), grip.Height(), GraphImage(grips[bar - 1]));
        }
    }
}

void GraphPainter::DrawZoom(CDC& dc, const CRect& zoom) const
{
    CPen pen(PS_SOLID, 1, m_control.GraphColor());
    CBrush hollow;
    hollow.CreateStockObject(NULL_BRUSH);
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&hollow);
    dc.Rectangle(&zoom);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void GraphPainter::DrawListTable(CDC& dc, int top, int width) const
{
    CFont font;
    font.CreateFont(-16 * 4, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    CFont* old = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0);
    const auto& tracks = m_control.Tracks().Tracks();
    std::vector<std::array<std::string, kTraceColumnCount>> rows;
    for (const CTrack4* track : tracks)
        rows.push_back(TraceRowTexts(*track));

    std::array<double, kTraceColumnCount> widths{};
    double total = 0;
    for (int c = 0; c < kTraceColumnCount; ++c)
    {
        int widest = dc.GetTextExtent(kTraceColumns[c].heading).cx;
        for (const auto& row : rows)
            widest = std::max(widest, static_cast<int>(dc.GetTextExtent(row[c].c_str()).cx));
        widths[c] = widest + 10;
        total += widths[c];
    }
    if (total > 0 && total < width)
        for (double& w : widths)
            w *= width / total;

    const int rowHeight = dc.GetTextExtent("Ag").cy;
    CPen rule(PS_SOLID, 3, 0);
    CPen* oldPen = dc.SelectObject(&rule);
    dc.MoveTo(20, top);
    dc.LineTo(width - 40, top);
    const int headerBottom = top + rowHeight + 10;
    dc.MoveTo(20, headerBottom);
    dc.LineTo(width - 40, headerBottom);
    dc.SelectObject(oldPen);

    const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
    double left = 0;
    for (int c = 0; c < kTraceColumnCount; ++c)
    {
        const int x = static_cast<int>(left);
        const int w = static_cast<int>(widths[c]);
        CRect header(x + 5, top + 5, x + w - 5, headerBottom);
        dc.DrawText(kTraceColumns[c].heading, &header, format);
        for (size_t r = 0; r < rows.size(); ++r)
        {
            const int y = headerBottom + 10 + static_cast<int>(r) * rowHeight;
            if (c == kColourColumn)
            {
                CRect swatch(x + 10, y + 2, x + w - 10, y + rowHeight - 2);
                dc.FillSolidRect(&swatch, tracks[r]->Color());
                continue;
            }
            CRect cell(x + 5, y, x + w - 5, y + rowHeight);
            dc.DrawText(rows[r][c].c_str(), &cell, format);
        }
        left += widths[c];
    }
    dc.SelectObject(old);
}
