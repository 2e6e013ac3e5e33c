// Draws the graph control's layers on a device context: background, traces, marks and the printed list.
#pragma once

#include "ZoGraphCtl4.h"

#include <ui/Dc.h>

#include <vector>

// A trace's zero marker on the left margin, for the drag of a trace.
struct TraceMarker
{
    CTrack4* track;
    CRect rect;
};

class GraphPainter
{
public:
    explicit GraphPainter(const CZoGraphCtl4& control) : m_control(control) {}

    // Margins, graph colour, grid, axes, the trace markers (their rectangles into markers) and time texts.
    void DrawBackground(CDC& dc, std::vector<TraceMarker>* markers) const;
    // Every shown trace in draw order, each with its newest sample at the right edge.
    void DrawTraces(CDC& dc) const;
    // The newest num samples of every shown trace, the right edge `residual` pixels past the layer's.
    void DrawNewSamples(CDC& dc, int num, double residual) const;
    // Trigger mark, user strings and measure bars, as the control's settings ask.
    void DrawMarks(CDC& dc) const;
    void DrawZoom(CDC& dc, const CRect& zoom) const;
    // The trace list as a table from top down, across width.
    void DrawListTable(CDC& dc, int top, int width) const;

    // The grip square of a measure bar (1, 2 vertical; 3 horizontal).
    static CRect GripRect(const CZoGraphCtl4& control, int bar);

private:
    void DrawTrace(CDC& dc, const CTrack4& track, long newestAge, long oldestAge, double rightShift) const;
    void DrawAxes(CDC& dc) const;
    void DrawMarkers(CDC& dc, std::vector<TraceMarker>* markers) const;
    void DrawTimeTexts(CDC& dc) const;
    int Scaled(int size) const { return m_control.Geometry().Scaled(size); }

    const CZoGraphCtl4& m_control;
};
