// A horizontal bar that splits its parent between an upper and a lower pane.
#pragma once

#include <ui/Wnd.h>

// Posted to the parent after the bar has been dragged.
constexpr UINT WM_SPLITTER_MOVED = WM_USER + 1000;

class CSplitterBar : public CWnd
{
public:
    enum DRAGFLAG
    {
        DRAG_ENTER = 0,
        DRAG_EXIT = 1,
        DRAG_MOVE = 2
    };

    // The bar's height in pixels (kBarHeight unless a user of the bar wants an easier grip).
    explicit CSplitterBar(int barHeight = kBarHeight);

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetPanes(CWnd* upper, CWnd* lower);
    void SetTopOffset(int offset) { m_nTopOffset = offset; }
    // Puts the bar across the middle of the parent and lays out the panes.
    void Size(long unused = 0);
    BOOL IsCursorOverSplitter(CPoint screenPoint) const;
    void DrawDraggingBar(CPoint point, DRAGFLAG flag);

    virtual BOOL RegisterWindowClass();
    virtual void GetParentClientRect(RECT* rect);
    virtual void GetParentWindowRect(RECT* rect);

    static constexpr int kBarHeight = 4;
    static constexpr int kMinPane = 60;

protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;

private:
    void MovePanes();
    CRect BarRectInParent() const;
    CRect ToParent(const CRect& rect) const;

    BOOL m_bDragging = FALSE;
    CRect m_rcDragLast; // last drawn, in the bar's client coordinates
    CRect m_rcDrag;
    CWnd* m_pUpper = nullptr;
    CWnd* m_pLower = nullptr;
    int m_nTopOffset = 0;
    const int m_nBarHeight;
};
