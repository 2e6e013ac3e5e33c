// The graph control's window: the graph drawn from two layers, the trace list, the time-position
// slider and the splitter between graph and list; mouse, keys and drops become the control's events.
#pragma once

#include "GraphPainter.h"
#include "ZoGraphCtl4.h"

#include <ui/DragDrop.h>
#include <ui/ListCtrl.h>
#include <ui/SliderCtrl.h>
#include <ui/Wnd.h>

#include <memory>

// The splitter "ZoResize": dragged, it tells its parent how far (WM_USER+1, lParam the distance).
class CZoResize : public CWnd
{
public:
    static constexpr UINT kMovedMessage = WM_USER + 1;
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

protected:
    void OnPaint() override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    int m_startY = 0;
    bool m_dragging = false;
};

class GraphWnd : public CWnd, public GraphView
{
public:
    static constexpr UINT kListId = 1;
    static constexpr UINT kSliderId = 2;
    static constexpr UINT kSplitterId = 3;

    explicit GraphWnd(CZoGraphCtl4& control);
    ~GraphWnd() override;

    BOOL CreateGraph(CWnd* parent, const RECT& rect);

    // GraphView
    void Redraw() override;
    void Repaint() override;
    void Relayout() override;
    void RebuildList() override;
    void RefreshList() override;
    void SetBarColumns(bool shown) override;
    void DrawNewSamples(int num) override;
    void SetSliderPosition(long position) override;
    void SetSliderRange(long max, long pageSize) override;
    std::vector<CTrack4*> SelectedTracks() const override;
    void SetDropTarget(bool enabled) override;
    long Print() override;

    CListCtrl& List() noexcept { return m_list; }
    CSliderCtrl& Slider() noexcept { return m_slider; }
    CZoResize& Splitter() noexcept { return m_splitter; }
    // The window's picture as the next paint shows it.
    QImage Render();

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class DropTarget;

    void PlaceChildren();
    void MakeLayers(int width, int height);
    void RenderBackground();
    void RenderTraces();
    void Compose(CDC& target);
    LRESULT OnListNotify(NMHDR* header);
    void SetRowTexts(int row, const CTrack4& track);
    void EndDrags();

    CZoGraphCtl4& m_control;
    GraphPainter m_painter;
    CListCtrl m_list;
    CSliderCtrl m_slider;
    CZoResize m_splitter;
    std::unique_ptr<DropTarget> m_dropTarget;
    CBitmap m_background;
    CBitmap m_traces; // transparent where no trace is
    double m_layerRightTime = 0;
    bool m_layerHasTime = false;
    std::vector<TraceMarker> m_markers;
    int m_dragBar = 0;
    CTrack4* m_dragTrack = nullptr;
    int m_dragStartY = 0;
    double m_dragStartMin = 0;
    bool m_zooming = false;
    CRect m_zoom;
};
