// Minimum and maximum tracking size and the maximised rectangle of a resizable window.
#pragma once

#include <ui/UiDefs.h>

class CResizableMinMax
{
public:
    virtual ~CResizableMinMax() = default;

    void SetMinTrackSize(const CSize& size);
    void SetMaxTrackSize(const CSize& size);
    void SetMaximizedRect(const CRect& rect);
    void ResetMinTrackSize() { m_bUseMinTrack = FALSE; }
    void ResetMaxTrackSize() { m_bUseMaxTrack = FALSE; }
    void ResetMaximizedRect() { m_bUseMaxRect = FALSE; }
    // Writes only the values that are set.
    void MinMaxInfo(MINMAXINFO* info) const;

private:
    BOOL m_bUseMaxTrack = FALSE;
    BOOL m_bUseMinTrack = FALSE;
    BOOL m_bUseMaxRect = FALSE;
    POINT m_ptMinTrackSize;
    POINT m_ptMaxTrackSize;
    POINT m_ptMaxPos;
    POINT m_ptMaxSize;
};
