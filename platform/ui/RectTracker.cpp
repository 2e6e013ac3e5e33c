#include "RectTracker.h"

#include "Dc.h"
#include "HalftoneOutline.h"
#include "MouseTrack.h"

#include <algorithm>

int CRectTracker::HitTest(CPoint point) const
{
    CRect rect = m_rect;
    rect.NormalizeRect();
    if (point.x >= rect.left && point.x < rect.right && std::abs(point.y - rect.bottom) <= EdgeGrip)
        return hitBottom;
    return rect.PtInRect(point) ? hitMiddle : hitNothing;
}

BOOL CRectTracker::Track(CWnd* wnd, CPoint point, BOOL allowInvert, CWnd*)
{
    const int hit = HitTest(point);
    return hit == hitNothing ? FALSE : TrackLoop(wnd, point, hit, allowInvert);
}

BOOL CRectTracker::TrackRubberBand(CWnd* wnd, CPoint point, BOOL allowInvert)
{
    m_rect = CRect(point, point);
    return TrackLoop(wnd, point, -2, allowInvert);
}

BOOL CRectTracker::TrackLoop(CWnd* wnd, CPoint point, int hit, BOOL allowInvert)
{
    if (!wnd)
        return FALSE;
    const CRect start = m_rect;
    bool shown = false;
    auto feedback = [&]
    {
        CClientDC dc(wnd);
        CRect frame = m_rect;
        frame.NormalizeRect();
        DrawHalftoneFrame(&dc, frame);
        shown = !shown;
    };
    bool accepted = false;
    RunMouseTrackLoop(wnd,
                      [&](const MOUSETRACK_MSG& msg)
                      {
                          if (msg.message == WM_KEYDOWN && msg.key == VK_ESCAPE)
                              return false;
                          if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP)
                              return true;
                          if (shown)
                              feedback();
                          const CSize moved(msg.point.x - point.x, msg.point.y - point.y);
                          if (hit == hitMiddle)
                              m_rect = CRect(start.left + moved.cx, start.top + moved.cy,
                                             start.right + moved.cx, start.bottom + moved.cy);
                          else if (hit == hitBottom)
                              m_rect.bottom =
                                  std::max<LONG>(start.bottom + moved.cy, start.top + m_sizeMin.cy);
                          else
                          {
                              m_rect.right = msg.point.x;
                              m_rect.bottom = msg.point.y;
                              if (!allowInvert)
                              {
                                  m_rect.right = std::max(m_rect.right, m_rect.left);
                                  m_rect.bottom = std::max(m_rect.bottom, m_rect.top);
                              }
                          }
                          if (msg.message == WM_LBUTTONUP)
                          {
                              accepted = true;
                              return false;
                          }
                          feedback();
                          return true;
                      });
    if (shown)
        feedback();
    if (!accepted)
    {
        m_rect = start;
        return FALSE;
    }
    CRect normal = m_rect;
    normal.NormalizeRect();
    return hit == -2 ? !normal.IsRectEmpty() : m_rect != start;
}
