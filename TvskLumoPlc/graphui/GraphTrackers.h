// Mouse trackers while a wire is drawn or moved: the rubber band of a new wire, and the modal
// drags of one segment and of one point.
#pragma once

#include <ui/Dc.h>

class CWnd;

// An L-shaped band of two legs from the start to the mouse; the first leg follows the axis of
// the first movement. The view draws it in its own drag loop.
class CWireTracker
{
public:
    explicit CWireTracker(CPoint start) : m_start(start), m_end(start) {}

    void MoveTo(CPoint mouse);
    // Start, corner and end in pixels.
    void GetPoints(POINT points[3]) const;
    // Inverts the band; drawing it again erases it.
    void Draw(CDC* dc) const;
    bool IsHorizontalFirst() const noexcept { return m_horizontalFirst; }

private:
    CPoint m_start;
    CPoint m_end;
    bool m_decided = false;
    bool m_horizontalFirst = true;
};

// Shared rules of the modal drags: the mouse is captured, positions snap to whole grid steps,
// the drag ends on left button up or right button down, and any key but Escape spoils it.
class CGraphDragTracker
{
public:
    virtual ~CGraphDragTracker() = default;
    bool WasOtherKeyPressed() const noexcept { return m_bOtherKey; }

protected:
    // Runs the loop from the mouse point; false when the drag was cancelled.
    bool Run(CWnd* wnd, CPoint mouse, int step, bool escapeKeeps);
    virtual void Show(CDC* dc, CSize offset) = 0;
    virtual CSize Snap(CSize moved) const = 0;

    CSize m_offset;
    bool m_bOtherKey = false;
};

// One segment moved across its own direction.
class CSegmentTracker : public CGraphDragTracker
{
public:
    CSegmentTracker(CPoint from, CPoint to) : m_from(from), m_to(to) {}
    // True when the segment moved and no other key was pressed; Escape keeps the move so far.
    bool Track(CWnd* wnd, CPoint mouse, int step);
    // The move in grid steps.
    CSize GetOffset() const noexcept { return m_offset; }

protected:
    void Show(CDC* dc, CSize offset) override;
    CSize Snap(CSize moved) const override;

private:
    CPoint m_from;
    CPoint m_to;
    int m_step = 1;
};

// One point, shown as a 6-pixel square.
class CPointTracker : public CGraphDragTracker
{
public:
    explicit CPointTracker(CPoint point) : m_point(point) {}
    // True when the point moved and no other key was pressed; Escape cancels.
    bool Track(CWnd* wnd, CPoint mouse, int step);
    CSize GetOffset() const noexcept { return m_offset; }

protected:
    void Show(CDC* dc, CSize offset) override;
    CSize Snap(CSize moved) const override;

private:
    CPoint m_point;
    int m_step = 1;
};
