// The cam drawn as a graph: values, first and second differences, and a cursor on one point.
#pragma once

#include <TvskCamEditor/model/FuncTracerDoc.h>

#include <ui/Wnd.h>

class CCamTable;

class CFuncTracerView : public CWnd
{
public:
    CFuncTracerView();

    // The table drawn and traced into (not owned).
    void SetTable(CCamTable* table) noexcept { m_pTable = table; }
    CFuncTracerDoc& GetDocument() noexcept { return m_Doc; }

    void ShowValues(bool show);
    void ShowFirstDiff(bool show);
    void ShowSecondDiff(bool show);
    bool IsFirstDiffShown() const noexcept { return m_bFirstDiff; }
    bool IsSecondDiffShown() const noexcept { return m_bSecondDiff; }
    // The cursor is shown only while every point of the table is defined.
    bool SetCursorMode(bool on);
    bool IsCursorMode() const noexcept { return m_bCursor; }
    int GetCursor() const noexcept { return m_nCursor; }
    void SetCursor(int index);
    // Dotted cross-hair: runs of set pixels and gaps; a run of 0 draws solid lines.
    void SetDots(int run, int gap) noexcept { m_nRun = run, m_nGap = gap; }

    // The axis box in client coordinates.
    CRect PlotRect() const;
    // Pixel of point i with value v inside box, between lo and hi.
    static CPoint Map(const CRect& box, int count, int i, double v, double lo, double hi);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;

private:
    enum class Trace
    {
        Values,
        FirstDiff,
        SecondDiff
    };
    void DrawFrame(CDC& dc, const CRect& box) const;
    void DrawTrace(CDC& dc, const CRect& box, Trace trace, COLORREF colour) const;
    void DrawCursor(CDC& dc, const CRect& box) const;
    void DottedLine(CDC& dc, CPoint from, CPoint to, COLORREF colour) const;
    double Sample(Trace trace, int i) const;
    int PointAt(CPoint point) const;
    void InvalidateCursor(int index);

    CFuncTracerDoc m_Doc;
    CCamTable* m_pTable = nullptr;
    bool m_bValues = true;
    bool m_bFirstDiff = false;
    bool m_bSecondDiff = false;
    bool m_bCursor = false;
    bool m_bDragging = false;
    int m_nCursor = 0;
    int m_nRun = 2;
    int m_nGap = 2;
};
