// Tracking limits handed to the window system.
#include "ResizableMinMax.h"

void CResizableMinMax::SetMinTrackSize(const CSize& size)
{
    m_ptMinTrackSize = POINT{size.cx, size.cy};
    m_bUseMinTrack = TRUE;
}

void CResizableMinMax::SetMaxTrackSize(const CSize& size)
{
    m_ptMaxTrackSize = POINT{size.cx, size.cy};
    m_bUseMaxTrack = TRUE;
}

void CResizableMinMax::SetMaximizedRect(const CRect& rect)
{
    m_ptMaxPos = POINT{rect.left, rect.top};
    m_ptMaxSize = POINT{rect.Width(), rect.Height()};
    m_bUseMaxRect = TRUE;
}

void CResizableMinMax::MinMaxInfo(MINMAXINFO* info) const
{
    if (!info)
        return;
    if (m_bUseMinTrack)
        info->ptMinTrackSize = m_ptMinTrackSize;
    if (m_bUseMaxTrack)
        info->ptMaxTrackSize = m_ptMaxTrackSize;
    if (m_bUseMaxRect)
    {
        info->ptMaxPosition = m_ptMaxPos;
        info->ptMaxSize = m_ptMaxSize;
    }
}
