// What the control asks of its window; a control without a window has none.
#pragma once

#include <vector>

class CTrack4;

class GraphView
{
public:
    virtual ~GraphView() = default;
    // Rebuilds the drawing layers and repaints.
    virtual void Redraw() = 0;
    // Paints again over the layers as they are.
    virtual void Repaint() = 0;
    // Places the child windows again and redraws.
    virtual void Relayout() = 0;
    // One row a trace, from scratch.
    virtual void RebuildList() = 0;
    // Every row's cells again from its trace.
    virtual void RefreshList() = 0;
    virtual void SetBarColumns(bool shown) = 0;
    // Draws the newest samples onto the trace layer without rebuilding it.
    virtual void DrawNewSamples(int num) = 0;
    virtual void SetSliderPosition(long position) = 0;
    virtual void SetSliderRange(long max, long pageSize) = 0;
    // The traces of the selected list rows, in row order.
    virtual std::vector<CTrack4*> SelectedTracks() const = 0;
    virtual void SetDropTarget(bool enabled) = 0;
    // Prints the graph on one page; S_OK also when the user cancelled.
    virtual long Print() = 0;
};
