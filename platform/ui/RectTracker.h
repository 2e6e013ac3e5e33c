// A rectangle the user drags with the mouse: a rubber band from a point, or one edge or the whole
// rectangle moved, with halftone feedback, on the modal mouse-tracking loop.
#pragma once

#include "Wnd.h"

class CRectTracker
{
public:
    enum TrackerHit
    {
        hitNothing = -1,
        hitMiddle = 8,
        hitBottom = 6
    };
    // Pixels around the bottom edge that grab it.
    static constexpr int EdgeGrip = 3;

    CRectTracker() = default;
    explicit CRectTracker(const RECT* rect) : m_rect(*rect) {}

    // Where the point (window client coordinates) grabs the rectangle.
    int HitTest(CPoint point) const;
    // Moves the grabbed edge or the whole rectangle until the button is released; FALSE when
    // Escape ends it or nothing was grabbed. m_rect holds the result.
    BOOL Track(CWnd* wnd, CPoint point, BOOL allowInvert = FALSE, CWnd* clipTo = nullptr);
    // A new rectangle from the point to where the button is released; FALSE when Escape ends it
    // or it stays empty. Not normalised.
    BOOL TrackRubberBand(CWnd* wnd, CPoint point, BOOL allowInvert = TRUE);

    CRect m_rect;
    CSize m_sizeMin{1, 1};

private:
    BOOL TrackLoop(CWnd* wnd, CPoint point, int hit, BOOL allowInvert);
};
