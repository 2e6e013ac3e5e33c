#include "GraphTrackers.h"

#include <ui/HalftoneOutline.h>
#include <ui/MouseTrack.h>
#include <ui/Wnd.h>

#include <cstdlib>

void CWireTracker::MoveTo(CPoint mouse)
{
    if (!m_decided && mouse != m_start)
    {
        m_horizontalFirst = std::abs(mouse.x - m_start.x) >= std::abs(mouse.y - m_start.y);
        m_decided = true;
    }
    m_end = mouse;
}

void CWireTracker::GetPoints(POINT points[3]) const
{
    points[0] = m_start;
    points[1] = m_horizontalFirst ? POINT{m_end.x, m_start.y} : POINT{m_start.x, m_end.y};
    points[2] = m_end;
}

void CWireTracker::Draw(CDC* dc) const
{
    POINT points[3];
    GetPoints(points);
    DrawHalftonePath(dc, points, 3, 1);
}

namespace
{
int SnapTo(int value, int step)
{
    const int half = step / 2;
    return value >= 0 ? (value + half) / step : -((-value + half) / step);
}
} // namespace

bool CGraphDragTracker::Run(CWnd* wnd, CPoint mouse, int step, bool escapeKeeps)
{
    m_offset = CSize(0, 0);
    m_bOtherKey = false;
    bool cancelled = false;
    bool shown = false;
    auto show = [&](CSize offset)
    {
        CClientDC dc(wnd);
        Show(&dc, offset);
    };
    const BOOL ran = RunMouseTrackLoop(
        wnd,
        [&](const MOUSETRACK_MSG& msg)
        {
            switch (msg.message)
            {
            case WM_MOUSEMOVE:
            {
                const CSize snapped =
                    Snap(CSize(SnapTo(msg.point.x - mouse.x, step), SnapTo(msg.point.y - mouse.y, step)));
                if (snapped == m_offset && shown)
                    return true;
                if (shown)
                    show(m_offset);
                m_offset = snapped;
                show(m_offset);
                shown = true;
                return true;
            }
            case WM_LBUTTONUP:
            case WM_RBUTTONDOWN:
                return false;
            case WM_KEYDOWN:
                if (msg.key != VK_ESCAPE)
                {
                    m_bOtherKey = true;
                    return true;
                }
                cancelled = !escapeKeeps;
                return false;
            default:
                return true;
            }
        });
    if (shown)
        show(m_offset);
    if (!ran || cancelled)
    {
        m_offset = CSize(0, 0);
        return false;
    }
    return !(m_offset == CSize(0, 0)) && !m_bOtherKey;
}

bool CSegmentTracker::Track(CWnd* wnd, CPoint mouse, int step)
{
    m_step = std::max(1, step);
    return Run(wnd, mouse, m_step, true);
}

CSize CSegmentTracker::Snap(CSize moved) const
{
    // A horizontal segment moves up and down, a vertical one sideways.
    return m_from.y == m_to.y ? CSize(0, moved.cy) : CSize(moved.cx, 0);
}

void CSegmentTracker::Show(CDC* dc, CSize offset)
{
    const POINT points[2] = {{m_from.x + offset.cx * m_step, m_from.y + offset.cy * m_step},
                             {m_to.x + offset.cx * m_step, m_to.y + offset.cy * m_step}};
    DrawHalftonePath(dc, points, 2, 1);
}

bool CPointTracker::Track(CWnd* wnd, CPoint mouse, int step)
{
    m_step = std::max(1, step);
    return Run(wnd, mouse, m_step, false);
}

CSize CPointTracker::Snap(CSize moved) const
{
    return moved;
}

void CPointTracker::Show(CDC* dc, CSize offset)
{
    const CPoint at(m_point.x + offset.cx * m_step, m_point.y + offset.cy * m_step);
    DrawHalftoneFrame(dc, CRect(at.x - 3, at.y - 3, at.x + 3, at.y + 3));
}
